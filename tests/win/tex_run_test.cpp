// The road of a TeX run over real DDE with the stand-in engine and viewers: the execute
// string, the wait for the log, the error window, the selected line, the viewer's commands,
// and every way a run can fail or be ended.
#include <windows.h>

#include <gtest/gtest.h>

#include "core/command_ids.h"
#include "document/mdi_child_win.h"
#include "prefs/env_settings.h"
#include "tests/win/support/app_harness.h"
#include "tests/win/support/standins.h"
#include "tex/error_window_win.h"
#include "tex/tex_run_win.h"
#include "win/controls_win.h"

namespace quillet::test {
namespace {

std::string Fixture(const std::string& name) { return std::string(QUILLET_FIXTURES_DIR) + "/tex-logs/" + name; }

// The window's text for a fixture's expected lines (LF-separated, each ending in LF).
std::string WindowTextFor(const std::string& expected_raw) {
  std::string text;
  for (char c : expected_raw) {
    if (c == '\n') {
      text += "\r\n";
    } else {
      text += c;
    }
  }
  if (text.size() >= 2) text.resize(text.size() - 2);  // no break after the last line
  return text;
}

const char* const kTwoFormats = "[TeXMode]\r\nLaTeX=lplain\r\nplain TeX=plain\r\n[TeXModeDefault]\r\nTeXModeDefault=0\r\n";

struct RunFixture : ::testing::Test {
  EndStandInsAtExit cleanup;
  AppHarness h;
  std::string engine_record, viewer_record, source;

  // Settings: the stand-in engine with the scenario, and the viewer kind with a stand-in
  // viewer that answers on kind's service.
  void Start(EngineScenario scenario, int viewer_kind = 0, const std::string& source_text = "line\r\n") {
    engine_record = h.dir() / "engine.txt";
    viewer_record = h.dir() / "viewer.txt";
    scenario.record = engine_record;
    const char* service = viewer_kind == 4 ? "yaWinDVI" : "WinDVI";
    std::string viewer_keys;
    for (int k = 0; k < 5; ++k) {
      viewer_keys += std::string(kDviKinds[k]) + "=" + ViewerCommandLine(service, viewer_record) + "\r\n";
    }
    h.WriteIni("[TeX]\r\nUse=0\r\nｲﾝﾌﾟﾚｽ  WpvTeX=" + EngineCommandLine(scenario) + "\r\n[Dvi]\r\nUse=" +
               std::to_string(viewer_kind) + "\r\n" + viewer_keys);
    WriteFileBytes(h.wintex_path(), kTwoFormats);
    source = h.MakeFile("論文 表.tex", source_text);
    AgeFile(source, 10);
    h.Start({source});
  }
  std::string ErrorText() { return EditorText(h.app().ErrorWin().Memo); }
  bool ErrorWindowShown() { return IsWindowVisible(h.app().ErrorWin().hwnd()) != FALSE; }
  TMDIChild* Doc() { return h.main().ActiveChild(); }
  std::string Messages() { return h.messages.Texts(); }
  void ExpectCommandsEnabled() {
    for (const char* name : {"TeX1Item", "TeX2Item", "TeX3Item", "FileExitItem"}) {
      EXPECT_TRUE(h.Item(name).enabled()) << name;
    }
    for (ToolButton b : {TeX1Btn, TeX2Btn, TeX3Btn}) EXPECT_TRUE(h.main().speed_panel().IsEnabled(b));
  }
};

TEST_F(RunFixture, ACleanRunSendsTheCommandAndEndsTheEngine) {
  Start({});
  h.Command(h.main().run().FormatCommandIds[1]);  // plain TeX: index 1
  h.Command(kTeX1Item);
  EXPECT_EQ(ReadRecord(engine_record), (std::vector<std::string>{"[virtex(" + source + ",1)]"}));
  EXPECT_EQ(ErrorText(), "");
  EXPECT_FALSE(ErrorWindowShown());
  EXPECT_TRUE(h.messages.shown.empty()) << Messages();
  EXPECT_TRUE(WaitUntilNoneRunning(kEngineExe, 5000));
  EXPECT_TRUE(ReadRecord(viewer_record).empty());  // no viewer for a plain run
  ExpectCommandsEnabled();
  // The run panel says the run ended well, until the next edit.
  std::string said = h.Panel(kRunPanel);
  EXPECT_TRUE(said.starts_with("TeX 終了 (") && said.ends_with(" 秒)")) << said;
  SendMessageA(Doc()->Memo, WM_CHAR, 'a', 0);
  EXPECT_EQ(h.Panel(kRunPanel), "");
}

TEST_F(RunFixture, AnErrorRunShowsTheWindowAndSelectsTheLine) {
  std::string log = h.MakeFile("error.log", "This is e-pTeX\r\n(./a.tex\r\n! Undefined control sequence.\r\n"
                                            "l.12 \\foo\r\n         bar\r\n? \r\n");
  std::string text;
  for (int i = 1; i <= 20; ++i) text += "line " + std::to_string(i) + "\r\n";
  Start({.log = log}, 0, text);
  h.Command(kTeX2Item);
  EXPECT_EQ(ErrorText(), "(./a.tex\r\n! Undefined control sequence.\r\nl.12 \\foo\r\n         bar");
  EXPECT_TRUE(ErrorWindowShown());
  EXPECT_TRUE(h.Item("ErrMesItem").checked());
  Range sel = EditorSelection(Doc()->Memo);
  EXPECT_EQ(EditorText(Doc()->Memo).substr(static_cast<std::size_t>(sel.start),
                                            static_cast<std::size_t>(sel.end - sel.start)),
            "line 12");
  EXPECT_TRUE(ReadRecord(viewer_record).empty());  // errors: no preview
  EXPECT_EQ(h.Panel(kRunPanel), "");
  EXPECT_TRUE(WaitUntilNoneRunning(kEngineExe, 5000));
  ExpectCommandsEnabled();
}

TEST_F(RunFixture, RealLogsFillTheWindowAsTheyShould) {
  struct Row { const char* log; const char* expected; int select; } rows[] = {
      {"c03_two_errors_sjis/a_eof.log", "c03_two_errors_sjis/a_eof.expected.raw", 5},
      {"c08_error_in_input_sjis/b_nonstop.log", "c08_error_in_input_sjis/b_nonstop.expected.raw", 3},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.log);
    AppHarness fresh;  // a new program for each log
    std::string record = fresh.dir() / "engine.txt";
    fresh.WriteIni("[TeX]\r\nUse=0\r\nｲﾝﾌﾟﾚｽ  WpvTeX=" + EngineCommandLine({.record = record, .log = Fixture(row.log)}) +
                   "\r\n");
    WriteFileBytes(fresh.wintex_path(), kTwoFormats);
    std::string text;
    for (int i = 1; i <= 30; ++i) text += "% " + std::to_string(i) + "\r\n";
    std::string src = fresh.MakeFile("main.tex", text);
    AgeFile(src, 10);
    fresh.Start({src});
    fresh.Command(kTeX1Item);
    EXPECT_EQ(EditorText(fresh.app().ErrorWin().Memo), WindowTextFor(ReadFileBytes(Fixture(row.expected))));
    HWND memo = fresh.main().ActiveChild()->Memo;
    EXPECT_EQ(EditorSelection(memo).start, SendMessageA(memo, EM_LINEINDEX, static_cast<WPARAM>(row.select - 1), 0));
    EndStartedProcesses(kEngineExe);
  }
}

TEST_F(RunFixture, ANoPageRunStillPreviews) {
  Start({.log = Fixture("c09_no_pages_sjis/a_eof.log"), .dvi = true}, 0);
  h.Command(kTeX2Item);
  EXPECT_EQ(ErrorText(), WindowTextFor(ReadFileBytes(Fixture("c09_no_pages_sjis/a_eof.expected.raw"))));
  EXPECT_FALSE(ErrorWindowShown());
  ASSERT_TRUE(WaitForRecordLines(viewer_record, 2, 10000));
  std::string dvi = source.substr(0, source.size() - 4) + ".dvi";
  EXPECT_EQ(ReadRecord(viewer_record), (std::vector<std::string>{"[FileOpen(\"" + dvi + "\")]", "[WinNormal]"}));
}

TEST_F(RunFixture, APreviewSkipsTheEngineWhenTheDviIsNewerButNotInTheSameTwoSeconds) {
  Start({.dvi = true}, 3);
  std::string dvi = source.substr(0, source.size() - 4) + ".dvi";
  WriteFileBytes(dvi, "dvi");
  h.Command(kTeX2Item);
  EXPECT_TRUE(ReadRecord(engine_record).empty());
  EXPECT_TRUE(StartedProcesses(kEngineExe).empty());
  ASSERT_TRUE(WaitForRecordLines(viewer_record, 2, 10000));
  EXPECT_EQ(ReadRecord(viewer_record), (std::vector<std::string>{"[FileOpen(" + dvi + ")]", "[WinNormal]"}));
  // The same 2-second slot is not newer: the engine runs.
  AgeFile(dvi, 10);
  HANDLE f = CreateFileA(source.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  HANDLE d = CreateFileA(dvi.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  FILETIME dvi_time;
  GetFileTime(d, nullptr, nullptr, &dvi_time);
  SetFileTime(f, nullptr, nullptr, &dvi_time);
  CloseHandle(f);
  CloseHandle(d);
  h.Command(kTeX3Item);
  EXPECT_EQ(ReadRecord(engine_record).size(), 1u);
}

TEST_F(RunFixture, ViewerKindsQuoteAndNameTheirService) {
  struct Row { int kind; bool quoted; } rows[] = {{0, true}, {3, false}, {4, false}};
  for (auto row : rows) {
    SCOPED_TRACE(row.kind);
    EndStandInsAtExit each;
    AppHarness fresh;
    std::string record = fresh.dir() / "viewer.txt";
    const char* service = row.kind == 4 ? "yaWinDVI" : "WinDVI";
    fresh.WriteIni("[Dvi]\r\nUse=" + std::to_string(row.kind) + "\r\n" + kDviKinds[row.kind] + "=" +
                   ViewerCommandLine(service, record) + "\r\n");
    std::string src = fresh.MakeFile("a.tex", "x");
    fresh.Start({src});
    std::string dvi = fresh.dir() / "a.dvi";
    // Print sends the open command and then [FilePrint].
    TeXRunner runner(fresh.main().run());
    ViewerRequest viewer{.kind = row.kind, .command = fresh.app().env_settings().dvi.ChosenPath()};
    runner.OpenInViewer(src, ViewerAction::Print, viewer);
    ASSERT_TRUE(WaitForRecordLines(record, 2, 10000));
    std::string name = row.quoted ? "\"" + dvi + "\"" : dvi;
    EXPECT_EQ(ReadRecord(record), (std::vector<std::string>{"[FileOpen(" + name + ")]", "[FilePrint]"}));
    // A running viewer is not started again.
    runner.OpenInViewer(src, ViewerAction::Preview, viewer);
    ASSERT_TRUE(WaitForRecordLines(record, 4, 10000));
    EXPECT_EQ(StartedProcesses(kViewerExe).size(), 1u);
    EXPECT_TRUE(fresh.messages.shown.empty()) << fresh.messages.Texts();
  }
}

// A viewer program that starts but never offers its service is reported after a while,
// not left silent.
TEST_F(RunFixture, AViewerThatNeverAnswersIsReported) {
  Start({});
  h.app().env_settings().dvi.paths[0] = EngineCommandLine({.no_service = true});  // a program without "WinDVI"
  DWORD start = GetTickCount();
  TeXRunner runner(h.main().run());
  runner.OpenInViewer(source, ViewerAction::Preview, {.kind = 0, .command = h.app().env_settings().dvi.paths[0]});
  EXPECT_GE(GetTickCount() - start, 4000u);
  EXPECT_EQ(Messages(), "DVIﾄﾞﾗｲﾊﾞと接続できません。\n");
}

TEST_F(RunFixture, TheOnlineManualIsBelowTheViewersDirectory) {
  Start({});
  std::string record = h.dir() / "running.txt";
  ReadyEvent ready;
  StandInProcess viewer(ViewerCommandLine("WinDVI", record, ready.name()));
  ASSERT_TRUE(ready.Wait(10000));
  h.app().env_settings().dvi.paths[0] = "C:\\WINDVI\\BIN\\WINDVI.EXE";
  EXPECT_TRUE(h.Item("DigitalItem").enabled());
  h.Command(kDigitalItem);
  ASSERT_TRUE(WaitForRecordLines(record, 2, 10000)) << Messages();
  EXPECT_EQ(ReadRecord(record),
            (std::vector<std::string>{"[FileOpen(\"C:\\WINDVI\\Digital\\Windig.dvi\")]", "[WinNormal]"}));
}

TEST_F(RunFixture, AnEngineThatNeverAnswersIsReportedAndEnded) {
  Start({.no_service = true});
  DWORD start = GetTickCount();
  h.Command(kTeX1Item);
  DWORD took = GetTickCount() - start;
  EXPECT_GE(took, 5000u);
  EXPECT_LT(took, 15000u);
  EXPECT_EQ(Messages(), "VirTeXと接続できません。\n");
  EXPECT_TRUE(WaitUntilNoneRunning(kEngineExe, 5000));
  ExpectCommandsEnabled();
}

TEST_F(RunFixture, AMissingEngineProgramIsReportedAtOnce) {
  Start({});
  h.app().env_settings().tex.paths[0] = h.dir() / "no-such-engine.exe";
  h.Command(kTeX1Item);
  EXPECT_EQ(Messages(), "VirTeXと接続できません。\n");
}

TEST_F(RunFixture, ALogHeldOpenIsReadOnceReleased) {
  Start({.hold_ms = 1500});
  DWORD start = GetTickCount();
  h.Command(kTeX1Item);
  EXPECT_GE(GetTickCount() - start, 1400u);
  EXPECT_TRUE(h.messages.shown.empty()) << Messages();
  ExpectCommandsEnabled();
}

// A runaway engine's log of more than 64 MB: its start is shown and the user is told.
TEST_F(RunFixture, AHugeLogIsReadOnlyAsFarAsItsFirst64MB) {
  std::string log = "This is TeX\r\n! Undefined control sequence.\r\nl.1 \\foo\r\n\r\n";
  const std::string filler = std::string(1022, 'x') + "\r\n";
  while (log.size() < (65u << 20)) log += filler;
  log += "! Late error.\r\nl.2 \\late\r\n";
  std::string log_file = h.dir() / "huge.log";
  WriteFileBytes(log_file, log);
  log.clear();
  Start({.log = log_file});
  h.Command(kTeX1Item);
  EXPECT_EQ(Messages(), "ﾛｸﾞﾌｧｲﾙ " + source.substr(0, source.size() - 4) + ".log" +
                            " は大きすぎるため、先頭の64MBだけを読み込みました。\n");
  std::string shown = ErrorText();
  EXPECT_NE(shown.find("Undefined control sequence"), std::string::npos);
  EXPECT_EQ(shown.find("Late error"), std::string::npos);
  ExpectCommandsEnabled();
}

// The run goes on in the main loop: the user types in another document (Esc included,
// which no longer ends a run) and the preview that follows shows the run's own document.
TEST_F(RunFixture, TheUserWorksOnDuringARunAndThePreviewShowsTheRunsDocument) {
  Start({.dvi = true, .delay_ms = 1500});
  std::string other = h.MakeFile("other.tex", "");
  h.StartCommand(kTeX2Item);
  ASSERT_TRUE(WaitForRecordLines(engine_record, 1, 10000));
  h.main().OpenDocument(other);
  PostMessageA(Doc()->Memo, WM_KEYDOWN, VK_ESCAPE, 0);
  PostMessageA(Doc()->Memo, WM_CHAR, 'a', 0);
  PumpMessages(300);
  EXPECT_EQ(EditorText(Doc()->Memo), "a");
  EXPECT_TRUE(h.main().run().running());
  EXPECT_EQ(StartedProcesses(kEngineExe).size(), 1u);
  ASSERT_TRUE(PumpUntil([&] { return !h.main().run().running(); }, 10000));
  ASSERT_TRUE(WaitForRecordLines(viewer_record, 2, 10000));
  std::string dvi = source.substr(0, source.size() - 4) + ".dvi";
  EXPECT_EQ(ReadRecord(viewer_record), (std::vector<std::string>{"[FileOpen(\"" + dvi + "\")]", "[WinNormal]"}));
  EXPECT_TRUE(h.messages.shown.empty()) << Messages();
  EXPECT_TRUE(WaitUntilNoneRunning(kEngineExe, 5000));
  ExpectCommandsEnabled();
}

// The engine may have read the document before the user saved it during the run: its
// .dvi, though newer than the save, does not hold the change, and the next preview runs.
TEST_F(RunFixture, ADocumentSavedDuringItsRunIsTypesetAgainByTheNextPreview) {
  Start({.dvi = true, .delay_ms = 1500});
  h.StartCommand(kTeX1Item);
  ASSERT_TRUE(WaitForRecordLines(engine_record, 1, 10000));
  SendMessageA(Doc()->Memo, WM_CHAR, 'a', 0);
  h.Command(kFileSaveItem);
  ASSERT_TRUE(PumpUntil([&] { return !h.main().run().running(); }, 10000));
  h.Command(kTeX2Item);
  EXPECT_EQ(ReadRecord(engine_record).size(), 2u);
  h.Command(kTeX2Item);  // that run read the saved text
  EXPECT_EQ(ReadRecord(engine_record).size(), 2u);
  EXPECT_TRUE(h.messages.shown.empty()) << Messages();
}

// While a run goes on its panel names it and only the stop command is enabled; stopping
// asks the engine to quit and ends one that does not within two seconds; no engine is
// left, the window says the run was stopped and no box comes up.
TEST_F(RunFixture, TheStopCommandEndsTheEngineAndTheRun) {
  Start({});
  EXPECT_FALSE(h.Item("StopTeXItem").enabled());
  EXPECT_EQ(h.Panel(kRunPanel), "");
  struct Row { bool ignore_quit; DWORD at_least, below; } rows[] = {{false, 0, 1500}, {true, 1900, 6000}};
  for (auto row : rows) {
    SCOPED_TRACE(row.ignore_quit ? "ignores WM_QUIT" : "takes WM_QUIT");
    h.app().env_settings().tex.paths[0] = EngineCommandLine({.record = engine_record, .no_log = true,
                                                             .ignore_quit = row.ignore_quit});
    std::size_t runs = ReadRecord(engine_record).size();
    h.StartCommand(kTeX1Item);
    ASSERT_TRUE(WaitForRecordLines(engine_record, runs + 1, 10000));
    EXPECT_EQ(h.Panel(kRunPanel), "TeX実行中 (LaTeX)");
    EXPECT_TRUE(h.Item("StopTeXItem").enabled());
    for (const char* name : {"TeX1Item", "TeX2Item", "TeX3Item"}) EXPECT_FALSE(h.Item(name).enabled()) << name;
    for (ToolButton b : {TeX1Btn, TeX2Btn, TeX3Btn}) EXPECT_FALSE(h.main().speed_panel().IsEnabled(b));
    DWORD start = GetTickCount();
    h.Command(kStopTeXItem);
    DWORD took = GetTickCount() - start;
    EXPECT_GE(took, row.at_least);
    EXPECT_LT(took, row.below);
    EXPECT_TRUE(WaitUntilNoneRunning(kEngineExe, 1000));
    EXPECT_EQ(ErrorText(), "TeXの実行を中止しました。");
    EXPECT_EQ(h.Panel(kHintPanel), "TeXの実行を中止しました。");
    EXPECT_EQ(h.Panel(kRunPanel), "");
    EXPECT_FALSE(h.Item("StopTeXItem").enabled());
    EXPECT_TRUE(h.messages.shown.empty()) << Messages();
    ExpectCommandsEnabled();
  }
}

TEST_F(RunFixture, ClosingTheProgramDuringARunStopsTheRunThenCloses) {
  Start({.no_log = true});
  h.StartCommand(kTeX1Item);
  ASSERT_TRUE(WaitForRecordLines(engine_record, 1, 10000));
  PostMessageA(h.main().hwnd(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(PumpUntil([&] { return h.closed(); }, 5000));
  EXPECT_TRUE(WaitUntilNoneRunning(kEngineExe, 1000));
}

// The engine bridge lists the files a run read besides the source: a preview runs the
// engine again when one of them changed after the .dvi or is gone.
TEST_F(RunFixture, APreviewRunsTheEngineWhenAFileTheLastRunReadChanged) {
  Start({.dvi = true}, 3);
  std::string dvi = source.substr(0, source.size() - 4) + ".dvi", chapter = h.dir() / "chap.tex";
  std::string list = h.dir() / ".quillet-tex";
  CreateDirectoryA(list.c_str(), nullptr);
  list += "\\論文 表.inputs";
  std::string bib = h.MakeFile("refs.bib", "@book{}");
  AgeFile(bib, 20);
  struct Row { const char* what; std::string list; int chapter_age; bool runs; } rows[] = {
      {"every listed file older", "chap.tex\r\n" + bib + "\r\n", 8, false},
      {"a listed file changed", "chap.tex\r\n" + bib + "\r\n", 0, true},
      {"a listed file gone", "chap.tex\r\ngone.sty\r\n", 8, true},
      {"no list: the source alone counts", "", 0, false},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    WriteFileBytes(dvi, "dvi");
    AgeFile(dvi, 4);
    WriteFileBytes(chapter, "chapter");
    AgeFile(chapter, r.chapter_age);
    if (r.list.empty()) {
      DeleteFileA(list.c_str());
    } else {
      WriteFileBytes(list, r.list);
    }
    std::size_t runs = ReadRecord(engine_record).size();
    h.Command(kTeX2Item);
    EXPECT_EQ(ReadRecord(engine_record).size(), runs + (r.runs ? 1 : 0));
  }
  EXPECT_TRUE(h.messages.shown.empty()) << Messages();
}

TEST_F(RunFixture, AnEngineThatEndsWithoutALogIsReported) {
  Start({.exit_early = true});
  h.Command(kTeX1Item);
  EXPECT_EQ(Messages(), "TeXが終了しましたが、ﾛｸﾞﾌｧｲﾙ " + source.substr(0, source.size() - 4) + ".log" +
                            " が作成されていません。\n");
  ExpectCommandsEnabled();
}

TEST_F(RunFixture, TheSaveQuestionComesFirstAndCancelStopsTheRun) {
  Start({.delay_ms = 2100});
  Type(Doc()->Memo, "x");
  h.messages.answers = {MsgResult::Cancel};
  h.Command(kTeX1Item);
  ASSERT_EQ(h.messages.shown.size(), 1u);
  EXPECT_EQ(h.messages.shown[0].text, source + " は変更されています。\rﾌｧｲﾙに保存しますか?");
  EXPECT_EQ(h.messages.shown[0].buttons, kMsgYes | kMsgCancel);
  EXPECT_TRUE(StartedProcesses(kEngineExe).empty());
  h.messages.answers = {MsgResult::Yes};
  h.Command(kTeX1Item);
  EXPECT_EQ(ReadFileBytes(source), "xline\r\n");
  EXPECT_EQ(ReadRecord(engine_record).size(), 1u);
}

// Yes to the save question of an untitled document, then no name chosen: nothing was
// saved, so there is nothing to typeset.
TEST_F(RunFixture, ASaveThatDidNotHappenStopsTheRun) {
  Start({});
  h.NewBlankDocument();
  Type(Doc()->Memo, "x");
  h.messages.answers = {MsgResult::Yes};
  h.Command(kTeX1Item);
  EXPECT_EQ(h.dialogs.asked.size(), 1u);  // the save dialog, cancelled
  EXPECT_TRUE(ReadRecord(engine_record).empty());
  ExpectCommandsEnabled();
}

// An outside engine refuses what would end or split its command; the engine bridge reads
// its command from both ends, and only what TeX misreads in a name stops it (the stand-in
// engine plays the bridge under its name). The message names what was found.
TEST_F(RunFixture, NamesThatWouldBreakTheCommandAreRefusedBeforeAnythingStarts) {
  Start({});
  std::string outside = h.app().env_settings().tex.paths[0], bridge_exe = h.dir() / "quillet-tex.exe";
  ASSERT_TRUE(CopyFileA(StandInPath(kEngineExe).c_str(), bridge_exe.c_str(), FALSE));
  std::string bridge = "\"" + bridge_exe + "\"" + outside.substr(outside.find(" --"));
  const char* kUnreadable = "が含まれているため、TeXがﾌｧｲﾙ名として読めません。ﾌｧｲﾙ名を変えてください。";
  struct Row { const char* name; bool to_bridge; std::string refused; } rows[] = {
      {"a]b.tex", false, " には「]」が含まれているためTeXに渡せません。"},
      {"a,b.tex", false, " には「,」が含まれているためTeXに渡せません。"},
      {"ソース表ー.tex", false, ""},  // trail bytes 0x5C and 0x5B are parts of characters, not brackets
      {"a]b),c.tex", true, ""},
      {"50%.tex", true, std::string(" には「%」") + kUnreadable},
      {"a  b.tex", true, std::string(" には続けて並んだ空白") + kUnreadable},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    std::string file = h.MakeFile(r.name, "x");
    AgeFile(file, 10);
    h.main().OpenDocument(file);
    h.app().env_settings().tex.paths[0] = r.to_bridge ? bridge : outside;
    h.messages.shown.clear();
    std::size_t runs = ReadRecord(engine_record).size();
    h.Command(kTeX1Item);
    if (r.refused.empty()) {
      EXPECT_EQ(Messages(), "");
      EXPECT_EQ(ReadRecord(engine_record).back(), "[virtex(" + file + ",0)]");
    } else {
      EXPECT_EQ(Messages(), "ﾌｧｲﾙ名 " + file + r.refused + "\n");
      EXPECT_EQ(ReadRecord(engine_record).size(), runs);
    }
  }
}

TEST_F(RunFixture, TheLogIsShownInTheOutsideEditorWhenAsked) {
  Start({});
  std::string record = h.dir() / "editor.txt";
  GeneralSettings& env = h.app().env_settings().general;
  env.show_log_file = true;
  env.editor_path = EditorCommandLine(record);
  h.Command(kTeX1Item);
  ASSERT_TRUE(WaitForRecordLines(record, 1, 10000));
  std::string log = source.substr(0, source.size() - 4) + ".log";
  std::string line = ReadRecord(record)[0];
  EXPECT_EQ(line.substr(line.size() - log.size() - 3), " \"" + log + "\"");  // the name has a blank: quoted
  env.editor_path = h.dir() / "no-editor.exe";
  h.Command(kTeX1Item);
  EXPECT_EQ(Messages(), "ｴﾃﾞｨﾀを起動できません。\n");
}

}  // namespace
}  // namespace quillet::test
