#include "tests/win/support/test_support.h"

#include <commctrl.h>

#include "artwork/art_canvas_win.h"
#include "win/handles_win.h"
#include "win/message_loop_win.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>

namespace quillet::test {

void PumpMessages(DWORD ms) {
  DWORD end = GetTickCount() + ms;
  for (;;) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message != WM_QUIT) HandleQueuedMessage(nullptr, msg);
    }
    DWORD now = GetTickCount();
    if (static_cast<LONG>(end - now) <= 0) return;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, end - now, QS_ALLINPUT);
  }
}

TempDir::TempDir() {
  char base[MAX_PATH];
  GetTempPathA(MAX_PATH, base);
  static LONG counter = 0;
  for (;;) {
    std::ostringstream name;
    name << base << "quillet-test-" << GetCurrentProcessId() << "-" << InterlockedIncrement(&counter) << "\\";
    path_ = name.str();
    if (CreateDirectoryA(path_.c_str(), nullptr)) return;
  }
}

namespace {
void RemoveTree(const std::string& dir) {
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((dir + "*").c_str(), &fd);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      std::string name = fd.cFileName;
      if (name == "." || name == "..") continue;
      std::string full = dir + name;
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(full + "\\");
      } else {
        SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(full.c_str());
      }
    } while (FindNextFileA(h, &fd));
    FindClose(h);
  }
  RemoveDirectoryA(dir.c_str());
}
}  // namespace

TempDir::~TempDir() { RemoveTree(path_); }

std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string WindowText(HWND hwnd) {
  int n = GetWindowTextLengthA(hwnd);
  std::string s(static_cast<std::size_t>(n) + 1, '\0');
  n = GetWindowTextA(hwnd, s.data(), n + 1);
  s.resize(static_cast<std::size_t>(n < 0 ? 0 : n));
  return s;
}

std::string EditorText(HWND editor) {
  std::string text(static_cast<std::size_t>(SendMessageA(editor, WM_GETTEXTLENGTH, 0, 0)) + 1, '\0');
  LRESULT n = SendMessageA(editor, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(n));
  return text;
}

Range EditorSelection(HWND editor) {
  DWORD start = 0, end = 0;
  SendMessageA(editor, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return {static_cast<long>(start), static_cast<long>(end)};
}

void Type(HWND editor, const std::string& text) {
  for (char c : text) SendMessageA(editor, WM_CHAR, static_cast<unsigned char>(c), 1);
  PumpMessages();
}

void TypeInto(HWND box, const std::string& text) {
  SetWindowTextA(box, text.c_str());  // an edit box tells its parent itself
  char name[16];
  GetClassNameA(box, name, sizeof(name));
  if (lstrcmpiA(name, "ComboBox") != 0) return;
  SendMessageA(GetParent(box), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(box), CBN_EDITCHANGE), reinterpret_cast<LPARAM>(box));
}

// Both kinds send the same notification code (LBN_SELCHANGE is CBN_SELCHANGE).
void Pick(HWND list, int index) {
  char kind[16] = {};
  GetClassNameA(list, kind, sizeof(kind));
  UINT select = lstrcmpiA(kind, "ComboBox") == 0 ? CB_SETCURSEL : LB_SETCURSEL;
  SendMessageA(list, select, static_cast<WPARAM>(index), 0);
  SendMessageA(GetParent(list), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), LBN_SELCHANGE),
               reinterpret_cast<LPARAM>(list));
}

void ClickTab(HWND tab_control, int index) {
  SendMessageA(tab_control, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
  NMHDR change{tab_control, static_cast<UINT_PTR>(GetDlgCtrlID(tab_control)), static_cast<UINT>(TCN_SELCHANGE)};
  SendMessageA(GetParent(tab_control), WM_NOTIFY, change.idFrom, reinterpret_cast<LPARAM>(&change));
}

Pixels::Pixels(HDC dc, int width, int height) : width_(width), height_(height) {
  DibSurface copy(width, height);
  BitBlt(copy.dc(), 0, 0, width, height, dc, 0, 0, SRCCOPY);
  GdiFlush();
  rgb_.assign(copy.bits(), copy.bits() + width * height);
  for (auto& pixel : rgb_) pixel &= 0xFFFFFF;
}

int Pixels::Count(COLORREF colour, const RECT& area) const {
  std::uint32_t rgb = GetRValue(colour) << 16 | GetGValue(colour) << 8 | GetBValue(colour);
  int n = 0;
  for (int y = std::max(0L, area.top); y < std::min<long>(height_, area.bottom); ++y) {
    for (int x = std::max(0L, area.left); x < std::min<long>(width_, area.right); ++x) {
      n += rgb_[static_cast<std::size_t>(y * width_ + x)] == rgb;
    }
  }
  return n;
}

Pixels ClientPixels(HWND window) {
  UpdateWindow(window);
  RECT r;
  GetClientRect(window, &r);
  WindowDc dc(window);
  return Pixels(dc.get(), r.right, r.bottom);
}

}  // namespace quillet::test
