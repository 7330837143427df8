#include "tests/win/support/linux_run.h"

#include <windows.h>

#include "bridges/outside_run_win.h"
#include "tests/win/support/standins.h"
#include "tests/win/support/test_support.h"
#include "win/code_page_win.h"
#include "win/file_io_win.h"

namespace quillet::test {

std::string RunOnLinux(const std::string& folder, const std::string& script_body, const std::string& output) {
  std::string marker = folder + "linux-done";
  DeleteFileA(marker.c_str());
  StartShellScript(folder + "linux.sh", script_body + "\necho 0 > '" + UnixFileName(marker) + "'\n");
  PumpUntil([&] { return FileExists(marker); }, 20000);
  return AnsiFromWide(WideFromUtf8(ReadFileBytes(output)).c_str());
}

// A shown window has an X window of its own (in Wine's virtual desktop, a child of the
// desktop's); for no window the keys go to the desktop's, which Wine hands to its active
// window as well.
std::string KeysScript(HWND window, const std::string& keys) {
  auto x_window = reinterpret_cast<UINT_PTR>(GetPropA(window, "__wine_x11_whole_window"));
  if (!x_window) x_window = reinterpret_cast<UINT_PTR>(GetPropA(GetDesktopWindow(), "__wine_x11_whole_window"));
  std::string target = x_window ? std::to_string(x_window) : "$(xdotool search --limit 1 --name ' - Wine desktop$')";
  return "timeout 5 xdotool windowfocus --sync " + target + "; xdotool key --delay 60 " + keys;
}

FixedFolder::FixedFolder(std::string folder) : folder_(std::move(folder)) { fixed_ = Mark("+i"); }

FixedFolder::~FixedFolder() {
  if (fixed_) Mark("-i");
}

bool FixedFolder::Mark(const char* change) {
  // The script and its answer live beside the folder, which may take no new file.
  std::string outside = folder_.substr(0, folder_.find_last_of('\\', folder_.size() - 2) + 1);
  std::string answer = outside + "chattr-answer.txt";
  DeleteFileA(answer.c_str());
  std::string unix_folder = UnixFileName(folder_);
  std::string said = RunOnLinux(outside, std::string("chattr ") + change + " '" + unix_folder + "' && echo ok > '" +
                                             UnixFileName(answer) + "'",
                                answer);
  return said == "ok\n";
}

}  // namespace quillet::test
