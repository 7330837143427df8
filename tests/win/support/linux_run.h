#pragma once
// Linux commands run from a test under Wine, for what only Linux can set up or tell.
#include <windows.h>

#include <string>

namespace quillet::test {

// Runs script_body with /bin/sh in folder and waits for it (at most 20 s); the text of its
// output file (UTF-8) then, in the program's code page.
std::string RunOnLinux(const std::string& folder, const std::string& script_body, const std::string& output);

// A shell command that gives window (a top-level window of this program) the X server's
// focus, as a window manager would on a click, and presses the keys there ("ctrl+a Return"):
// a focus that does not come within 5 s is given up, so the keys never wait for ever.
std::string KeysScript(HWND window, const std::string& keys);

// A folder that takes no new file and lets none go, while the files in it may still be
// written (the immutable mark of the Linux file system, which also binds the superuser):
// how a folder looks whose access list lets the user write a document but create nothing.
// Undone when it goes.
class FixedFolder {
 public:
  explicit FixedFolder(std::string folder);
  ~FixedFolder();
  FixedFolder(const FixedFolder&) = delete;
  FixedFolder& operator=(const FixedFolder&) = delete;
  // False where the file system or the user's rights do not allow the mark.
  bool fixed() const { return fixed_; }

 private:
  bool Mark(const char* change);
  std::string folder_;
  bool fixed_ = false;
};

}  // namespace quillet::test
