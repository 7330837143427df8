#include "win/window_win.h"

#include "win/guard_win.h"

namespace quillet {

HINSTANCE AppInstance() { return GetModuleHandleA(nullptr); }

namespace {
constexpr char kSelfProperty[] = "QuilletWindow";

bool EnsureClass(const WindowArgs& args, WNDPROC proc) {
  WNDCLASSEXA existing{};
  existing.cbSize = sizeof(existing);
  if (GetClassInfoExA(AppInstance(), args.class_name, &existing)) return true;
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof(wc);
  wc.style = args.class_style;
  wc.lpfnWndProc = proc;
  wc.hInstance = AppInstance();
  wc.hIcon = args.icon;
  wc.hIconSm = args.small_icon;
  wc.hCursor = args.cursor ? args.cursor : LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = args.background;
  wc.lpszClassName = args.class_name;
  return RegisterClassExA(&wc) != 0;
}
}  // namespace

Window::~Window() {
  if (hwnd_) {
    HWND h = hwnd_;
    RemovePropA(h, kSelfProperty);
    hwnd_ = nullptr;
    DestroyWindow(h);
  }
}

Window* Window::FromHandle(HWND hwnd) { return static_cast<Window*>(GetPropA(hwnd, kSelfProperty)); }

bool Window::CreateWin(const WindowArgs& args) {
  if (!EnsureClass(args, &Window::Proc)) return false;
  HWND h = CreateWindowExA(args.ex_style, args.class_name, args.caption, args.style, args.x, args.y, args.width,
                           args.height, args.parent, args.menu, AppInstance(), this);
  return h != nullptr;
}

bool Window::CreateMdiChild(HWND mdi_client, const WindowArgs& args) {
  if (!EnsureClass(args, &Window::Proc)) return false;
  MDICREATESTRUCTA mcs{};
  mcs.szClass = args.class_name;
  mcs.szTitle = args.caption;
  mcs.hOwner = AppInstance();
  mcs.x = args.x;
  mcs.y = args.y;
  mcs.cx = args.width;
  mcs.cy = args.height;
  mcs.style = args.style;
  mcs.lParam = reinterpret_cast<LPARAM>(this);
  return SendMessageA(mdi_client, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)) != 0;
}

LRESULT Window::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) { return Default(msg, wp, lp); }

LRESULT Window::Default(UINT msg, WPARAM wp, LPARAM lp) { return DefWindowProcA(hwnd_, msg, wp, lp); }

LRESULT CALLBACK Window::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  Window* self = FromHandle(hwnd);
  if (!self && (msg == WM_NCCREATE || msg == WM_CREATE)) {
    auto* cs = reinterpret_cast<CREATESTRUCTA*>(lp);
    // MDI children pass their creation parameter one level deeper.
    void* param = cs->lpCreateParams;
    if ((cs->dwExStyle & WS_EX_MDICHILD) && param) {
      param = reinterpret_cast<void*>(static_cast<MDICREATESTRUCTA*>(param)->lParam);
    }
    self = static_cast<Window*>(param);
    if (self) {
      self->hwnd_ = hwnd;
      SetPropA(hwnd, kSelfProperty, self);
    }
  }
  if (!self) return DefWindowProcA(hwnd, msg, wp, lp);
  LRESULT result = Guarded(hwnd, FailedMessageResult(msg), [&] { return self->HandleMessage(msg, wp, lp); });
  if (msg == WM_NCDESTROY) {
    RemovePropA(hwnd, kSelfProperty);
    self->hwnd_ = nullptr;
    self->Detached();
  }
  return result;
}

SIZE WindowSizeForClient(int client_width, int client_height, DWORD style, DWORD ex_style, bool menu) {
  RECT r{0, 0, client_width, client_height};
  AdjustWindowRectEx(&r, style, menu, ex_style);
  return SIZE{r.right - r.left, r.bottom - r.top};
}

void AcceptDroppedFiles(HWND hwnd, bool accept) {
  LONG_PTR style = GetWindowLongPtrA(hwnd, GWL_EXSTYLE);
  SetWindowLongPtrA(hwnd, GWL_EXSTYLE, accept ? (style | WS_EX_ACCEPTFILES) : (style & ~WS_EX_ACCEPTFILES));
}

void CenterOnScreen(HWND hwnd) {
  RECT r;
  GetWindowRect(hwnd, &r);
  int w = r.right - r.left, h = r.bottom - r.top;
  int left = (GetSystemMetrics(SM_CXSCREEN) - w) / 2;
  int top = (GetSystemMetrics(SM_CYSCREEN) - h) / 2;
  SetWindowPos(hwnd, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void RaiseFloatingWindow(HWND hwnd) {
  if (!IsWindowVisible(hwnd)) return;
  const UINT flags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
  SetWindowPos(hwnd, HWND_NOTOPMOST, 0, 0, 0, 0, flags);
  SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, flags);
}

}  // namespace quillet
