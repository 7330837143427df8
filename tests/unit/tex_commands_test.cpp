#include "tex/tex_commands.h"

#include <gtest/gtest.h>

#include <string>

namespace quillet {
namespace {

// "表" is 0x95 0x5C, "ソ" 0x83 0x5C, "ー" 0x81 0x5B, "‐" 0x81 0x5D; half-width katakana such
// as "ﾃﾞｰﾀ" are single bytes. A trail byte that reads as "\", "[" or "]" is no ASCII character.
TEST(TexCommandsTest, EngineCommandJoinsNameAndFormatIndex) {
  struct Row { const char* name; int index; const char* expected; } rows[] = {
      {"C:\\DOC\\A.TEX", 0, "[virtex(C:\\DOC\\A.TEX,0)]"},
      {"C:\\表\\データ.tex", 12, "[virtex(C:\\表\\データ.tex,12)]"},
      {"C:\\My Docs\\report", 3, "[virtex(C:\\My Docs\\report,3)]"},
      {"C:\\V1.2\\A", 123456789, "[virtex(C:\\V1.2\\A,123456789)]"},
  };
  for (auto r : rows) EXPECT_EQ(EngineCommand(r.name, r.index), r.expected) << r.name;
}

TEST(TexCommandsTest, ViewerKindsChooseServiceAndQuoting) {
  struct Row { int kind; const char* service; const char* open; } rows[] = {
      {0, "WinDVI", "[FileOpen(\"C:\\DOC\\A.dvi\")]"},
      {1, "WinDVI", "[FileOpen(\"C:\\DOC\\A.dvi\")]"},
      {2, "WinDVI", "[FileOpen(\"C:\\DOC\\A.dvi\")]"},
      {3, "WinDVI", "[FileOpen(C:\\DOC\\A.dvi)]"},
      {4, "yaWinDVI", "[FileOpen(C:\\DOC\\A.dvi)]"},
  };
  for (auto r : rows) {
    EXPECT_STREQ(ViewerService(r.kind), r.service) << "kind " << r.kind;
    EXPECT_EQ(ViewerOpenCommand("C:\\DOC\\A.dvi", r.kind), r.open) << "kind " << r.kind;
    NameTaker taker = ViewerQuotesName(r.kind) ? NameTaker::kViewerQuoted : NameTaker::kViewerBare;
    EXPECT_EQ(CheckCommandName("C:\\DOC\\A,B.dvi", taker).problem,
              r.kind <= 2 ? CommandName::Ok : CommandName::BreaksCommand) << "kind " << r.kind;
  }
  EXPECT_EQ(ViewerOpenCommand("C:\\表 ソ\\ー.dvi", 0), "[FileOpen(\"C:\\表 ソ\\ー.dvi\")]");
  EXPECT_EQ(ViewerOpenCommand("C:\\表 ソ\\ー.dvi", 4), "[FileOpen(C:\\表 ソ\\ー.dvi)]");
}

TEST(TexCommandsTest, ManualLiesBesideTheViewersProgramFolder) {
  struct Row { const char* viewer; const char* manual; } rows[] = {
      {"C:\\WINDVI\\BIN\\WINDVI.EXE", "C:\\WINDVI\\Digital\\Windig.dvi"},
      {"D:\\Program Files\\ｲﾝﾌﾟﾚｽ\\WinDvi\\EXE\\windvi.exe", "D:\\Program Files\\ｲﾝﾌﾟﾚｽ\\WinDvi\\Digital\\Windig.dvi"},
      {"C:\\表示\\実行用\\W.EXE", "C:\\表示\\Digital\\Windig.dvi"},    // four characters, seven bytes
      {"C:\\ツール\\ソ十表\\W.EXE", "C:\\ツール\\Digital\\Windig.dvi"},  // trail 0x5C is no separator
      {"C:\\表示\\表示\\W.EXE", "C:\\表示Digital\\Windig.dvi"},          // a shorter folder loses its "\"
      {"C:\\W.EXE", "Digital\\Windig.dvi"},
      {"WINDVI.EXE", "Digital\\Windig.dvi"},
      {"", "Digital\\Windig.dvi"},
  };
  for (auto r : rows) EXPECT_EQ(DigitalManualPath(r.viewer), r.manual) << r.viewer;
}

// Outside programs refuse what ends or splits their command; the engine bridge reads its
// command from both ends, and only what TeX itself misreads in the name stops it.
TEST(TexCommandsTest, CommandNamesAreRefusedForWhatBreaksTheirTaker) {
  using enum NameTaker;
  using enum CommandName;
  std::string limit = "C:\\" + std::string(247, 'a') + ".tex";  // 254 bytes
  std::string japanese_limit = "C:\\" + std::string(1, 'a');
  while (japanese_limit.size() < 254) japanese_limit += "表";
  struct Row { std::string name; NameTaker taker; CommandName problem; const char* found; } rows[] = {
      {"C:\\DOC\\A.TEX", kEngine, Ok, ""},
      {"C:\\DOC\\A.TEX", kViewerQuoted, Ok, ""},
      {limit, kEngine, Ok, ""},
      {limit + "x", kEngine, TooLong, ""},
      {limit + "x", kViewerQuoted, TooLong, ""},
      {limit + "x", kEngineBridge, Ok, ""},
      {japanese_limit, kEngine, Ok, ""},
      {japanese_limit + "x", kViewerQuoted, TooLong, ""},
      {"C:\\a]b.tex", kEngine, BreaksCommand, "]"},
      {"C:\\a)b.tex", kViewerBare, BreaksCommand, ")"},
      {"C:\\a,b.tex", kEngine, BreaksCommand, ","},
      {"C:\\a]b),c.tex", kViewerQuoted, Ok, ""},
      {"C:\\\"a\".tex", kViewerQuoted, BreaksCommand, "\""},
      {"C:\\(a.tex", kEngine, Ok, ""},
      {"C:\\ソース\\表ー.tex", kEngine, Ok, ""},        // trail bytes 0x5C and 0x5B
      {"C:\\‐‐.tex", kEngine, Ok, ""},                 // trail byte 0x5D reads as "]"
      {"C:\\ﾃﾞｰﾀ].tex", kEngine, BreaksCommand, "]"},   // half-width katakana are single bytes
      {"", kEngine, Ok, ""},
      {"C:\\新しいフォルダー (2)\\a,b].tex", kEngineBridge, Ok, ""},
      {"C:\\Program Files (x86)\\$#&{}[]'^_!.tex", kEngineBridge, Ok, ""},
      {"C:\\a%b\\a~b\\a^^b  c\\ok.tex", kEngineBridge, Ok, ""},  // folders never reach TeX
      {"C:\\a\\50%.tex", kEngineBridge, TeXCannotRead, "%"},
      {"C:\\a\\~a.tex", kEngineBridge, TeXCannotRead, "~"},
      {"C:\\a\\a^^41.tex", kEngineBridge, TeXCannotRead, "^^"},
      {"C:\\a\\a^b.tex", kEngineBridge, Ok, ""},
      {"C:\\a\\a  b.tex", kEngineBridge, TeXCannotRead, "  "},
      {"C:\\a\\ a b .tex", kEngineBridge, Ok, ""},
  };
  for (const auto& r : rows) {
    NameCheck check = CheckCommandName(r.name, r.taker);
    EXPECT_EQ(check.problem, r.problem) << r.name << " taken by " << static_cast<int>(r.taker);
    EXPECT_EQ(check.found, r.found) << r.name;
  }
}

TEST(TexCommandsTest, TheEngineBridgeIsKnownByItsProgram) {
  struct Row { const char* command; bool bridge; } rows[] = {
      {"\"C:\\Program Files\\TeX Quillet\\quillet-tex.exe\" --wintex \"C:\\a b\\wintex.ini\"", true},
      {"C:\\QUILLET\\QUILLET-TEX.EXE", true},
      {"  quillet-tex.exe", true},
      {"C:\\WPVTEX\\WPVTEX.EXE C:\\quillet-tex.exe", false},
      {"C:\\quillet-tex.exe.bak\\virtex.exe", false},
      {"", false},
  };
  for (auto r : rows) EXPECT_EQ(IsEngineBridge(r.command), r.bridge) << r.command;
}

TEST(TexCommandsTest, EditorGetsTheLogQuotedOnlyWhenItHoldsABlank) {
  struct Row { const char* editor; const char* log; const char* expected; } rows[] = {
      {"NotePad", "C:\\DOC\\A.log", "NotePad C:\\DOC\\A.log"},
      {"NotePad", "C:\\My Docs\\A.log", "NotePad \"C:\\My Docs\\A.log\""},
      {"C:\\EDIT\\E.EXE /r", "C:\\表\\ソ.log", "C:\\EDIT\\E.EXE /r C:\\表\\ソ.log"},
      {"NotePad", "C:\\文書　全角.log", "NotePad C:\\文書　全角.log"},  // an ideographic space is no blank
  };
  for (auto r : rows) EXPECT_EQ(EditorCommandLine(r.editor, r.log), r.expected) << r.log;
}

TEST(TexCommandsTest, ARunEndedSaysItsTimeInTenthsOfASecond) {
  struct Row { unsigned long ms; const char* text; } rows[] = {
      {0, "TeX 終了 (0.0 秒)"}, {1234, "TeX 終了 (1.2 秒)"}, {1250, "TeX 終了 (1.3 秒)"}, {61990, "TeX 終了 (62.0 秒)"}};
  for (const auto& r : rows) EXPECT_EQ(RunEndedText(r.ms), r.text) << r.ms;
}

}  // namespace
}  // namespace quillet
