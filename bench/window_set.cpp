// The second reference for start-up timings: the windows TeX Quillet makes at start-up and
// nothing else. It tells what the platform charges for that window set, so the start-up
// benchmark can show how much of Quillet's time is its own.
#include <windows.h>
#include <commctrl.h>

namespace {

HINSTANCE g_instance;
HFONT g_font;
HWND g_client;

LRESULT CALLBACK FrameProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_DESTROY) PostQuitMessage(0);
  return DefFrameProcA(hwnd, g_client, msg, wp, lp);
}

LRESULT CALLBACK SplashProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg != WM_PAINT) return DefWindowProcA(hwnd, msg, wp, lp);
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  for (int band = 0; band < 40; ++band) {
    RECT r{0, band * 5, 400, band * 5 + 5};
    HBRUSH brush = CreateSolidBrush(RGB(250 - band, 244 - band, 228 - band));
    FillRect(dc, &r, brush);
    DeleteObject(brush);
  }
  SelectObject(dc, g_font);
  SetBkMode(dc, TRANSPARENT);
  TextOutA(dc, 20, 20, "TeX Quillet", 11);
  EndPaint(hwnd, &ps);
  return 0;
}

void Register(const char* name, WNDPROC proc, int colour) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = proc;
  wc.hInstance = g_instance;
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(colour + 1));
  wc.lpszClassName = name;
  RegisterClassA(&wc);
}

HWND TopLevel(const char* caption, DWORD style, DWORD ex_style, const char* cls = "SetPlain") {
  return CreateWindowExA(ex_style, cls, caption, style, CW_USEDEFAULT, CW_USEDEFAULT, 440, 300, nullptr, nullptr,
                         g_instance, nullptr);
}

HWND Child(HWND parent, const char* cls, DWORD style, int x, int y, int w, int h) {
  HWND hwnd = CreateWindowExA(0, cls, "", WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent, nullptr, g_instance,
                              nullptr);
  SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(g_font), FALSE);
  return hwnd;
}

// A menu bar of eight menus with the frame's number of items.
HMENU MenuBar(HMENU* window_menu) {
  HMENU bar = CreateMenu();
  const char* captions[] = {"ﾌｧｲﾙ(&F)", "編集(&E)", "検索(&S)", "表示(&V)", "挿入(&I)", "実行(&R)", "ｵﾌﾟｼｮﾝ(&O)", "ｳｨﾝﾄﾞｳ(&W)"};
  UINT id = 100;
  for (const char* caption : captions) {
    HMENU popup = CreatePopupMenu();
    for (int i = 0; i < 8; ++i) AppendMenuA(popup, MF_STRING, id++, "項目(&X)...\tCtrl+X");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), caption);
    *window_menu = popup;
  }
  return bar;
}

HWND Frame() {
  HMENU window_menu = nullptr;
  HMENU bar = MenuBar(&window_menu);
  int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  HWND frame = CreateWindowExA(0, "SetFrame", "TeX Quillet", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, width, height,
                               nullptr, bar, g_instance, nullptr);
  RECT client;
  GetClientRect(frame, &client);
  Child(frame, "SetPlain", 0, 0, 0, client.right, 32);
  CLIENTCREATESTRUCT ccs{window_menu, 1000};
  g_client = CreateWindowExA(WS_EX_CLIENTEDGE, "MDICLIENT", "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 32,
                             client.right, client.bottom - 51, frame, nullptr, g_instance, &ccs);
  Child(frame, "SetPlain", 0, 0, client.bottom - 19, client.right, 19);
  return frame;
}

void Palette() {
  HWND palette = TopLevel("ｺﾏﾝﾄﾞ入力", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME, WS_EX_TOOLWINDOW);
  HWND list = Child(palette, WC_LISTVIEWA, LVS_REPORT, 0, 0, 160, 120);
  LVCOLUMNA column{};
  column.mask = LVCF_TEXT | LVCF_WIDTH;
  column.cx = 150;
  column.pszText = const_cast<char*>("ｺﾏﾝﾄﾞ");
  SendMessageA(list, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
  Child(palette, "STATIC", 0, 0, 120, 160, 4);
  Child(palette, "SetPlain", WS_HSCROLL | WS_VSCROLL, 0, 124, 160, 40);
}

// The two settings dialogs: the TeX settings make their pages when first shown, the
// environment settings have their four-page tab control from the start and make the
// pages' controls when first shown.
void SettingsDialogs() {
  TopLevel("TeXの設定", WS_POPUP | WS_CAPTION | WS_SYSMENU, WS_EX_DLGMODALFRAME);
  HWND dialog = TopLevel("環境設定", WS_POPUP | WS_CAPTION | WS_SYSMENU, WS_EX_DLGMODALFRAME);
  HWND tab = Child(dialog, WC_TABCONTROLA, WS_CLIPSIBLINGS, 8, 8, 420, 240);
  for (int i = 0; i < 4; ++i) {
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>("ﾍﾟｰｼﾞ");
    SendMessageA(tab, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
    Child(tab, "SetPlain", 0, 4, 24, 412, 212);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  g_instance = instance;
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_TAB_CLASSES | ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&icc);
  g_font = CreateFontA(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, 0, "ＭＳ Ｐゴシック");
  Register("SetFrame", FrameProc, COLOR_APPWORKSPACE);
  Register("SetPlain", DefWindowProcA, COLOR_BTNFACE);
  Register("SetSplash", SplashProc, COLOR_WINDOW);
  CreateWindowExA(WS_EX_TOOLWINDOW, "STATIC", "TeX Quillet", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr);
  HWND frame = Frame();
  Palette();
  SettingsDialogs();
  HWND errors = TopLevel("ｴﾗｰﾒｯｾｰｼﾞ", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME, WS_EX_TOOLWINDOW);
  Child(errors, "SetPlain", WS_VSCROLL, 0, 0, 400, 100);
  HWND splash = TopLevel("", WS_POPUP | WS_BORDER, WS_EX_TOPMOST, "SetSplash");
  Child(splash, "BUTTON", 0, 300, 240, 80, 24);
  ShowWindow(splash, SW_SHOWNA);
  UpdateWindow(splash);
  ShowWindow(frame, SW_SHOW);
  UpdateWindow(frame);
  ShowWindow(splash, SW_HIDE);
  const char* dialogs[] = {"文書作成ｳｨｻﾞｰﾄﾞ", "指定行へｼﾞｬﾝﾌﾟ", "定型ﾏｸﾛの挿入", "見出しの検索"};
  for (const char* caption : dialogs) TopLevel(caption, WS_POPUP | WS_CAPTION | WS_SYSMENU, WS_EX_DLGMODALFRAME);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}
