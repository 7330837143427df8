// The bridges with the real TeX tools under Wine: platex runs on a Shift-JIS document,
// its errors reach the error window and the document, and the viewer bridge makes the PDF.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "bridges/outside_run_win.h"
#include "core/command_ids.h"
#include "document/mdi_child_win.h"
#include "prefs/env_settings.h"
#include "tests/win/support/app_harness.h"
#include "tests/win/support/standins.h"
#include "tex/error_window_win.h"
#include "win/file_io_win.h"

namespace quillet::test {
namespace {

// The program's words as a settings value: quoted when they hold a blank.
std::string Word(const std::string& word) {
  return word.find(' ') == std::string::npos ? word : "\"" + word + "\"";
}

std::string Quoted(const std::string& word) {
  std::string quoted = "\"";
  quoted += word;
  quoted += '"';
  return quoted;
}

// Text of a Linux program's output file, converted from UTF-8 to the program's code page.
std::string RunOnLinux(const std::string& folder, const std::string& script_body, const std::string& output) {
  std::string marker = folder + "linux-done";
  DeleteFileA(marker.c_str());
  StartShellScript(folder + "linux.sh", script_body + "\necho 0 > '" + UnixFileName(marker) + "'\n");
  PumpUntil([&] { return FileExists(marker); }, 20000);
  std::string utf8 = ReadFileBytes(output);
  int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
  int m = WideCharToMultiByte(CP_ACP, 0, wide.data(), n, nullptr, 0, nullptr, nullptr);
  std::string text(static_cast<std::size_t>(m), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.data(), n, text.data(), m, nullptr, nullptr);
  return text;
}

constexpr const char* kDocument =
    "\\documentclass{jarticle}\r\n"
    "\\begin{document}\r\n"
    "\\section{日本語の見出し}\r\n"
    "本文です。表ソ十予申\r\n"
    "\\begin{tabular}{|c|c|}\\hline 表 & ソ \\\\ \\hline\\end{tabular}\r\n"
    "$x^2+y^2=z^2$\r\n"
    "\\undefinedcommand\r\n"
    "終わり。\r\n"
    "\\end{document}\r\n";

// Settings that run the bridges: the engine bridge with a wintex.ini of two formats (the
// second one unknown) and, when given, a table of its own; the viewer bridge showing with
// `true` (no window) and printing with `false`. Opens the source, made 10 s old.
std::string StartWithBridges(AppHarness& h, const std::string& name, const std::string& text,
                             const std::string& table = "", const std::string& printer = "false") {
  WriteFileBytes(h.wintex_path(), "[TeXMode]\r\npLaTeX=platex\r\nUnknown=nosuchformat\r\n");
  std::string tex = Word(StandInPath(kEngineBridgeExe)) + " --wintex " + Word(h.wintex_path());
  if (!table.empty()) tex += " --table " + Word(h.MakeFile("quillet-tex.ini", table));
  std::string dvi = Word(StandInPath(kViewerBridgeExe)) + " --config " +
                    Word(h.MakeFile("quillet-dvi.ini", "[Viewer]\r\nShow=true\r\nPrint=" + printer + "\r\n")) +
                    " --errors " +
                    Word(h.dir() / "viewer-errors.txt");
  h.WriteIni("[TeX]\r\nUse=0\r\n" + std::string(kTeXKinds[0]) + "=" + tex + "\r\n[Dvi]\r\nUse=0\r\n" + kDviKinds[0] +
             "=" + dvi + "\r\n");
  std::string source = h.MakeFile(name, text);
  AgeFile(source, 10);
  h.Start({source});
  return source;
}

std::string ErrorText(AppHarness& h) { return EditorText(h.app().ErrorWin().Memo); }

TEST(BridgeTest, TheRealEngineShowsItsErrorAndTheFixedDocumentBecomesAPdf) {
  EndStandInsAtExit cleanup;
  AppHarness h;
  std::string source = StartWithBridges(h, "論文 表.tex", kDocument);
  HWND editor = h.main().ActiveChild()->Memo;
  h.Command(kTeX1Item);
  EXPECT_EQ(h.messages.Texts(), "");
  std::string errors = ErrorText(h);
  EXPECT_NE(errors.find("! Undefined control sequence."), std::string::npos) << errors;
  EXPECT_NE(errors.find("l.7 \\undefinedcommand"), std::string::npos) << errors;
  Range sel = EditorSelection(editor);
  EXPECT_EQ(sel.start, SendMessageA(editor, EM_LINEINDEX, 6, 0));
  EXPECT_EQ(sel.end - sel.start, static_cast<long>(std::string("\\undefinedcommand").size()));
  std::string log = ReadFileBytes(source.substr(0, source.size() - 4) + ".log");
  EXPECT_NE(log.find("This is e-pTeX"), std::string::npos);

  // The error taken out, saved and previewed: a clean run, then the PDF.
  SendMessageA(editor, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("%"));
  h.Command(kFileSaveItem);
  h.Command(kTeX2Item);
  EXPECT_EQ(ErrorText(h).find("! "), std::string::npos) << ErrorText(h);
  std::string pdf = source.substr(0, source.size() - 4) + ".pdf";
  ASSERT_TRUE(PumpUntil([&] { return FileExists(pdf); }, 30000)) << ReadFileBytes(h.dir() / "viewer-errors.txt");
  std::string text = RunOnLinux(h.dir().path(), "pdftotext '" + UnixFileName(pdf) + "' '" + UnixFileName(h.dir() / "pdf.txt") + "'",
                                h.dir() / "pdf.txt");
  EXPECT_NE(text.find("日本語の見出し"), std::string::npos) << text;
}

// Runs that cannot happen, or do not end, leave a log that says why and no engine behind.
TEST(BridgeTest, ARunThatCannotHappenLeavesALogThatSaysWhy) {
  struct Row { const char* what; int format; const char* table; bool escape; const char* shown; } rows[] = {
      {"unknown format", 1, "", false, "! ﾌｫｰﾏｯﾄ 'nosuchformat' に使うTeXのｺﾏﾝﾄﾞがわかりません。"},
      {"missing engine", 0, "[Engines]\r\nplatex=no-such-tex-engine\r\n", false,
       "! TeXのｺﾏﾝﾄﾞ 'no-such-tex-engine' が見つかりません。"},
      {"engine that never ends", 0, "[Engines]\r\nplatex=sh -c 'exec sleep 617' x\r\n[Bridge]\r\nTimeLimit=2\r\n", false,
       "! TeXが 2 秒以内に終わらなかったので中止しました。"},
      {"run ended with Esc", 0, "[Engines]\r\nplatex=sh -c 'exec sleep 617' x\r\n", true, ""},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    EndStandInsAtExit cleanup;
    AppHarness h;
    StartWithBridges(h, "a.tex", "\\relax\r\n", r.table);
    if (r.format) h.Command(h.main().FormatCommandIds[static_cast<std::size_t>(r.format)]);
    if (r.escape) {
      HWND main = h.main().hwnd();
      WhenModal([main] { PostMessageA(main, WM_KEYDOWN, VK_ESCAPE, 0); }, 1500);
    }
    h.Command(kTeX1Item);
    EXPECT_EQ(h.messages.Texts(), "");
    if (*r.shown) {
      EXPECT_NE(ErrorText(h).find(r.shown), std::string::npos) << ErrorText(h);
    }
    // The engine is gone a few seconds after its bridge, and no half log is left.
    std::string count = h.dir() / "count.txt";
    EXPECT_TRUE(PumpUntil([&] {
      return RunOnLinux(h.dir().path(), "pgrep -fc 'sleep 617' > '" + UnixFileName(count) + "'", count) == "0\n";
    }, 15000));
    if (r.escape) {
      EXPECT_FALSE(FileExists(h.dir() / "a.log"));
    }
  }
}

// Printing hands the PDF to the print command; one that fails or is missing is told.
TEST(BridgeTest, PrintingTellsWhenThereIsNoPrinter) {
  struct Row { const char* printer; const char* told; } rows[] = {
      {"true", ""},
      {"false", "を印刷できません (false)。"},
      {"no-such-lp", "印刷のｺﾏﾝﾄﾞ 'no-such-lp' がないため印刷できません。"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.printer);
    EndStandInsAtExit cleanup;
    AppHarness h;
    std::string source = StartWithBridges(h, "p.tex", "テスト\r\n\\end\r\n", "[Engines]\r\nplatex=ptex -kanji=sjis\r\n",
                                          r.printer);
    h.Command(kTeX3Item);
    std::string pdf = source.substr(0, source.size() - 4) + ".pdf", told = h.dir() / "viewer-errors.txt";
    ASSERT_TRUE(PumpUntil([&] { return FileExists(pdf); }, 30000));
    PumpUntil([&] { return FileExists(told); }, *r.told ? 10000 : 1000);
    EXPECT_NE(ReadFileBytes(told).find(r.told), std::string::npos) << ReadFileBytes(told);
    if (!*r.told) {
      EXPECT_FALSE(FileExists(told));
    }
  }
}

// A start with no engine or viewer takes the bridges beside the program, formats when
// wintex.ini has none and the macro library when no macro folder is set; what the user
// set stays.
TEST(BridgeTest, AFirstStartTakesTheShippedBridgesAndKeepsWhatIsSet) {
  const std::string shipped_macros = ProgramFolder() + "macros";
  struct Row { const char* what; const char* ini; const char* wintex; bool engine_taken; std::size_t formats;
               std::string macros; } rows[] = {
      {"nothing set", "", "", true, 3, shipped_macros},
      {"an engine set", "[TeX]\r\nUse=1\r\nｲﾝﾌﾟﾚｽ  Big WpvTeX=C:\\big.exe\r\n", "", false, 3, shipped_macros},
      {"formats and macros set", "[General]\r\nMacroPath=C:\\マクロ\r\n", "[TeXMode]\r\nplain=tex\r\n", true, 1,
       "C:\\マクロ"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    AppHarness h;
    h.use_shipped_content = true;
    h.WriteIni(r.ini);
    WriteFileBytes(h.wintex_path(), r.wintex);
    h.Start();
    const EnvSettings& env = h.app().env_settings();
    std::string engine = Quoted(StandInPath(kEngineBridgeExe)) + " --wintex " + Quoted(h.wintex_path());
    EXPECT_EQ(env.tex.paths[0], r.engine_taken ? engine : "");
    EXPECT_EQ(env.tex.use, r.engine_taken ? 0 : 1);
    EXPECT_EQ(env.dvi.paths[0], Quoted(StandInPath(kViewerBridgeExe)));
    EXPECT_EQ(h.main().FormatCommandIds.size(), r.formats);
    EXPECT_EQ(h.main().CurrentTeXMode, 0);
    EXPECT_EQ(env.general.macro_path, r.macros);
    char value[64];
    GetPrivateProfileStringA("TeXMode", r.formats == 3 ? "pLaTeX" : "plain", "", value, sizeof value,
                             h.wintex_path().c_str());
    EXPECT_STREQ(value, r.formats == 3 ? "platex" : "tex");
  }
}

}  // namespace
}  // namespace quillet::test
