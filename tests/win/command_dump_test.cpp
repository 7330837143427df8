// What a user sees of the commands, in the states a first hour goes through: every menu
// item as its menu shows it when opened (caption with its key, enabled, checked) and every
// tool button (tip, enabled), against tests/fixtures/command_dump.txt. Any change to how
// commands are made must leave this as it is; a change meant to be seen rewrites the file
// (QUILLET_WRITE_COMMAND_DUMP=1) and shows in its diff.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "app/main_form_win.h"
#include "core/command_ids.h"
#include "document/mdi_child_win.h"
#include "tests/win/support/app_harness.h"
#include "tests/win/support/test_support.h"

namespace quillet::test {
namespace {

std::string Utf8(const std::string& ansi) {
  int n = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), wide.data(), n);
  int m = WideCharToMultiByte(CP_UTF8, 0, wide.data(), n, nullptr, 0, nullptr, nullptr);
  std::string text(static_cast<std::size_t>(m), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), n, text.data(), m, nullptr, nullptr);
  return text;
}

// A menu as it shows when opened: the program judges it on WM_INITMENUPOPUP first.
void DumpMenu(HWND owner, HMENU menu, const std::string& indent, std::ostringstream& out) {
  SendMessageA(owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0);
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    char caption[256] = {};
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STATE | MIIM_SUBMENU | MIIM_FTYPE | MIIM_STRING;
    info.dwTypeData = caption;
    info.cch = sizeof caption - 1;
    GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info);
    if (info.fType & MFT_SEPARATOR) {
      out << indent << "----\n";
      continue;
    }
    out << indent << Utf8(caption) << ((info.fState & MFS_GRAYED) ? " [disabled]" : "")
        << ((info.fState & MFS_CHECKED) ? " [checked]" : "") << "\n";
    if (info.hSubMenu) DumpMenu(owner, info.hSubMenu, indent + "  ", out);
  }
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::string Dump(AppHarness& h, const char* state) {
  std::ostringstream out;
  out << "== " << state << "\n";
  DumpMenu(h.main().hwnd(), GetMenu(h.main().hwnd()), "", out);
  for (std::size_t b = 0; b < kToolButtonCount; ++b) {
    out << "button " << Utf8(h.main().speed_panel().tooltip(b))
        << (h.main().speed_panel().IsEnabled(b) ? "" : " [disabled]") << "\n";
  }
  // The test's own folder (in the recent files) differs from run to run.
  std::string text = out.str(), folder = Utf8(h.dir().path());
  for (std::size_t at; (at = text.find(folder)) != std::string::npos;) text.replace(at, folder.size(), "<folder>\\");
  return text;
}

TEST(CommandDump, MenusAndButtonsShowAsTheyDidInEveryState) {
  std::string dump;
  {
    AppHarness h;
    h.Start();
    dump += Dump(h, "no document");
    h.main().OpenDocument(h.MakeFile("a.tex", "\\section{A}\r\ntext\r\n"));
    dump += Dump(h, "a document as opened");
    HWND editor = h.main().ActiveChild()->Memo;
    SendMessageA(editor, WM_CHAR, 'x', 1);
    SendMessageA(editor, EM_SETSEL, 0, 4);
    dump += Dump(h, "typed into, text selected");
    h.NewBlankDocument();
    dump += Dump(h, "a second, untitled document");
  }
  const std::string fixture = std::string(QUILLET_FIXTURES_DIR) + "/command_dump.txt";
  if (std::getenv("QUILLET_WRITE_COMMAND_DUMP")) WriteFileBytes(fixture, dump);
  std::string expected = ReadFileBytes(fixture);
  ASSERT_FALSE(expected.empty()) << fixture << " is missing: run with QUILLET_WRITE_COMMAND_DUMP=1";
  // Line by line, so that a failure names the first line that changed.
  std::vector<std::string> want = Lines(expected), got = Lines(dump);
  for (std::size_t i = 0; i < std::max(want.size(), got.size()); ++i) {
    ASSERT_EQ(i < got.size() ? got[i] : "(none)", i < want.size() ? want[i] : "(none)") << "line " << i + 1 << " of " << fixture;
  }
}

}  // namespace
}  // namespace quillet::test
