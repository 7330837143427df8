// The new-document wizard through New: its pages, the ways it ends and the document it
// writes.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "aids/doc_wizard_win.h"
#include "core/command_ids.h"
#include "document/mdi_child_win.h"
#include "tests/win/support/app_harness.h"
#include "tests/win/support/standins.h"
#include "win/controls_win.h"

namespace quillet::test {
namespace {

void Click(HWND button) { SendMessageA(button, BM_CLICK, 0, 0); }
void Fill(HWND field, const char* text) { SetControlText(field, text); }
void ChooseStyle(TDocExpDlg& w, const char* name) {
  Pick(w.ListBox1, static_cast<int>(SendMessageA(w.ListBox1, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                                 reinterpret_cast<LPARAM>(name))));
}
// The items of a list box or combo box, separated by blanks.
std::string Items(HWND box, bool combo) {
  std::string items;
  int count = static_cast<int>(SendMessageA(box, combo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    char text[64] = {};
    SendMessageA(box, combo ? CB_GETLBTEXT : LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
    items.append(i ? " " : "").append(text);
  }
  return items;
}

struct WizardFixture : ::testing::Test {
  AppHarness h;
  TDocExpDlg& Wizard() { return h.app().DocExpDlg(); }
  // Runs New with the steps done inside the wizard.
  void New(const std::function<void(TDocExpDlg&)>& steps) {
    WhenModal([&] { steps(Wizard()); });
    h.Command(kFileNewItem);
  }
  std::string DocumentText() { return EditorText(h.main().ActiveChild()->Memo); }
  std::size_t Documents() { return h.main().Children().size(); }
};

TEST_F(WizardFixture, FinishingWritesTheSkeletonOfEveryChoice) {
  WriteFileBytes(h.wintex_path(), "[TeXMode]\r\npLaTeX=platex\r\nupLaTeX=uplatex\r\nLaTeX=latex\r\n");
  h.Start();
  Wizard().engine = [] { return WizardEngine{.format_name = "uplatex"}; };
  New([&](TDocExpDlg& w) {
    EXPECT_FALSE(IsWindowEnabled(w.BackBtn));
    Click(w.NextBtn);
    EXPECT_FALSE(IsWindowEnabled(w.NextBtn));  // no style chosen yet
    Click(w.BackBtn);
    EXPECT_TRUE(IsWindowEnabled(w.NextBtn));
    Click(w.NextBtn);
    ChooseStyle(w, "jarticle");
    EXPECT_EQ(ControlText(w.StyleExp), "短い文書用のスタイルです。\r\n(和文)");
    // The chosen format's engine comes first; the class's options are suggested.
    EXPECT_EQ(Items(w.EngineBox, true), "pLaTeX upLaTeX");
    EXPECT_EQ(ControlText(w.EngineBox), "upLaTeX");
    EXPECT_EQ(Items(w.PaperSize, true), "a4paper a5paper b4paper b5paper a4j a5j b4j b5j a4p a5p b4p b5p");
    Pick(w.EngineBox, 0);
    Fill(w.StrSize, "12pt");
    Fill(w.PaperSize, "a4j");
    Click(w.Useidx);
    Fill(w.OtherOpt, "twocolumn");
    Click(w.RadioGroup1[2]);
    Click(w.NextBtn);
    EXPECT_EQ(ControlText(w.NextBtn), "完了");
    EXPECT_TRUE(IsWindowVisible(w.Page3.hwnd()));
    Fill(w.Title, "表題");
    Fill(w.Author1, "山田");
    Fill(w.Author2, "佐藤");
    Fill(w.Thanks, "感謝");
    for (HWND box : {w.TitlePage, w.Contents, w.FigContents, w.TableContents}) Click(box);
    Click(w.NextBtn);
  });
  EXPECT_EQ(h.main().ActiveChild()->caption(), "文書1.tex");
  EXPECT_EQ(DocumentText(),
            "\\documentclass[12pt,a4j,titlepage,twocolumn]{jarticle}\r\n\\usepackage{makeidx}\r\n\\begin{titlepage}\r\n"
            "\\title{表題}\r\n\\author{山田\\and 佐藤}\r\n\\date{\\today}\r\n\\end{titlepage}\r\n\\makeindex\r\n"
            "\\begin{document}\r\n\\thanks{感謝}\r\n\\maketitle\r\n\\pagestyle{headings}\r\n\\tableofcontents\r\n"
            "\\listoffigures\r\n\\listoftables\r\n%ここにメインの文書を書く\r\n\\printindex\r\n\\end{document}\r\n");
  Range sel = EditorSelection(h.main().ActiveChild()->Memo);
  EXPECT_EQ(sel.start, static_cast<long>(DocumentText().size()));
  // The next opening starts over on page 1 with the emptied fields; the authors and the
  // boxes of page 3 are kept, the title box unticked with its fields disabled.
  New([&](TDocExpDlg& w) {
    EXPECT_TRUE(IsWindowVisible(w.Page1.hwnd()));
    EXPECT_EQ(ControlText(w.Title), "");
    EXPECT_EQ(ControlText(w.Author2), "佐藤");
    EXPECT_FALSE(IsChecked(w.TitlePage));
    EXPECT_TRUE(IsChecked(w.Contents));
    Click(w.NextBtn);
    ChooseStyle(w, "jsarticle");
    Fill(w.PaperSize, "b5j");
    ChooseStyle(w, "article");  // a suggestion article lacks goes with the change
    EXPECT_EQ(ControlText(w.EngineBox), "LaTeX");
    EXPECT_EQ(ControlText(w.PaperSize), "");
    Click(w.NextBtn);
    for (HWND box : {w.TitleExist, w.Contents, w.FigContents, w.TableContents}) Click(box);
    EXPECT_FALSE(IsWindowEnabled(w.Author1));
    Click(w.NextBtn);
  });
  EXPECT_EQ(h.main().ActiveChild()->caption(), "文書2.tex");
  EXPECT_EQ(DocumentText(),
            "\\documentclass{article}\r\n\\begin{document}\r\n\\pagestyle{plain}\r\n%ここにメインの文書を書く\r\n"
            "\\end{document}\r\n");
  // The format follows the engine the class was made for; upLaTeX's documents are UTF-8.
  EXPECT_EQ(h.main().run().CurrentTeXMode, 2);
  New([&](TDocExpDlg& w) {
    Click(w.NextBtn);
    ChooseStyle(w, "jarticle");
    Pick(w.EngineBox, 1);
    Click(w.NextBtn);
    Click(w.NextBtn);
  });
  EXPECT_EQ(h.main().run().CurrentTeXMode, 1);
  EXPECT_EQ(h.Panel(kCodingPanel), "UTF-8 CRLF");
  EXPECT_TRUE(DocumentText().starts_with("\\documentclass{ujarticle}\r\n")) << DocumentText();
}

TEST_F(WizardFixture, CancellingAsksFirstAndUsesNoNumber) {
  h.Start();
  h.messages.answers = {MsgResult::No, MsgResult::Yes};
  bool still_open = false;
  New([&](TDocExpDlg& w) {
    Click(w.NextBtn);
    ChooseStyle(w, "report");
    Click(w.CancelBtn);  // "いいえ": the wizard stays where it was
    still_open = IsWindowVisible(w.hwnd()) && IsWindowVisible(w.Page2.hwnd()) &&
                 ControlText(w.StyleExp) == "論文集などに使うスタイルです。\r\n(欧文)";
    SendMessageA(w.hwnd(), WM_CLOSE, 0, 0);  // "はい"
  });
  EXPECT_TRUE(still_open);
  EXPECT_EQ(h.messages.Texts(), "文書作成ｳｨｻﾞｰﾄﾞを終了してもよろしいですか?\n文書作成ｳｨｻﾞｰﾄﾞを終了してもよろしいですか?\n");
  EXPECT_EQ(h.messages.shown[0].kind, MsgKind::Confirmation);
  EXPECT_EQ(Documents(), 0u);
  EXPECT_EQ(h.main().UntitledCounter, 1);
  // "今回はｳｨｻﾞｰﾄﾞを使わない" then "ｷｬﾝｾﾙ": a blank document, nothing asked.
  New([&](TDocExpDlg& w) {
    EXPECT_FALSE(IsWindowEnabled(w.NoUseNext));
    Click(w.NoUse);
    EXPECT_EQ(ControlText(w.NextBtn), "完了");
    Click(w.CancelBtn);
  });
  EXPECT_EQ(h.messages.shown.size(), 2u);
  EXPECT_EQ(h.main().ActiveChild()->caption(), "文書1.tex");
  EXPECT_EQ(DocumentText(), "");
}

TEST_F(WizardFixture, NotUsingItFromNextTimeOnIsKept) {
  h.Start();
  New([&](TDocExpDlg& w) {
    Click(w.NoUse);
    Click(w.NoUseNext);
    Click(w.NextBtn);
  });
  EXPECT_EQ(Documents(), 1u);
  EXPECT_FALSE(h.app().env_settings().general.use_doc_exp);
  EXPECT_EQ(h.IniValue("General", "UseDocExp"), "0");
  bool shown = false;
  WhenModal([&] {
    shown = IsWindowVisible(Wizard().hwnd());
    if (shown) Click(Wizard().CancelBtn);
  });
  h.Command(kFileNewItem);
  PumpMessages(150);
  EXPECT_FALSE(shown);
  EXPECT_EQ(h.main().ActiveChild()->caption(), "文書2.tex");
}

// With the engine bridge, the classes offered are those its list names; a bridge that
// gives no list leaves every class offered. It is asked once per program start.
TEST(WizardClassListTest, TheBridgesListLimitsTheClassesOffered) {
  struct Row { const char* list; const char* offered; const char* jarticle_engines; } rows[] = {
      {"; found\r\njarticle.cls\r\nujarticle.cls\r\narticle.cls\r\njsarticle.cls\r\njlreq.cls\r\n",
       "jsarticle jarticle article", "pLaTeX upLaTeX"},
      {"jarticle.cls\r\njlreq.cls\r\netoolbox.sty\r\neveryhook.sty\r\nsvn-prov.sty\r\nfilehook.sty\r\nlmodern.sty\r\n",
       "jlreq jarticle", "pLaTeX"},
      {nullptr, "jsarticle jsreport jsbook jlreq jarticle jreport jbook tarticle treport tbook article report book",
       "pLaTeX upLaTeX"},
  };
  for (const auto& r : rows) {
    AppHarness h;
    h.Start();
    std::string bridge = h.dir() / "quillet-tex.exe";
    ASSERT_TRUE(CopyFileA(StandInPath("stand_in_class_list.exe").c_str(), bridge.c_str(), FALSE));
    if (r.list) h.MakeFile("classes.txt", r.list);
    h.app().DocExpDlg().engine = [&] {
      return WizardEngine{std::string("\"").append(bridge).append("\""), "platex", h.dir() / "classes-found.txt"};
    };
    std::string offered, engines;
    for (int opening = 0; opening < 2; ++opening) {
      WhenModal([&] {
        TDocExpDlg& w = h.app().DocExpDlg();
        Click(w.NextBtn);
        offered = Items(w.ListBox1, false);
        ChooseStyle(w, "jarticle");
        engines = Items(w.EngineBox, true);
        SendMessageA(w.hwnd(), WM_CLOSE, 0, 0);
      });
      h.messages.answers = {MsgResult::Yes};
      h.Command(kFileNewItem);
      EXPECT_EQ(offered, r.offered) << "opening " << opening;
      EXPECT_EQ(engines, r.jarticle_engines) << "opening " << opening;
    }
    EXPECT_EQ(ReadFileBytes(h.dir() / "asked.txt"), "asked\n");
  }
}

// The shipped bridge asks the installed TeX: the wizard offers what it listed.
TEST(WizardClassListTest, TheRealBridgeListsTheInstalledClasses) {
  if (!FileExists("Z:\\usr\\bin\\kpsewhich")) GTEST_SKIP() << "TeX Live is not installed";
  AppHarness h;
  h.Start();
  std::string list = h.dir() / "classes-found.txt";
  h.app().DocExpDlg().engine = [&] {
    return WizardEngine{std::string("\"").append(StandInPath(kEngineBridgeExe)).append("\""), "platex", list};
  };
  std::string offered;
  DWORD waited = 0;
  WhenModal([&] {
    TDocExpDlg& w = h.app().DocExpDlg();
    DWORD start = GetTickCount();
    Click(w.NextBtn);
    waited = GetTickCount() - start;
    offered = Items(w.ListBox1, false);
    SendMessageA(w.hwnd(), WM_CLOSE, 0, 0);
  });
  h.messages.answers = {MsgResult::Yes};
  h.Command(kFileNewItem);
  std::string expected;
  for (const OfferedClass& row : OfferedClasses(ParseClassList(ReadFileBytes(list)))) {
    expected.append(expected.empty() ? "" : " ").append(row.doc_class->name);
  }
  EXPECT_NE(expected.find("jarticle"), std::string::npos);
  EXPECT_EQ(offered, expected);
  std::cout << "page 2 came after " << waited << " ms\n";
}

}  // namespace
}  // namespace quillet::test
