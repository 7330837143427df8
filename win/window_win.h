#pragma once
// A Win32 window owned by a C++ object: the class is registered once, the object is
// bound to its HWND on creation and sees its messages through HandleMessage.
#include <windows.h>

#include <string>

namespace quillet {

HINSTANCE AppInstance();

struct WindowArgs {
  const char* class_name;
  const char* caption = "";
  DWORD style = WS_OVERLAPPEDWINDOW;
  DWORD ex_style = 0;
  int x = CW_USEDEFAULT, y = CW_USEDEFAULT, width = CW_USEDEFAULT, height = CW_USEDEFAULT;
  HWND parent = nullptr;
  HMENU menu = nullptr;
  UINT class_style = CS_DBLCLKS;
  HBRUSH background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  HICON icon = nullptr;
  HICON small_icon = nullptr;
  HCURSOR cursor = nullptr;  // arrow when null
};

class Window {
 public:
  Window() = default;
  virtual ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  HWND hwnd() const { return hwnd_; }
  // The object bound to a window made by this class, or null.
  static Window* FromHandle(HWND hwnd);

 protected:
  // Creates the window; false (with GetLastError kept) when the platform refuses.
  bool CreateWin(const WindowArgs& args);
  // Creates the window as a document window of an MDI client (WM_MDICREATE).
  bool CreateMdiChild(HWND mdi_client, const WindowArgs& args);
  virtual LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
  // What the platform does with a message this window does not handle.
  virtual LRESULT Default(UINT msg, WPARAM wp, LPARAM lp);
  // Called after WM_NCDESTROY: the handle is gone.
  virtual void Detached() {}

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  HWND hwnd_ = nullptr;
};

// Client size to window size for the given styles (no menu).
SIZE WindowSizeForClient(int client_width, int client_height, DWORD style, DWORD ex_style, bool menu = false);
// Lets files be dropped on the window (WM_DROPFILES), as DragAcceptFiles does.
void AcceptDroppedFiles(HWND hwnd, bool accept);
// Moves a top-level window to the centre of the screen: left = (screen width - width) / 2,
// top = (screen height - height) / 2, both truncated toward zero.
void CenterOnScreen(HWND hwnd);
// Puts a visible floating (topmost) window back above the others. Under Wine the window
// activated after it can be drawn over it while the window order still has it on top,
// so it is taken out of the topmost band and put back, which redraws it in its place.
void RaiseFloatingWindow(HWND hwnd);

}  // namespace quillet
