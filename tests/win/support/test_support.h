#pragma once
// Helpers shared by the tests that drive real windows under Wine.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace quillet::test {

// Handles every pending message of this thread as the program's loop does (the message
// hook and the main window's keys included), and waits up to ms for more.
void PumpMessages(DWORD ms = 0);

// A fresh directory under the temporary directory, removed with its files at the end.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }  // ends in "\"
  std::string operator/(const std::string& name) const { return path_ + name; }

 private:
  std::string path_;
};

std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);

// Text of a window (GetWindowTextA).
std::string WindowText(HWND hwnd);

// The whole text of an editor, and its selection.
std::string EditorText(HWND editor);
struct Range {
  long start, end;
};
Range EditorSelection(HWND editor);
// Types text into an editor one character at a time, as the keyboard does.
void Type(HWND editor, const std::string& text);

// What a user's typing into an edit or combo box, or pick in a list box or drop-down
// list, tells the box's parent.
void TypeInto(HWND box, const std::string& text);
void Pick(HWND list, int index);
// A click on a tab of a tab control, as the tab control tells its parent.
void ClickTab(HWND tab_control, int index);

// Pixels copied from a device context.
class Pixels {
 public:
  Pixels(HDC dc, int width, int height);
  // How many pixels of the colour lie in area.
  int Count(COLORREF colour, const RECT& area) const;

 private:
  int width_, height_;
  std::vector<std::uint32_t> rgb_;  // 0xRRGGBB, top row first
};
// A window's client area as the screen shows it once painted.
Pixels ClientPixels(HWND window);

}  // namespace quillet::test
