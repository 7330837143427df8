// The platform's save dialog with the encoding and line-end lists, driven as a user
// would: what it shows, what it gives back, and the help its lists ask for.
#include <windows.h>
#include <commdlg.h>
#include <dlgs.h>

#include <gtest/gtest.h>

#include <vector>

#include "tests/win/support/app_harness.h"
#include "win/controls_win.h"
#include "win/file_dialogs_win.h"
#include "win/form_win.h"
#include "win/save_coding_win.h"

namespace quillet::test {
namespace {

HWND ShownDialog() {
  HWND found = nullptr;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND w, LPARAM out) {
        char kind[16] = {};
        GetClassNameA(w, kind, sizeof(kind));
        if (!IsWindowVisible(w) || lstrcmpA(kind, "#32770") != 0) return TRUE;
        *reinterpret_cast<HWND*>(out) = w;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

// A control anywhere under the dialog: the Explorer-style dialog keeps ours in a child.
HWND Control(HWND dialog, int id) {
  struct Search { int id; HWND found; } search{id, nullptr};
  EnumChildWindows(
      dialog,
      [](HWND w, LPARAM p) {
        auto* s = reinterpret_cast<Search*>(p);
        if (GetDlgCtrlID(w) != s->id) return TRUE;
        s->found = w;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

TEST(SaveDialogTest, TheCodingListsShowTheDocumentsCodingAndGiveBackTheChoice) {
  TempDir dir;
  const FileCoding euc{.encoding = Encoding::kEucJp};
  struct Row {
    const char* what;
    bool old_style, offered;
    int encoding, line_end;  // the entries picked
    int button;
    const char* coding;  // what the caller has after the dialog
  } rows[] = {
      {"Explorer style, saved", false, true, 1, 1, IDOK, "UTF-8 LF"},
      {"old style, saved", true, true, 2, 2, IDOK, "UTF-8 BOM CR"},
      {"cancelled", false, true, 4, 2, IDCANCEL, "EUC CRLF"},
      {"no choice asked for", false, false, 0, 0, IDOK, "EUC CRLF"},
  };
  std::vector<ULONG_PTR> help;
  Form::SetHelpRequester([&](HWND, UINT command, ULONG_PTR data) {
    if (command == HELP_CONTEXTPOPUP) help.push_back(data);
  });
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    FileCoding coding = euc;
    FileDialogArgs args{.file_name = "文書1.tex", .filter = "TeXﾌｧｲﾙ|*.tex", .default_ext = "tex",
                        .flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, .old_style = r.old_style,
                        .coding = r.offered ? &coding : nullptr};
    std::vector<std::string> shown;
    help.clear();
    WhenModal([&] {
      HWND dialog = ShownDialog();
      HWND lists[2] = {Control(dialog, kSaveEncodingId), Control(dialog, kSaveLineEndId)};
      if (lists[0] && lists[1]) {
        shown = {ControlText(lists[0]), ControlText(lists[1])};
        Pick(lists[0], r.encoding);
        Pick(lists[1], r.line_end);
        for (HWND list : lists) {
          HELPINFO info{};
          info.cbSize = sizeof(info);
          info.iContextType = HELPINFO_WINDOW;
          info.hItemHandle = list;
          SendMessageA(GetParent(list), WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
        }
      }
      HWND name = Control(dialog, r.old_style ? edt1 : cmb13);
      SetWindowTextA(name ? name : Control(dialog, edt1), (dir / "保存.tex").c_str());
      SendMessageA(GetDlgItem(dialog, r.button), BM_CLICK, 0, 0);
    }, 300);
    std::string chosen;
    bool saved = CommonFileDialogs().Save(nullptr, args, chosen);
    EXPECT_EQ(saved, r.button == IDOK);
    EXPECT_EQ(chosen, saved ? dir / "保存.tex" : "");
    EXPECT_EQ(CodingName(coding), r.coding);
    if (r.offered) {
      EXPECT_EQ(shown, (std::vector<std::string>{"EUC-JP", "CR+LF (Windows)"}));
      EXPECT_EQ(help, (std::vector<ULONG_PTR>{kSaveEncodingHelp, kSaveLineEndHelp}));
    } else {
      EXPECT_TRUE(shown.empty());
    }
  }
  Form::SetHelpRequester(nullptr);
}

}  // namespace
}  // namespace quillet::test
