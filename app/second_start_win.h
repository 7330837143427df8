#pragma once
// Inverse search: a second start "Quillet.exe -line N FILE" hands its request to the
// program already running and ends at once; the running program takes it in a hidden
// window of its own (class kLineRequestClass, title "TeX Quillet") as WM_COPYDATA with
// dwData = the line number and lpData = the file's full Windows name in code page 932,
// without a terminating zero.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "core/command_line.h"

namespace quillet {

inline constexpr const char* kLineRequestClass = "TQuilletLineRequests";

// The Windows name of a file named on the command line, made full: a Unix name (from a
// viewer outside Wine) goes through Wine's drive mapping first.
std::string WindowsFileName(const std::string& name);

// Gives the request to the running program, which may come to the front; false when no
// program is running or it did not take the request.
bool HandOverLineRequest(const LineRequest& request);

// The running program's end: requests reach the handler from the message loop, after the
// sender has been answered, so a message the handler shows never holds the sender up.
class LineRequestWindow {
 public:
  using Handler = std::function<void(const LineRequest&)>;
  LineRequestWindow() = default;
  ~LineRequestWindow();
  LineRequestWindow(const LineRequestWindow&) = delete;
  LineRequestWindow& operator=(const LineRequestWindow&) = delete;

  bool Create(Handler handler);

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  bool Take(const COPYDATASTRUCT& data);

  HWND hwnd_ = nullptr;
  Handler handler_;
  std::vector<LineRequest> waiting_;
};

}  // namespace quillet
