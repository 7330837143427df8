// The writing aids through their real dialogs and commands: the heading index, the
// next-heading jump and the fixed macros.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "aids/macro_dialog_win.h"
#include "aids/macro_files.h"
#include "aids/section_dialog_win.h"
#include "core/command_ids.h"
#include "document/mdi_child_win.h"
#include "tests/win/support/app_harness.h"
#include "tests/win/support/standins.h"
#include "win/controls_win.h"

namespace quillet::test {
namespace {

// "title|kind|line" per row, as the list shows them.
std::vector<std::string> Rows(const TSectionDlg& dialog) {
  std::vector<std::string> out;
  for (const HeadingRow& r : dialog.rows()) out.push_back(r.title + "|" + r.kind + "|" + r.line);
  return out;
}

constexpr const char* kHeadings =
    "\\documentclass{jarticle}\r\n"          // 1
    "\\begin{document}\r\n"                  // 2
    "\\section{Intro}\r\n"                   // 3
    "% \\chapter{Old}\r\n"                   // 4
    "  \\subsection*{表示}\r\n"              // 5
    "\\section[Short]{Long}\\sectionmark\r\n"  // 6
    "表section{not one} $\\partial x$\r\n"   // 7: no keyword at 表's second byte; \partial is one
    "\\end{document}\r\n";

int ListBoxCount(HWND list) { return static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0)); }
std::string ListBoxText(HWND list, int i) {
  char text[MAX_PATH] = {};
  SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
  return text;
}
// Selects the entry as a click does (the list tells its owner).
void SelectListBoxItem(HWND list, const std::string& text) {
  for (int i = 0; i < ListBoxCount(list); ++i) {
    if (ListBoxText(list, i) != text) continue;
    SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(i), 0);
    SendMessageA(GetParent(list), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(list));
  }
}

struct AidsFixture : ::testing::Test {
  AppHarness h;
  HWND Editor() { return h.main().ActiveChild()->Memo; }
  std::pair<long, long> Sel() {
    Range r = EditorSelection(Editor());
    return {r.start, r.end};
  }
  // Opens the heading dialog, lets its scan run, then does what is asked inside it.
  void InDialog(const std::function<void(TSectionDlg&)>& then) {
    TSectionDlg& dialog = h.app().SectionDlg();
    // Looked at again later while the scan still runs (it handles messages as it goes).
    std::function<void()> step = [&] {
      if (IsWindowVisible(dialog.Panel.hwnd())) {
        WhenModal(step, 50);
      } else {
        then(dialog);
      }
    };
    WhenModal(step, 100);
    h.Command(kFindSecItem);
  }
};

TEST_F(AidsFixture, TheHeadingIndexListsEveryKeywordInLineOrderAndJumps) {
  h.Start({h.MakeFile("h.tex", kHeadings)});
  std::vector<std::string> rows;
  std::string count;
  InDialog([&](TSectionDlg& dialog) {
    rows = Rows(dialog);
    count = ControlText(dialog.SectionNum);
    dialog.ListViewColumnClick(1);
    dialog.ListViewColumnClick(1);  // a second click sorts the same way
    EXPECT_EQ(dialog.rows().front().kind, "\\chapter");
    EXPECT_FALSE(IsWindowEnabled(dialog.Button1));
    ListView_SetItemState(dialog.ListView, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    dialog.ListViewColumnClick(2);  // back in line order, nothing selected
    ListView_SetItemState(dialog.ListView, 2, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    EXPECT_TRUE(IsWindowEnabled(dialog.Button1));
    SendMessageA(dialog.Button1, BM_CLICK, 0, 0);
  });
  EXPECT_EQ(rows, (std::vector<std::string>{"Intro|\\section|3", "Old|\\chapter|4", "表示|\\subsection|5",
                                            "Long|\\section|6", "??|\\section|6", "??|\\part|7"}));
  EXPECT_EQ(count, "6 項目");
  // The jump selects from the line's start as many characters as the keyword has.
  long line5 = static_cast<long>(SendMessageA(Editor(), EM_LINEINDEX, 4, 0));
  EXPECT_EQ(Sel(), (std::pair<long, long>{line5, line5 + 11}));
  EXPECT_FALSE(IsWindowVisible(h.app().SectionDlg().hwnd()));
}

TEST_F(AidsFixture, StopKeepsTheRowsFoundSoFar) {
  std::string text;
  for (int i = 0; i < 60000; ++i) text += "\\section{S}\r\n\\subsection{T}\r\n";
  h.Start({h.MakeFile("many.tex", text)});
  static TSectionDlg* dialog = &h.app().SectionDlg();
  // A click on the stop button once the scan has found a hundred headings: the scan
  // handles messages after each heading it finds.
  SetTimer(nullptr, 0, 1, [](HWND, UINT, UINT_PTR id, DWORD) {
    if (dialog->rows().size() < 100) return;
    KillTimer(nullptr, id);
    SendMessageA(dialog->StopBtn, BM_CLICK, 0, 0);
  });
  std::size_t kept = 0;
  std::string count;
  InDialog([&](TSectionDlg& shown) {
    kept = shown.rows().size();
    count = ControlText(shown.SectionNum);
    EXPECT_TRUE(std::is_sorted(shown.rows().begin(), shown.rows().end(), LineBefore));
    SendMessageA(shown.Button2, BM_CLICK, 0, 0);
  });
  EXPECT_GT(kept, 0u);
  EXPECT_LT(kept, 120000u);
  EXPECT_EQ(count, std::to_string(kept) + " 項目");
}

TEST_F(AidsFixture, NextHeadingWalksFromKeywordToKeyword) {
  h.Start({h.MakeFile("n.tex", "\\chapter{X}\r\n表section \\section{A}\r\n\\paragraph{B}")});
  std::vector<std::pair<long, long>> walk;
  for (int i = 0; i < 3; ++i) {
    h.Command(kJumpNextItem);
    walk.push_back(Sel());
  }
  EXPECT_EQ(walk, (std::vector<std::pair<long, long>>{{0, 8}, {23, 31}, {36, 46}}));
  EXPECT_EQ(h.messages.Texts(), "");
  h.Command(kJumpNextItem);
  EXPECT_EQ(h.messages.Texts(), "見出しはもうありません。\n");
  EXPECT_EQ(Sel(), (std::pair<long, long>{36, 46}));
}

// The macro folder lists only the header's files; the one chosen goes in before the
// caret's line, with an empty line after it, its body selected.
TEST_F(AidsFixture, AFixedMacroIsInsertedAsWholeLinesBeforeTheCaretsLine) {
  std::string folder = h.dir() / "マクロ表";  // a name whose last byte is 0x5C
  CreateDirectoryA(folder.c_str(), nullptr);
  CreateDirectoryA((folder + "\\dir.tex").c_str(), nullptr);
  WriteFileBytes(folder + "\\itemize.tex",
                 "%% TeX Quillet Macro 1.0\r\n%箇条書き\r\n\\begin{itemize}\r\n\\item\r\n\\end{itemize}\r\n");
  WriteFileBytes(folder + "\\remark.tex", "%% TeX Quillet Macro 1.0 mine\r\n\\section{}\r\nx\r\n");
  WriteFileBytes(folder + "\\plain.tex", "\\documentclass{jarticle}\r\n");
  h.Start({h.MakeFile("m.tex", "1\r\n2\r\n3\r\n4\r\nline five\r\n6\r\n")});
  for (const std::string& setting : {folder, folder + "\\"}) {
    SCOPED_TRACE(setting);
    h.app().env_settings().general.macro_path = setting;
    SendMessageA(Editor(), EM_SETSEL, 0, 0);
    TMacroDlg& dialog = h.app().MacroDlg();
    std::vector<std::string> listed;
    std::string title, body;
    WhenModal([&] {
      for (int i = 0; i < ListBoxCount(dialog.ListBox); ++i) listed.push_back(ListBoxText(dialog.ListBox, i));
      EXPECT_FALSE(IsWindowEnabled(dialog.Button1));
      SelectListBoxItem(dialog.ListBox, "remark.tex");
      title = ControlText(dialog.Title);
      body = ControlText(dialog.Memo);
      SendMessageA(dialog.Button2, BM_CLICK, 0, 0);
    });
    h.Command(kMacroItem);
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ(listed, (std::vector<std::string>{"itemize.tex", "remark.tex"}));
    EXPECT_EQ(title, "(タイトルなし)");
    EXPECT_EQ(body, "x\r\n");
  }
  SendMessageA(Editor(), EM_SETSEL, 15, 17);  // inside line 5
  TMacroDlg& dialog = h.app().MacroDlg();
  WhenModal([&] {
    SelectListBoxItem(dialog.ListBox, "itemize.tex");
    EXPECT_EQ(ControlText(dialog.Title), "箇条書き");
    SendMessageA(dialog.Button1, BM_CLICK, 0, 0);
  });
  h.Command(kMacroItem);
  EXPECT_EQ(EditorText(Editor()),
            "1\r\n2\r\n3\r\n4\r\n\\begin{itemize}\r\n\\item\r\n\\end{itemize}\r\n\r\nline five\r\n6\r\n");
  EXPECT_EQ(Sel(), (std::pair<long, long>{12, 12 + 39}));
  EXPECT_FALSE(SendMessageA(Editor(), EM_CANUNDO, 0, 0));
}

// The library shipped beside the program: every file a titled macro with a body.
TEST_F(AidsFixture, TheShippedMacroLibraryListsTitledMacros) {
  h.use_shipped_content = true;
  h.Start({h.MakeFile("s.tex", "")});
  TMacroDlg& dialog = h.app().MacroDlg();
  std::vector<std::string> untitled;
  int count = 0;
  WhenModal([&] {
    count = ListBoxCount(dialog.ListBox);
    for (int i = 0; i < count; ++i) {
      std::string name = ListBoxText(dialog.ListBox, i);
      SelectListBoxItem(dialog.ListBox, name);
      if (ControlText(dialog.Title) == kUntitledMacro || ControlText(dialog.Memo).empty()) untitled.push_back(name);
    }
    SendMessageA(dialog.Button2, BM_CLICK, 0, 0);
  });
  h.Command(kMacroItem);
  EXPECT_GE(count, 20);
  EXPECT_EQ(untitled, std::vector<std::string>{});
}

}  // namespace
}  // namespace quillet::test
