// The reference for start-up timings: the least a Win32 program with a window does. Its
// window has the size TeX Quillet starts with (the whole screen) unless told "small".
#include <windows.h>

static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcA(hwnd, msg, wp, lp);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR command_line, int show) {
  bool small = lstrcmpA(command_line, "small") == 0;
  WNDCLASSA wc{};
  wc.lpfnWndProc = Proc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = "MinimalWindow";
  RegisterClassA(&wc);
  int width = small ? 640 : GetSystemMetrics(SM_CXSCREEN), height = small ? 480 : GetSystemMetrics(SM_CYSCREEN);
  HWND hwnd = CreateWindowA("MinimalWindow", "Minimal", WS_OVERLAPPEDWINDOW, 0, 0, width, height, nullptr, nullptr,
                            instance, nullptr);
  ShowWindow(hwnd, show);
  UpdateWindow(hwnd);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}
