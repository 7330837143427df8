// The TeX settings dialog as a user drives it: what OK, Apply and Cancel leave in
// wintex.ini, in the Option menu and in the dialog, and what the user is told.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "aids/command_palette_win.h"
#include "help/help_file.h"
#include "help/help_win.h"
#include "tests/win/support/app_harness.h"
#include "tex/tex_settings_dialog_win.h"
#include "win/controls_win.h"

namespace quillet::test {
namespace {

using Strings = std::vector<std::string>;
using Steps = std::function<void(TPagesDlg&)>;

// Everything the dialog owns, and a section it does not; "<r>" stands for the folder of
// the TeX directories.
const std::string kBase =
    "[Environ]\r\nTEXINPUTS=<r>inputs\r\nTEXFONTS=<r>fonts\r\nTEXFORMATS=<r>fmt\r\nTEXPOOL=c:\\tex\\pool\r\n"
    "[TeXMode]\r\nLaTeX=lplain\r\npLaTeX=platex\r\n"
    "[TeXModeDefault]\r\nTeXModeDefault=1\r\n"
    "[Style]\r\nStyle=jarticle,jbook\r\n"
    "[jarticle]\r\nsizeoption=10pt,11pt\r\nptsizeoption=a4j\r\nstyleoption=twocolumn\r\n"
    "[jbook]\r\nsizeoption=12pt\r\nptsizeoption=\r\nstyleoption=\r\n"
    "[Font]\r\nmin10=ＭＳ 明朝\r\n"
    "[WpvTeX]\r\nsize=big\r\n";
const std::string kMenuSection = "[TeXMode]\r\nLaTeX=lplain\r\npLaTeX=platex\r\n";
const std::string kStyleSections =
    "[jarticle]\r\nsizeoption=10pt,11pt\r\nptsizeoption=a4j\r\nstyleoption=twocolumn\r\n"
    "[jbook]\r\nsizeoption=12pt\r\nptsizeoption=\r\nstyleoption=\r\n";

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  std::size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

std::string Expanded(std::string text, const std::string& r) {
  for (std::size_t at; (at = text.find("<r>")) != std::string::npos;) text.replace(at, 3, r);
  return text;
}

std::string Kanji(int n) {
  std::string s;
  for (int i = 0; i < n; ++i) s += "表";
  return s;
}

Strings ListItems(HWND list) {
  Strings items;
  int n = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < n; ++i) {
    std::string text(static_cast<std::size_t>(SendMessageA(list, LB_GETTEXTLEN, i, 0)) + 1, '\0');
    text.resize(static_cast<std::size_t>(SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()))));
    items.push_back(text);
  }
  return items;
}

void DoubleClick(HWND list_box, int index) {
  Pick(list_box, index);
  SendMessageA(GetParent(list_box), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list_box), LBN_DBLCLK),
               reinterpret_cast<LPARAM>(list_box));
}

void Click(HWND button) { SendMessageA(button, BM_CLICK, 0, 0); }
bool Enabled(HWND control) { return IsWindowEnabled(control) != FALSE; }

// A click on a tab: the tab control tells the dialog itself.
void ShowPage(TPagesDlg& d, int page) { SendMessageA(d.PageCtl.hwnd(), TCM_SETCURFOCUS, page, 0); }

// The program started on a wintex.ini (kBase unless given) beside TeX directories with a
// few files, and the dialog opened from the Option menu.
struct Session {
  explicit Session(std::optional<std::string> file = std::nullopt) {
    for (const char* d : {"fonts", "fmt", "inputs"}) CreateDirectoryA((h.dir() / d).c_str(), nullptr);
    for (const char* f : {"fonts\\cmr10.tfm", "fonts\\MIN10.TFM", "fmt\\lplain.fmt", "fmt\\platex.fmt",
                          "inputs\\jarticle.sty", "inputs\\A4J.STY", "inputs\\jbook.sty", "inputs\\JREPORT.STY"}) {
      WriteFileBytes(h.dir() / f, "x");
    }
    if (file) WriteFileBytes(h.wintex_path(), Expanded(*file, r));
    h.Start();
  }
  TPagesDlg& dialog() { return h.app().PagesDlg(); }
  // The user's steps inside the dialog; when they leave it open, Cancel closes it.
  void Run(const Steps& steps) {
    bool ran = false;
    WhenModal([&] {
      steps(dialog());
      ran = true;
      if (IsWindowVisible(dialog().hwnd())) Click(dialog().CancelBtn);
    });
    h.Command(kSetItem);
    EXPECT_TRUE(ran);
    EXPECT_FALSE(IsWindowVisible(dialog().hwnd()));
  }
  std::string File() const { return ReadFileBytes(h.wintex_path()); }
  std::string Expected(const std::string& text) const { return Expanded(text, r); }
  // The format items as the user sees them: "*" before the checked one.
  Strings FormatItems() {
    Strings out;
    const auto& items = h.Item("Option1").children();
    for (std::size_t i = static_cast<std::size_t>(h.main().run().OptionMenuBase); i < items.size(); ++i) {
      out.push_back((items[i]->checked() ? "*" : "") + items[i]->caption());
    }
    return out;
  }
  // Every message shown, "W " before a warning and "E " before an error.
  Strings Messages() const {
    Strings texts;
    for (const auto& m : h.messages.shown) {
      texts.push_back((m.kind == MsgKind::Warning ? "W " : m.kind == MsgKind::Error ? "E " : "? ") + m.text);
    }
    return texts;
  }

  AppHarness h;
  std::string r = h.dir().path();
};

TEST(TeXSettingsTest, OKWritesTheChangedPagesAndLeavesTheRestOfTheFile) {
  struct Row {
    const char* what;
    Steps steps;
    std::string file;
    Strings menu;
  } rows[] = {
      {"nothing changed", [](TPagesDlg&) {}, kBase, {"LaTeX", "*pLaTeX"}},
      {"a directory and a font mapping",
       [](TPagesDlg& d) {
         TypeInto(d.TEXPOOL, "d:\\pool");
         ShowPage(d, 3);
         Pick(d.TFMs, 0);
         TypeInto(d.fontname, "ＭＳ ゴシック");
       },
       Replaced(Replaced(kBase, "TEXPOOL=c:\\tex\\pool", "TEXPOOL=d:\\pool"), "min10=ＭＳ 明朝\r\n",
                "min10=ＭＳ 明朝\r\ncmr10=ＭＳ ゴシック\r\n"),
       {"LaTeX", "*pLaTeX"}},
      {"TeX menu entries changed, added and deleted",
       [](TPagesDlg& d) {
         ShowPage(d, 2);
         DoubleClick(d.MenuList, 1);
         TypeInto(d.MenuName, "pLaTeX 2e");
         Click(d.Button9);
         Click(d.Button2);
         TypeInto(d.fmtFile, "LPLAIN.FMT");  // no menu string: the format's name
         Click(d.Button9);
         Pick(d.MenuList, 0);
         Click(d.Button4);
       },
       Replaced(kBase, kMenuSection, "") + "[TeXMode]\r\npLaTeX 2e=platex\r\nLPLAIN=LPLAIN\r\n",
       {"pLaTeX 2e", "*LPLAIN"}},
      {"a style made from the style files, another deleted",
       [](TPagesDlg& d) {
         ShowPage(d, 4);
         Click(d.Button5);
         DoubleClick(d.StyleFile, 3);  // JREPORT.STY into the name field, entered first
         SetFocus(d.sizeopt);
         TypeInto(d.sizeopt, "10pt");
         DoubleClick(d.StyleFile, 0);  // A4J.STY after a ","
         SetFocus(d.styleopt);
         DoubleClick(d.StyleFile, 2);
         Click(d.Button8);
         Pick(d.DefinedSty, 0);
         Click(d.Button7);
       },
       Replaced(Replaced(kBase, "Style=jarticle,jbook", "Style=jbook,jreport"), kStyleSections, "") +
           "[jbook]\r\nsizeoption=12pt\r\nptsizeoption=\r\nstyleoption=\r\n"
           "[jreport]\r\nsizeoption=10pt,a4j\r\nptsizeoption=\r\nstyleoption=jbook\r\n",
       {"LaTeX", "*pLaTeX"}},
      {"every entry and every style deleted",
       [](TPagesDlg& d) {
         ShowPage(d, 2);
         for (int i = 0; i < 2; ++i) Pick(d.MenuList, 0), Click(d.Button4);
         ShowPage(d, 4);
         for (int i = 0; i < 2; ++i) Pick(d.DefinedSty, 0), Click(d.Button7);
       },
       Replaced(Replaced(Replaced(kBase, kMenuSection, ""), kStyleSections, ""), "Style=jarticle,jbook", "Style="),
       {}},
      {"a directory typed past 1023 bytes is cut on a character boundary",
       [](TPagesDlg& d) { TypeInto(d.TEXINPUTS, std::string("x") + Kanji(600)); },
       Replaced(kBase, "TEXINPUTS=<r>inputs", std::string("TEXINPUTS=x") + Kanji(511)), {"LaTeX", "*pLaTeX"}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    Session s(kBase);
    s.Run([&](TPagesDlg& d) {
      row.steps(d);
      Click(d.OKBtn);
    });
    EXPECT_EQ(s.File(), s.Expected(row.file));
    EXPECT_EQ(s.FormatItems(), row.menu);
    EXPECT_EQ(s.h.Item("N8").visible(), !row.menu.empty());
    EXPECT_TRUE(s.h.messages.shown.empty()) << s.h.messages.Texts();
  }
}

// A file another program wrote: its comments, spacing and sections the dialog does not
// own keep their bytes while each page is applied in turn.
TEST(TeXSettingsTest, WhatTheDialogDoesNotOwnKeepsItsBytes) {
  const std::string foreign =
      "; wintex.ini of the engine\r\n"
      "[environ]\r\n  TEXINPUTS = <r>inputs\r\nTEXFONTS=<r>fonts\r\nTEXFORMATS=<r>fmt\r\nEXTRA=keep\r\n\r\n"
      "[WpvTeX]\r\n;size=small\r\nsize=big\r\n\r\n"
      "[texmode]\r\nLaTeX=lplain\r\n; old=old\r\n\r\n"
      "[Style]\r\nStyle=jarticle\r\n[jarticle]\r\n sizeoption=10pt\r\n[font]\r\nMIN10 = ＭＳ 明朝\r\n";
  Session s(foreign);
  s.Run([](TPagesDlg& d) {
    TypeInto(d.TEXPOOL, "c:\\pool");
    Click(d.ApplyBtn);
    ShowPage(d, 2);
    Click(d.Button2);
    TypeInto(d.MenuName, "pLaTeX");
    TypeInto(d.fmtFile, "platex.fmt");
    Click(d.ApplyBtn);
    ShowPage(d, 3);
    Pick(d.TFMs, 1);
    TypeInto(d.fontname, "ＭＳ ゴシック");
    Click(d.ApplyBtn);
    ShowPage(d, 4);
    DoubleClick(d.DefinedSty, 0);
    TypeInto(d.stsizeopt, "a4j");
    Click(d.ApplyBtn);
  });
  EXPECT_EQ(s.File(), s.Expected(
                          "; wintex.ini of the engine\r\n"
                          "[environ]\r\nTEXINPUTS=<r>inputs\r\nTEXFONTS=<r>fonts\r\nTEXFORMATS=<r>fmt\r\nEXTRA=keep\r\n"
                          "TEXPOOL=c:\\pool\r\n\r\n"
                          "[WpvTeX]\r\n;size=small\r\nsize=big\r\n\r\n"
                          "[Style]\r\nStyle=jarticle\r\n[font]\r\nMIN10=ＭＳ ゴシック\r\n"
                          "[TeXMode]\r\nLaTeX=lplain\r\npLaTeX=platex\r\n"
                          "[jarticle]\r\nsizeoption=10pt\r\nptsizeoption=a4j\r\nstyleoption=\r\n"));
  EXPECT_TRUE(s.h.messages.shown.empty()) << s.h.messages.Texts();
}

// "戻る", and a page left with its panel open, register what was typed unless the name
// is taken; letter case makes another name. Nothing reaches the file before OK or Apply.
TEST(TeXSettingsTest, DuplicateNamesAreWarnedAndNotRegistered) {
  const std::string menu_taken = "W 既に同名のﾒﾆｭｰ項目があるので \"LaTeX\" を登録できませんでした。";
  struct Row {
    const char* what;
    Steps steps;
    Strings messages, menu, styles;
  } rows[] = {
      {"adding a menu string that exists",
       [](TPagesDlg& d) {
         ShowPage(d, 2);
         Click(d.Button2);
         TypeInto(d.MenuName, "LaTeX");
         TypeInto(d.fmtFile, "x.fmt");
         Click(d.Button9);
       },
       {menu_taken}, {"LaTeX", "pLaTeX"}, {"jarticle", "jbook"}},
      {"changing an entry to another's string",
       [](TPagesDlg& d) {
         ShowPage(d, 2);
         Pick(d.MenuList, 1);
         Click(d.Button3);
         TypeInto(d.MenuName, "LaTeX");
         Click(d.Button9);
       },
       {menu_taken}, {"LaTeX", "pLaTeX"}, {"jarticle", "jbook"}},
      {"changing an entry keeping its string, adding one differing only in case (one key of the file)",
       [](TPagesDlg& d) {
         ShowPage(d, 2);
         DoubleClick(d.MenuList, 0);
         TypeInto(d.fmtFile, "lplain2.fmt");
         Click(d.Button9);
         Click(d.Button2);
         TypeInto(d.MenuName, "latex");
         Click(d.Button9);
       },
       {"W 既に同名のﾒﾆｭｰ項目があるので \"latex\" を登録できませんでした。"}, {"LaTeX", "pLaTeX"},
       {"jarticle", "jbook"}},
      {"leaving the page with the panel open",
       [](TPagesDlg& d) {
         ShowPage(d, 2);
         Click(d.Button2);
         TypeInto(d.MenuName, "AMS");
         ShowPage(d, 3);
       },
       {}, {"LaTeX", "pLaTeX", "AMS"}, {"jarticle", "jbook"}},
      {"adding a style that exists, then one without a name",
       [](TPagesDlg& d) {
         ShowPage(d, 4);
         Click(d.Button5);
         TypeInto(d.BasicStyle, "jbook");
         Click(d.Button8);
         Click(d.Button5);
         Click(d.Button8);
       },
       {"W 既に同名のｽﾀｲﾙ名があるので \"jbook\" を登録できませんでした。"}, {"LaTeX", "pLaTeX"},
       {"jarticle", "jbook", "Untitled"}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    Session s(kBase);
    Strings menu, styles;
    s.Run([&](TPagesDlg& d) {
      row.steps(d);
      ShowPage(d, 2);
      menu = ListItems(d.MenuList);
      ShowPage(d, 4);
      styles = ListItems(d.DefinedSty);
    });
    EXPECT_EQ(s.Messages(), row.messages);
    EXPECT_EQ(menu, row.menu);
    EXPECT_EQ(styles, row.styles);
    EXPECT_EQ(s.File(), s.Expected(kBase));
  }
}

// A style may not take the name of a section the file needs, whether typed or found in
// the file's own style list; the file keeps those sections.
TEST(TeXSettingsTest, AStyleNamedLikeASectionOfTheFileIsRefused) {
  for (const char* name : {"Font", "texmode", " Style "}) {
    Session s(kBase);
    Strings styles;
    s.Run([&](TPagesDlg& d) {
      ShowPage(d, 4);
      Click(d.Button5);
      TypeInto(d.BasicStyle, name);
      Click(d.Button8);
      styles = ListItems(d.DefinedSty);
    });
    std::string bare = std::string(name) == " Style " ? "Style" : name;
    EXPECT_EQ(s.Messages(), Strings{"W " + ReservedStyleNameMessage(bare)}) << name;
    EXPECT_EQ(styles, (Strings{"jarticle", "jbook"})) << name;
    EXPECT_EQ(s.File(), s.Expected(kBase)) << name;
  }

  const std::string file = "[Font]\r\nmin10=ＭＳ 明朝\r\n[Style]\r\nStyle=jarticle,Font\r\n[jarticle]\r\nsizeoption=10pt\r\n";
  Session s(file);
  bool refused_kept_apply = false;
  s.Run([&](TPagesDlg& d) {
    ShowPage(d, 4);
    Click(d.Button5);
    TypeInto(d.BasicStyle, "jreport");
    Click(d.ApplyBtn);
    refused_kept_apply = Enabled(d.ApplyBtn) && ReadFileBytes(s.h.wintex_path()) == file;
    Pick(d.DefinedSty, 1);
    Click(d.Button7);
    Click(d.ApplyBtn);
  });
  EXPECT_TRUE(refused_kept_apply);
  EXPECT_EQ(s.Messages(), Strings{"W " + ReservedStyleNameMessage("Font")});
  EXPECT_EQ(s.File(),
            "[Font]\r\nmin10=ＭＳ 明朝\r\n[Style]\r\nStyle=jarticle,jreport\r\n"
            "[jarticle]\r\nsizeoption=10pt\r\nptsizeoption=\r\nstyleoption=\r\n"
            "[jreport]\r\nsizeoption=\r\nptsizeoption=\r\nstyleoption=\r\n");
}

// Cancel writes nothing, and the next showing starts again from what is in memory; the
// command palette stays hidden while the dialog is active.
TEST(TeXSettingsTest, CancelLeavesTheFileAndTheNextShowingAsTheyWere) {
  Session s(kBase);
  s.h.NewBlankDocument();
  ASSERT_TRUE(IsWindowVisible(s.h.app().Input().hwnd()));
  bool palette_hidden = false;
  s.Run([&](TPagesDlg& d) {
    palette_hidden = !IsWindowVisible(s.h.app().Input().hwnd());
    TypeInto(d.TEXFONTS, "d:\\fonts");
    ShowPage(d, 2);
    Pick(d.MenuList, 0);
    Click(d.Button4);
    ShowPage(d, 3);
    Pick(d.TFMs, 1);
    TypeInto(d.fontname, "ＭＳ ゴシック");
    ShowPage(d, 4);
    Click(d.Button5);
    TypeInto(d.BasicStyle, "jreport");
    Click(d.CancelBtn);
  });
  EXPECT_TRUE(palette_hidden);
  EXPECT_EQ(s.File(), s.Expected(kBase));
  Strings shown;
  bool apply = true, panel = true;
  s.Run([&](TPagesDlg& d) {
    shown = {ControlText(d.TEXFONTS), ControlText(d.fontname)};
    for (HWND list : {d.MenuList, d.DefinedSty}) {
      for (const auto& item : ListItems(list)) shown.push_back(item);
    }
    apply = Enabled(d.ApplyBtn);
    panel = IsWindowVisible(d.GroupBox2) != FALSE;
  });
  EXPECT_EQ(shown, (Strings{s.r + "fonts", "ＭＳ 明朝", "LaTeX", "pLaTeX", "jarticle", "jbook"}));
  EXPECT_FALSE(apply);
  EXPECT_FALSE(panel);
  EXPECT_EQ(s.FormatItems(), (Strings{"LaTeX", "*pLaTeX"}));
  EXPECT_TRUE(s.h.messages.shown.empty()) << s.h.messages.Texts();
}

// Apply writes the page on show and nothing else; what it wrote stays when the dialog is
// then cancelled, and the Option menu follows the TeX menu at once.
TEST(TeXSettingsTest, ApplyWritesOnlyThePageOnShow) {
  Session s(kBase);
  Strings apply;
  auto note = [&](TPagesDlg& d, const char* when) { apply.push_back(when + std::string(Enabled(d.ApplyBtn) ? "+" : "-")); };
  Strings menu_while_open;
  s.Run([&](TPagesDlg& d) {
    note(d, "shown");
    TypeInto(d.TEXPOOL, "d:\\pool");
    note(d, "typed");
    ShowPage(d, 2);
    note(d, "page 2");
    DoubleClick(d.MenuList, 1);
    Click(d.Button9);
    note(d, "nothing changed");
    Pick(d.MenuList, 0);
    Click(d.Button4);
    note(d, "deleted");
    Click(d.ApplyBtn);
    note(d, "applied");
    menu_while_open = s.FormatItems();
    ShowPage(d, 0);
    note(d, "page 0");
    Click(d.CancelBtn);
  });
  EXPECT_EQ(apply, (Strings{"shown-", "typed+", "page 2-", "nothing changed-", "deleted+", "applied-", "page 0+"}));
  EXPECT_EQ(menu_while_open, Strings{"*pLaTeX"});
  EXPECT_EQ(s.File(), s.Expected(Replaced(kBase, kMenuSection, "") + "[TeXMode]\r\npLaTeX=platex\r\n"));
  EXPECT_EQ(s.FormatItems(), Strings{"*pLaTeX"});
}

// A refused write is told once per press and loses nothing: the dialog stays open with
// what was typed, the unwritten pages stay to be written, the file and the program's
// configuration stay as they were.
TEST(TeXSettingsTest, ARefusedWriteIsReportedAndNothingIsLost) {
  struct Row { const char* what; bool directory; const char* cause; } rows[] = {
      {"a read-only file", false, "ﾌｧｲﾙが読み取り専用です。読み取り専用を外してから、もう一度試してください。"},
      {"a folder in its place", true, "この場所に書き込む権限がありません。書き込みの権限を管理者に求めてください。"}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    std::optional<Session> s;
    if (row.directory) {
      s.emplace(std::nullopt);
    } else {
      s.emplace(kBase);
    }
    const std::string path = s->h.wintex_path();
    if (row.directory) {
      ASSERT_TRUE(CreateDirectoryA(path.c_str(), nullptr));
    } else {
      ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
    }
    const std::string pool = s->h.app().tex_config().TEXPOOL;
    const Strings menu = s->FormatItems();
    bool open_after_ok = false, apply_after_ok = false;
    Strings kept;
    s->Run([&](TPagesDlg& d) {
      TypeInto(d.TEXPOOL, "d:\\pool");
      ShowPage(d, 2);
      Click(d.Button2);
      TypeInto(d.MenuName, "AMS");
      Click(d.OKBtn);
      open_after_ok = IsWindowVisible(d.hwnd()) != FALSE;
      apply_after_ok = Enabled(d.ApplyBtn);
      Click(d.ApplyBtn);
      kept = ListItems(d.MenuList);
      kept.push_back(ControlText(d.TEXPOOL));
      kept.push_back(d.dirty(0) && d.dirty(2) ? "both pages to write" : "");
    });
    EXPECT_TRUE(open_after_ok);
    EXPECT_TRUE(apply_after_ok);
    Strings expected_kept = row.directory ? Strings{} : Strings{"LaTeX", "pLaTeX"};
    for (const char* k : {"AMS", "d:\\pool", "both pages to write"}) expected_kept.push_back(k);
    EXPECT_EQ(kept, expected_kept);
    EXPECT_EQ(s->Messages(), Strings(2, "E " + RefusedWriteMessage() + "\r" + row.cause));
    EXPECT_EQ(s->h.app().tex_config().TEXPOOL, pool);
    EXPECT_EQ(s->FormatItems(), menu);
    if (row.directory) {
      EXPECT_EQ(GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_DIRECTORY, DWORD{FILE_ATTRIBUTE_DIRECTORY});
    } else {
      EXPECT_EQ(s->File(), s->Expected(kBase));
      SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
  }
}

std::string TopicText(unsigned number) {
  static HelpFile file = ParseHelpFile(ReadFileBytes("Quillet.hlp"));
  const HelpTopic* topic = file.Find(number);
  return topic ? TopicDisplayText(*topic) : "<no topic " + std::to_string(number) + ">";
}

// The help button shows the page's topic, F1 on a control the control's.
TEST(TeXSettingsTest, HelpShowsThePageOrTheControlTopic) {
  Session s(kBase);
  HelpEngine& help = s.h.app().help_engine();
  auto popup = [&] { return help.popup_window() ? help.popup_text() : std::string("<none>"); };
  Strings pages, expected_pages;
  s.Run([&](TPagesDlg& d) {
    for (int page = 0; page < TPagesDlg::kPageCount; ++page) {
      ShowPage(d, page);
      Click(d.HelpBtn);
      pages.push_back(popup());
      expected_pages.push_back(TopicText(48 + static_cast<unsigned>(page)));
    }
  });
  EXPECT_EQ(pages, expected_pages);

  TPagesDlg& d = s.dialog();
  const std::vector<HWND> controls = {
      d.OKBtn, d.CancelBtn, d.ApplyBtn, d.HelpBtn, d.TEXINPUTS, d.TEXFONTS, d.TEXFORMATS, d.TEXPOOL, d.LoadFile,
      d.fmtPath, d.Button1, d.RadioGroup[1], d.DelLog, d.makeBtn, d.MenuList, d.Button2, d.Button3, d.Button4,
      d.MenuName, d.fmtFile, d.Button9, d.TFMs, d.fontname, d.DefinedSty, d.Button5, d.Button6, d.Button7,
      d.BasicStyle, d.StyleFile, d.sizeopt, d.stsizeopt, d.styleopt, d.Button8};
  for (std::size_t i = 0; i < controls.size(); ++i) {
    help.Request(s.h.main().hwnd(), HELP_QUIT, 0);
    HELPINFO info{};
    info.cbSize = sizeof(info);
    info.iContextType = HELPINFO_WINDOW;
    info.hItemHandle = controls[i];
    SendMessageA(d.hwnd(), WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(popup(), TopicText(static_cast<unsigned>(75 + i))) << 75 + i;
  }
}

// Format files are made outside the program: the page shows the engine kind and cannot
// be used.
TEST(TeXSettingsTest, TheFormatPageShowsTheEngineKindAndCannotBeUsed) {
  Session s(kBase);
  s.h.app().env_settings().tex.use = 1;
  std::vector<bool> enabled;
  bool big = false;
  s.Run([&](TPagesDlg& d) {
    ShowPage(d, 1);
    big = IsChecked(d.RadioGroup[1]) && !IsChecked(d.RadioGroup[0]);
    for (HWND h : {d.LoadFile, d.fmtPath, d.Button1, d.RadioGroup[0], d.DelLog, d.makeBtn}) enabled.push_back(Enabled(h));
  });
  EXPECT_TRUE(big);
  EXPECT_EQ(enabled, std::vector<bool>(6, false));
}

}  // namespace
}  // namespace quillet::test
