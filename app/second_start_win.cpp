#include "app/second_start_win.h"

#include <climits>
#include <optional>

#include "win/guard_win.h"
#include "win/window_win.h"

namespace quillet {

namespace {

constexpr const char* kTitle = "TeX Quillet";
// Posted to itself: the requests taken wait for the message loop.
constexpr UINT kServeRequests = WM_APP + 1;

std::wstring WideOf(const std::string& text, UINT code_page) {
  int n = MultiByteToWideChar(code_page, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(code_page, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
  return wide;
}

std::string NarrowOf(const std::wstring& wide, UINT code_page) {
  int n = WideCharToMultiByte(code_page, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string text(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(code_page, 0, wide.data(), static_cast<int>(wide.size()), text.data(), n, nullptr, nullptr);
  return text;
}

// Wine's drive mapping read backwards; none on Windows, where no name is a Unix name.
std::optional<std::string> DosNameOfUnix(const std::string& name) {
  using Convert = WCHAR*(CDECL*)(const char*);
  static const auto convert =
      reinterpret_cast<Convert>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_dos_file_name")));
  if (!convert) return std::nullopt;
  // The command line came in code page 932; Wine takes Unix names in UTF-8.
  WCHAR* dos_name = convert(NarrowOf(WideOf(name, CP_ACP), CP_UTF8).c_str());
  if (!dos_name) return std::nullopt;
  std::string result = NarrowOf(dos_name, CP_ACP);
  HeapFree(GetProcessHeap(), 0, dos_name);
  return result;
}

}  // namespace

std::string WindowsFileName(const std::string& name) {
  std::string windows = IsUnixFileName(name) ? DosNameOfUnix(name).value_or(name) : name;
  char full[MAX_PATH];
  DWORD n = GetFullPathNameA(windows.c_str(), MAX_PATH, full, nullptr);
  return n && n < MAX_PATH ? std::string(full, n) : windows;
}

bool HandOverLineRequest(const LineRequest& request) {
  HWND running = FindWindowA(kLineRequestClass, kTitle);
  if (!running) return false;
  DWORD process = 0;
  GetWindowThreadProcessId(running, &process);
  AllowSetForegroundWindow(process);  // it brings its main window to the front
  COPYDATASTRUCT data{static_cast<ULONG_PTR>(request.line), static_cast<DWORD>(request.file.size()),
                      const_cast<char*>(request.file.data())};
  DWORD_PTR taken = 0;
  return SendMessageTimeoutA(running, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG, 5000,
                             &taken) &&
         taken;
}

LineRequestWindow::~LineRequestWindow() {
  if (hwnd_) DestroyWindow(hwnd_);
}

bool LineRequestWindow::Create(Handler handler) {
  handler_ = std::move(handler);
  WNDCLASSA wc{};
  wc.lpfnWndProc = Proc;
  wc.hInstance = AppInstance();
  wc.lpszClassName = kLineRequestClass;
  if (!RegisterClassA(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
  hwnd_ = CreateWindowExA(0, kLineRequestClass, kTitle, WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, AppInstance(), this);
  return hwnd_ != nullptr;
}

bool LineRequestWindow::Take(const COPYDATASTRUCT& data) {
  if (data.dwData == 0 || data.dwData > INT_MAX || data.cbData == 0 || !data.lpData) return false;
  waiting_.push_back({static_cast<int>(data.dwData), std::string(static_cast<const char*>(data.lpData), data.cbData)});
  PostMessageA(hwnd_, kServeRequests, 0, 0);
  return true;
}

LRESULT CALLBACK LineRequestWindow::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams));
  }
  auto* self = reinterpret_cast<LineRequestWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (self && msg == WM_COPYDATA) {
    return Guarded(hwnd, LRESULT{FALSE}, [&] { return LRESULT{self->Take(*reinterpret_cast<COPYDATASTRUCT*>(lp))}; });
  }
  if (self && msg == kServeRequests) {
    Guarded(hwnd, 0, [&] {
      std::vector<LineRequest> requests = std::move(self->waiting_);
      self->waiting_.clear();
      for (const LineRequest& request : requests) self->handler_(request);
      return 0;
    });
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

}  // namespace quillet
