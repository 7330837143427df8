// The bridges with the real TeX tools under Wine: pLaTeX and upLaTeX run on documents in
// every code and in folders of any name, their errors reach the error window and the
// document, and the viewer bridge makes the PDF, shows it and prints it.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "bridges/outside_run_win.h"
#include "core/command_ids.h"
#include "core/sjis.h"
#include "core/text_encode.h"
#include "core/unicode_text.h"
#include "document/mdi_child_win.h"
#include "editor/editor_win.h"
#include "prefs/env_settings.h"
#include "tests/win/support/app_harness.h"
#include "tests/win/support/linux_run.h"
#include "tests/win/support/standins.h"
#include "tex/error_window_win.h"
#include "win/code_page_win.h"
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

// Nine lines up to an error whose line goes on in Japanese (and at "@@", in what a row
// adds), then the end.
std::string Document(const char* document_class) {
  return std::string("\\documentclass{") + document_class + "}\r\n" +
         "\\begin{document}\r\n"
         "\\section{日本語の見出し}\r\n"
         "本文です。表ソ十予申\r\n"
         "\\begin{tabular}{|c|c|}\\hline 表 & ソ \\\\ \\hline\\end{tabular}\r\n"
         "$x^2+y^2=z^2$\r\n"
         "全角の％\r\n"
         "二段落目。\r\n"
         "\\undefinedcommand 九行目の日本語@@\r\n"
         "終わり。\r\n"
         "\\end{document}\r\n";
}
// The same in plain ASCII, its heading in a chapter it reads in.
constexpr const char* kMainOfChapter =
    "\\documentclass{jarticle}\r\n\\begin{document}\r\n\\input{chapter}\r\n4\r\n5\r\n6\r\n7\r\n8\r\n"
    "\\undefinedcommand nine\r\n\\end{document}\r\n";
constexpr const char* kChapter = "\\section{日本語の見出し}\r\n本文です。\r\n";

// What the settings give the bridges: the engine bridge's own table, and the viewer
// bridge's commands that show and print.
struct BridgeSettings {
  std::string table{};
  std::string show = "true";
  std::string print = "false";
};

// Settings that run the bridges: the engine bridge with a wintex.ini of three formats (the
// second one unknown) and TeX Quillet's settings, where new documents are EUC-JP; the
// viewer bridge telling the user in a file. Opens the source (when named), made 10 s old.
std::string StartWithBridges(AppHarness& h, const std::string& name, const std::string& text,
                             const BridgeSettings& settings = {}) {
  WriteFileBytes(h.wintex_path(), "[TeXMode]\r\npLaTeX=platex\r\nUnknown=nosuchformat\r\nupLaTeX=uplatex\r\n");
  std::string tex = Word(StandInPath(kEngineBridgeExe)) + " --wintex " + Word(h.wintex_path()) + " --settings " +
                    Word(h.ini_path());
  if (!settings.table.empty()) tex += " --table " + Word(h.MakeFile("quillet-tex.ini", settings.table));
  std::string dvi = Word(StandInPath(kViewerBridgeExe)) + " --config " +
                    Word(h.MakeFile("quillet-dvi.ini", "[Viewer]\r\nShow=" + settings.show + "\r\nPrint=" +
                                                           settings.print + "\r\n")) +
                    " --errors " + Word(h.dir() / "viewer-errors.txt");
  h.WriteIni("[TeX]\r\nUse=0\r\n" + std::string(kTeXKinds[0]) + "=" + tex + "\r\n[Dvi]\r\nUse=0\r\n" + kDviKinds[0] +
             "=" + dvi + "\r\n[Editor]\r\nEncoding=EUC\r\n");
  if (name.empty()) {
    h.Start();
    return {};
  }
  std::string source = h.MakeFile(name, text);
  AgeFile(source, 10);
  h.Start({source});
  return source;
}

std::string ErrorText(AppHarness& h) { return EditorText(h.app().ErrorWin().Memo); }

std::string InCode(const std::string& text, Encoding encoding) {
  std::string coded;
  Unholdable unholdable;
  EXPECT_TRUE(EncodeText(text, {encoding, false, LineEnd::kCrLf}, SystemCodePage(), ForeignChars(), nullptr, coded,
                         unholdable));
  return coded;
}

// Folders from the root of the test prefix's drive; removed again, whatever happens.
class DriveFolders {
 public:
  explicit DriveFolders(const AppHarness& h) : h_(h), drive_(h.dir().path().substr(0, 3)) { Remove(); }
  ~DriveFolders() { Remove(); }
  // Makes the folder (a path below the root ending in "\") and answers its full name.
  std::string Make(const std::string& folder) {
    for (std::size_t i = 0; i < folder.size(); i += CharLength(folder, i)) {
      if (folder[i] == '\\') CreateDirectoryA((drive_ + folder.substr(0, i)).c_str(), nullptr);
    }
    return drive_ + folder;
  }

 private:
  void Remove() const {
    std::string script;
    for (const char* top : {"文書", "Program Files (x86)\\新しいフォルダー (2)"}) {
      script += "rm -rf '" + UnixFileName(drive_ + top) + "'\n";
    }
    RunOnLinux(h_.dir().path(), script, h_.dir() / "removed.txt");
  }
  const AppHarness& h_;
  std::string drive_;
};

// Documents in each code the engine reads, in folders with Japanese names (trail bytes
// 0x5C among them), blanks, brackets and commas: the engine reads them in their own code,
// the error window shows line 9 as written and selects it in the document, and once the
// error is taken out the preview's or the print's PDF holds the document's heading.
TEST(BridgeTest, DocumentsInAnyFolderAndCodeAreTypesetAndPreviewed) {
  EndStandInsAtExit cleanup;
  AppHarness h;
  // A run that cannot start ends in time with a log.
  StartWithBridges(h, "", "",
                   {.table = "[Bridge]\r\nTimeLimit=20\r\n",
                    .show = "sh -c 'touch \"$1.shown\"' viewer",
                    .print = "sh -c 'touch \"$1.printed\"' lp"});
  DriveFolders folders(h);
  const int kPLaTeX = 0, kUpLaTeX = 2;
  struct Row {
    const char* what;
    std::string folder, name;  // folders below the drive's root; names with 0x5C trail bytes and more
    int format;
    Encoding encoding;
    bool chapter;      // the heading is in a chapter the plain-ASCII main file reads in
    const char* code;  // the input code, as the log's first line names it
    const char8_t* beyond;  // UTF-8 added to line 9: characters Shift-JIS lacks
    const char16_t* shown;  // what the error window shows of line 9
    UINT command;           // preview or print
    const char* viewed;
  } rows[] = {
      {"UTF-8, pLaTeX", "文書\\論文 (2)\\", "表ソ.tex", kPLaTeX, Encoding::kUtf8, false, "(utf8", u8"",
       u"九行目の日本語", kTeX2Item, ".shown"},
      {"UTF-8, upLaTeX", "文書\\論文 (2)\\", "up 表ソ,1).tex", kUpLaTeX, Encoding::kUtf8, false, "(utf8", u8"𠮷😀",
       u"九行目の日本語𠮷😀", kTeX2Item, ".shown"},
      {"Shift-JIS", "Program Files (x86)\\新しいフォルダー (2)\\", "論文 表.tex", kPLaTeX, Encoding::kShiftJis, false,
       "(sjis", u8"", u"九行目の日本語", kTeX3Item, ".printed"},
      {"EUC-JP", "文書\\ﾃﾞｰﾀ①,b]c (ソ)\\", "euc 文書.tex", kPLaTeX, Encoding::kEucJp, false, "(euc", u8"",
       u"九行目の日本語", kTeX2Item, ".shown"},
      {"ASCII main, UTF-8 chapter", "文書\\章 (3)\\", "main.tex", kPLaTeX, Encoding::kUtf8, true, "(utf8", u8"",
       u"nine", kTeX2Item, ".shown"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    std::string folder = folders.Make(r.folder), source = folder + r.name, base = ChangeFileExt(source, "");
    const char* document_class = r.format == kUpLaTeX ? "ujarticle" : "jarticle";
    std::string document = InCode(Document(document_class), r.encoding);
    document.replace(document.find("@@"), 2, reinterpret_cast<const char*>(r.beyond));
    WriteFileBytes(source, r.chapter ? kMainOfChapter : document);
    if (r.chapter) WriteFileBytes(folder + "chapter.tex", InCode(kChapter, r.encoding));
    AgeFile(source, 10);
    ASSERT_TRUE(h.main().OpenDocument(source));
    h.Command(h.main().run().FormatCommandIds[static_cast<std::size_t>(r.format)]);
    HWND editor = h.main().ActiveChild()->Memo;
    h.Command(kTeX1Item);
    EXPECT_EQ(h.messages.Texts(), "");
    std::string errors = ErrorText(h);
    EXPECT_NE(errors.find("! Undefined control sequence."), std::string::npos) << errors;
    EXPECT_NE(errors.find("l.9 \\undefinedcommand"), std::string::npos) << errors;
    auto table = reinterpret_cast<const ForeignChars*>(SendMessageA(h.app().ErrorWin().Memo, EM_GETFOREIGNCHARS, 0, 0));
    EXPECT_NE(Utf16FromEditorText(errors, SystemCodePage(), table).find(r.shown), std::u16string::npos) << errors;
    std::string log_start = ReadFileBytes(base + ".log").substr(0, 200);
    EXPECT_NE(log_start.find(r.code), std::string::npos) << log_start;
    Range sel = EditorSelection(editor);
    long line9 = static_cast<long>(SendMessageA(editor, EM_LINEINDEX, 8, 0));
    EXPECT_EQ(sel.start, line9);
    EXPECT_EQ(sel.end, line9 + SendMessageA(editor, EM_LINELENGTH, static_cast<WPARAM>(line9), 0));

    // The error taken out, saved and previewed or printed: a clean run, then the PDF.
    SendMessageA(editor, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("%"));
    h.Command(kFileSaveItem);
    h.Command(r.command);
    EXPECT_EQ(ErrorText(h).find("! "), std::string::npos) << ErrorText(h);
    std::string pdf = base + ".pdf";
    ASSERT_TRUE(PumpUntil([&] { return FileExists(pdf + r.viewed); }, 30000))
        << ReadFileBytes(h.dir() / "viewer-errors.txt");
    std::string text = RunOnLinux(h.dir().path(), "pdftotext '" + UnixFileName(pdf) + "' '" +
                                                       UnixFileName(h.dir() / "pdf.txt") + "'",
                                  h.dir() / "pdf.txt");
    EXPECT_NE(text.find("日本語の見出し"), std::string::npos) << text;
  }
  // A source of plain ASCII through and through is read in the code of new documents.
  std::string plain = folders.Make("文書\\") + "plain.tex";
  WriteFileBytes(plain, "\\documentclass{article}\r\n\\begin{document}\r\nx\r\n\\end{document}\r\n");
  AgeFile(plain, 10);
  ASSERT_TRUE(h.main().OpenDocument(plain));
  h.Command(kTeX1Item);
  EXPECT_NE(ReadFileBytes(ChangeFileExt(plain, ".log")).substr(0, 200).find("(euc"), std::string::npos);
}

// Runs that cannot happen, or do not end, leave a log that says why and no engine behind.
TEST(BridgeTest, ARunThatCannotHappenLeavesALogThatSaysWhy) {
  struct Row { const char* what; const char* name; int format; const char* table; bool stop; const char* shown; } rows[] = {
      {"unknown format", "a.tex", 1, "", false, "! ﾌｫｰﾏｯﾄ 'nosuchformat' に使うTeXのｺﾏﾝﾄﾞがわかりません。"},
      {"missing engine", "a.tex", 0, "[Engines]\r\nplatex=no-such-tex-engine\r\n", false,
       "! TeXのｺﾏﾝﾄﾞ 'no-such-tex-engine' が見つかりません。"},
      {"a name pLaTeX cannot take", "ｱｲ.tex", 0, "", false,
       "! ﾌｧｲﾙ名 ｱｲ.tex の文字「ｱ」を 'platex' はﾌｧｲﾙ名として読めません。"},
      {"engine that never ends", "a.tex", 0, "[Engines]\r\nplatex=sh -c 'exec sleep 617' x\r\n[Bridge]\r\nTimeLimit=2\r\n",
       false, "! TeXが 2 秒以内に終わらなかったので中止しました。"},
      {"run stopped by the user", "a.tex", 0, "[Engines]\r\nplatex=sh -c 'exec sleep 617' x\r\n", true, ""},
      {"chain stopped by the user", "a.tex", 0, "[Bridge]\r\nLatexmk=sh -c 'sleep 617; :' latexmk\r\n", true, ""},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    EndStandInsAtExit cleanup;
    AppHarness h;
    StartWithBridges(h, r.name, "\\relax\r\n", {.table = r.table});
    if (r.format) h.Command(h.main().run().FormatCommandIds[static_cast<std::size_t>(r.format)]);
    if (r.stop) {
      HWND main = h.main().hwnd();
      WhenModal([main] { PostMessageA(main, WM_COMMAND, kStopTeXItem, 0); }, 1500);
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
    if (r.stop) {
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
    std::string source = StartWithBridges(h, "p.tex", "テスト\r\n\\end\r\n",
                                          {.table = "[Engines]\r\nplatex=ptex -kanji=sjis\r\n", .print = r.printer});
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

// The PDF is replaced only by one that dvipdfmx made well. A .dvi it cannot read, one
// naming a font TeX Live lacks, or a PDF another program holds open leaves the previous
// PDF byte for byte, nothing shown or printed, and the user told why; a good run after
// them replaces the PDF again.
TEST(BridgeTest, OnlyAGoodConversionReplacesThePdf) {
  EndStandInsAtExit cleanup;
  AppHarness h;
  std::string source = StartWithBridges(h, "v.tex", "テスト\r\n\\end\r\n",
                                        {.table = "[Engines]\r\nplatex=ptex -kanji=sjis\r\n",
                                         .show = "sh -c 'touch \"$1.shown\"' viewer",
                                         .print = "sh -c 'touch \"$1.printed\"' lp"});
  std::string base = ChangeFileExt(source, ""), pdf = base + ".pdf", dvi = base + ".dvi";
  std::string told = h.dir() / "viewer-errors.txt", shown = pdf + ".shown", printed = pdf + ".printed";
  h.Command(kTeX2Item);
  ASSERT_TRUE(PumpUntil([&] { return FileExists(shown); }, 30000)) << ReadFileBytes(told);
  const std::string good_pdf = ReadFileBytes(pdf), good_dvi = ReadFileBytes(dvi);
  std::string no_font = good_dvi;
  for (std::size_t at; (at = no_font.find("min10")) != std::string::npos;) no_font.replace(at, 5, "qzz10");
  struct Row { const char* what; std::string dvi; UINT command; bool held; const char* told; } rows[] = {
      {"damaged dvi", "not a dvi", kTeX2Item, false,
       "dvipdfmx でPDFを作れませんでした (終了ｺｰﾄﾞ 1):\ndvipdfmx:fatal: Something is wrong. Are you sure this is a "
       "DVI file?\nPDFﾌｧｲﾙ "},
      {"font TeX Live lacks", no_font, kTeX2Item, false,
       "(終了ｺｰﾄﾞ 1):\ndvipdfmx:fatal: Unable to find TFM file \"qzz10\".\nPDFﾌｧｲﾙ "},
      {"damaged dvi printed", "not a dvi", kTeX3Item, false, " は前のままです。"},
      {"PDF held open", good_dvi, kTeX2Item, true,
       " は他のﾌﾟﾛｸﾞﾗﾑが開いているため置き換えられません。ﾋﾞｭｰｱで閉じてから、もう一度ﾌﾟﾚﾋﾞｭｰしてください。"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    for (const std::string& file : {told, shown, printed}) DeleteFileA(file.c_str());
    WriteFileBytes(dvi, r.dvi);  // newer than the source: no TeX run
    ReadyEvent holding;
    std::optional<StandInProcess> holder;
    if (r.held) {
      holder.emplace(Quoted(StandInPath("hold_file.exe")) + " " + Quoted(pdf) + " " + holding.name());
      ASSERT_TRUE(holding.Wait(5000));
    }
    h.Command(r.command);
    ASSERT_TRUE(PumpUntil([&] { return FileExists(told); }, 20000));
    std::string message = ReadFileBytes(told);
    EXPECT_NE(message.find(r.told), std::string::npos) << message;
    EXPECT_NE(message.find("PDFﾌｧｲﾙ " + pdf + " "), std::string::npos) << message;
    EXPECT_FALSE(PumpUntil([&] { return FileExists(shown) || FileExists(printed); }, 1000));
    holder.reset();
    EXPECT_EQ(ReadFileBytes(pdf), good_pdf);
  }
  WriteFileBytes(source, "新しい\r\n\\end\r\n");
  h.Command(kTeX2Item);
  ASSERT_TRUE(PumpUntil([&] { return FileExists(shown); }, 30000)) << ReadFileBytes(told);
  std::string text = RunOnLinux(h.dir().path(), "pdftotext '" + UnixFileName(pdf) + "' '" +
                                                     UnixFileName(h.dir() / "pdf.txt") + "'",
                                h.dir() / "pdf.txt");
  EXPECT_NE(text.find("新しい"), std::string::npos) << text;
}

// One preview of a document that cites a Japanese .bib entry, refers to a later label,
// indexes a word and uses a style from a folder of the TeX settings gives the finished
// PDF, with latexmk or without: bibliography (ソ and 表 whole), settled reference, index. Typesetting it again unchanged runs nothing; a changed .bib runs the chain again;
// a broken .bib is named in the error window, which opens it at the line.
TEST(BridgeTest, OneCommandSettlesReferencesBibliographyAndIndex) {
  EndStandInsAtExit cleanup;
  AppHarness h;
  StartWithBridges(h, "", "", {.table = "[Bridge]\r\n", .show = "sh -c 'touch \"$1.shown\"' viewer"});
  DriveFolders folders(h);
  // A style of the user's in a folder the TeX settings name.
  std::string styles = folders.Make("文書\\スタイル (共有)\\");
  WriteFileBytes(styles + "quillet-shared.sty", "\\newcommand{\\sharedword}{SharedStyleRead}\r\n");
  WriteFileBytes(h.wintex_path(), ReadFileBytes(h.wintex_path()) + "[Environ]\r\nTEXINPUTS=" + styles + "\r\n");
  struct Row {
    const char* what;
    int format;
    Encoding encoding;
    const char* document_class;
    const char* table;
  } rows[] = {{"pLaTeX, Shift-JIS, latexmk", 0, Encoding::kShiftJis, "jsarticle", "[Bridge]\r\n"},
              {"upLaTeX, UTF-8, the bridge's own passes", 2, Encoding::kUtf8, "ujarticle", "[Bridge]\r\nLatexmk=\r\n"}};
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    h.MakeFile("quillet-tex.ini", r.table);
    std::string folder = folders.Make(std::string("文書\\参考 (ソ) ") + (r.format ? "u" : "p") + "\\");
    std::string source = folder + "論文.tex", bib = folder + "refs.bib", log = folder + "論文.log";
    WriteFileBytes(source, InCode(std::string("\\documentclass{") + r.document_class + "}\r\n" +
                                      "\\usepackage{makeidx,quillet-shared}\\makeindex\r\n\\begin{document}\r\n"
                                      "\\sharedword\r\n"
                                      "表示\\index{表示}は\\ref{later}節、\\cite{soft}。\r\n"
                                      "\\section{後}\\label{later}\r\n\\input{第一章}\r\n"
                                      "\\bibliographystyle{jplain}\\bibliography{refs}\r\n"
                                      "\\printindex\r\n\\end{document}\r\n",
                                  r.encoding));
    WriteFileBytes(bib, InCode("@book{soft, author={山田 太郎}, title={ソフト表現の表}, publisher={出版}, year=2020}\r\n",
                               r.encoding));
    std::string chapter = folder + "第一章.tex";
    WriteFileBytes(chapter, InCode("章の本文。\r\n", r.encoding));
    AgeFile(source, 10);
    AgeFile(bib, 10);
    AgeFile(chapter, 10);
    ASSERT_TRUE(h.main().OpenDocument(source));
    h.Command(h.main().run().FormatCommandIds[static_cast<std::size_t>(r.format)]);
    h.Command(kTeX2Item);
    EXPECT_EQ(h.messages.Texts(), "");
    EXPECT_EQ(ErrorText(h), "");
    std::string pdf = folder + "論文.pdf";
    ASSERT_TRUE(PumpUntil([&] { return FileExists(pdf + ".shown"); }, 30000))
        << ReadFileBytes(h.dir() / "viewer-errors.txt");
    std::string text = RunOnLinux(h.dir().path(), "pdftotext '" + UnixFileName(pdf) + "' '" +
                                                       UnixFileName(h.dir() / "pdf.txt") + "'",
                                  h.dir() / "pdf.txt");
    for (const char* part : {"ソフト表現の表", "表示, 1", "は 1 節", "章の本文。", "SharedStyleRead"}) {
      EXPECT_NE(text.find(part), std::string::npos) << part << "\n" << text;
    }
    EXPECT_EQ(text.find("??"), std::string::npos) << text;
    EXPECT_TRUE(FileExists(folder + "論文.synctex.gz"));  // beside the PDF, for the viewer
    // and the copy that Linux viewers' SyncTeX library reads, naming the source by its
    // full UTF-8 name (the folder as the engine found it, links resolved)
    std::string named = RunOnLinux(h.dir().path(),
                                   "grep -cxF \"Input:1:$(realpath '" + UnixFileName(source) + "')\" '" +
                                       UnixFileName(folder + "論文.synctex") + "' > '" +
                                       UnixFileName(h.dir() / "named.txt") + "'",
                                   h.dir() / "named.txt");
    EXPECT_EQ(named, "1\n") << ReadFileBytes(folder + "論文.synctex").substr(0, 300);

    // Unchanged: no tool runs, the log stays as it was.
    AgeFile(log, 5);
    std::int32_t aged = FileAge(log);
    h.Command(kTeX2Item);
    EXPECT_EQ(FileAge(log), aged);
    // A chapter newer than the .dvi runs the chain again.
    WriteFileBytes(chapter, InCode("章の本文を直した。\r\n", r.encoding));
    h.Command(kTeX2Item);
    EXPECT_NE(FileAge(log), aged);
    AgeFile(log, 5);
    aged = FileAge(log);
    // A .bib newer than the .dvi runs the chain again; a broken one is named.
    WriteFileBytes(bib, InCode("@book{soft, author={山田},\r\n title={ソ}\r\n publisher={x}}\r\n", r.encoding));
    h.Command(kTeX2Item);
    EXPECT_NE(FileAge(log), aged);
    std::string errors = ErrorText(h);
    EXPECT_EQ(errors.find("参考文献の処理 ("), 0u) << errors;
    std::size_t at = errors.find("refs.bib:3: ");
    ASSERT_NE(at, std::string::npos) << errors;
    HWND memo = h.app().ErrorWin().Memo;
    SendMessageA(memo, EM_SETSEL, at, at);
    SendMessageA(memo, WM_KEYDOWN, VK_RETURN, 0);
    ASSERT_TRUE(h.main().ActiveChild());
    EXPECT_EQ(h.main().ActiveChild()->FileName(), bib);
    HWND editor = h.main().ActiveChild()->Memo;
    EXPECT_EQ(EditorSelection(editor).start, SendMessageA(editor, EM_LINEINDEX, 2, 0));
    SendMessageA(h.main().ActiveChild()->hwnd(), WM_CLOSE, 0, 0);
    // A missing .bib is named too, by latexmk or by the bibliography tool.
    DeleteFileA(bib.c_str());
    h.Command(kTeX1Item);
    errors = ErrorText(h);
    EXPECT_TRUE(errors.starts_with("latexmk が実行できない段階がありました。") ||
                errors.starts_with("参考文献の処理 (")) << errors;
    EXPECT_NE(errors.find("refs.bib"), std::string::npos) << errors;
  }
}

// A start with no engine or viewer takes the bridges beside the program, formats when
// wintex.ini has none and the macro library when no macro folder is set; what the user
// set stays.
// An outside engine's empty wintex.ini is left as it is: no formats, none chosen.
TEST(BridgeTest, AFirstStartTakesTheShippedBridgesAndKeepsWhatIsSet) {
  const std::string shipped_macros = ProgramFolder() + "macros";
  struct Row { const char* what; const char* ini; const char* wintex; bool engine_taken; std::size_t formats;
               std::string macros; } rows[] = {
      {"nothing set", "", "", true, 3, shipped_macros},
      {"an engine set", "[TeX]\r\nUse=1\r\nｲﾝﾌﾟﾚｽ  Big WpvTeX=C:\\big.exe\r\n", "", false, 0, shipped_macros},
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
    EXPECT_EQ(h.main().run().FormatCommandIds.size(), r.formats);
    EXPECT_EQ(h.main().run().CurrentTeXMode, r.formats ? 0 : -1);
    EXPECT_EQ(env.general.macro_path, r.macros);
    EXPECT_EQ(h.messages.Texts(), "");
    if (!r.formats) {
      EXPECT_EQ(ReadFileBytes(h.wintex_path()), r.wintex);
      continue;
    }
    char value[64];
    GetPrivateProfileStringA("TeXMode", r.formats == 3 ? "pLaTeX" : "plain", "", value, sizeof value,
                             h.wintex_path().c_str());
    EXPECT_STREQ(value, r.formats == 3 ? "platex" : "tex");
  }
}

// What zathura, showing the PDF of the document in folder, answers over D-Bus for one of
// its properties: "(<uint32 2>,)" for the page shown, counted from 0.
std::string ZathuraProperty(AppHarness& h, const std::string& folder, const char* property) {
  std::string answer = UnixFileName(h.dir() / "answer.txt");
  return RunOnLinux(h.dir().path(),
                    "cd '" + UnixFileName(folder + ".quillet-tex") + "' && DBUS_SESSION_BUS_ADDRESS=$(cat viewer.bus) "
                    "gdbus call --session --dest org.pwmt.zathura.PID-$(cat viewer.pid) --object-path /org/pwmt/zathura "
                    "--method org.freedesktop.DBus.Properties.Get org.pwmt.zathura " + property + " > '" + answer + "'",
                    h.dir() / "answer.txt");
}

// Forward search from a Japanese-named document and from the chapter it reads from a
// subfolder shows each line's page in zathura; a Ctrl+click there runs the command the
// viewer bridge gave zathura, with the name and line its SyncTeX lookup finds, and that
// brings the chapter's line up in TeX Quillet.
TEST(BridgeTest, ForwardSearchShowsThePageAndAClickInTheViewerComesBack) {
  EndStandInsAtExit cleanup;
  AppHarness h;
  StartWithBridges(h, "", "", {.show = ""});
  DriveFolders folders(h);
  std::string folder = folders.Make("文書\\表 ソ (同期)\\");
  std::string source = folder + "和文 報告.tex", chapter = folder + "sub\\part.tex";
  CreateDirectoryA((folder + "sub").c_str(), nullptr);
  WriteFileBytes(source, "\\documentclass{jarticle}\r\n\\begin{document}\r\nはじめ。\r\n\\newpage\r\n"
                         "二ページ目の本文です。\r\n\r\n\\input{sub/part}\r\n\\end{document}\r\n");
  WriteFileBytes(chapter, "\\newpage\r\n三ページ目の本文です。\r\n\r\n");
  AgeFile(source, 10);
  AgeFile(chapter, 10);
  ASSERT_TRUE(h.main().OpenDocument(chapter));
  EXPECT_FALSE(h.main().menu().Item(kForwardSearchItem).enabled());  // no run yet
  ASSERT_TRUE(h.main().OpenDocument(source));
  h.Command(h.main().run().FormatCommandIds[0]);
  h.Command(kTeX1Item);
  ASSERT_EQ(ErrorText(h), "");
  struct Row {
    const std::string& file;
    int line;
    const char* page;
  } rows[] = {{source, 5, "(<uint32 1>,)\n"}, {chapter, 2, "(<uint32 2>,)\n"}, {source, 3, "(<uint32 0>,)\n"}};
  for (const Row& r : rows) {
    ASSERT_TRUE(h.main().OpenDocument(r.file));
    EXPECT_TRUE(h.main().menu().Item(kForwardSearchItem).enabled()) << r.file;
    HWND editor = h.main().ActiveChild()->Memo;
    LRESULT at = SendMessageA(editor, EM_LINEINDEX, static_cast<WPARAM>(r.line - 1), 0);
    SendMessageA(editor, EM_SETSEL, static_cast<WPARAM>(at), at);
    h.Command(kForwardSearchItem);
    EXPECT_TRUE(PumpUntil([&] { return ZathuraProperty(h, folder, "pagenumber") == r.page; }, 20000))
        << r.file << " " << r.line << ": " << ZathuraProperty(h, folder, "pagenumber")
        << ReadFileBytes(h.dir() / "viewer-errors.txt") << h.Panel(kHintPanel);
  }
  EXPECT_EQ(h.messages.Texts(), "");

  // zathura resolves the click with its own SyncTeX library and fills in the command.
  std::string click = "cd '" + UnixFileName(folder + ".quillet-tex") + "' && x=$(tr '\\0' '\\n' < /proc/$(cat viewer.pid)/cmdline"
                      " | sed -n '/^-x$/{n;p;}') && eval \"$(printf '%s' \"$x\" | sed 's|%{line}|2|; s|%{input}|" +
                      UnixFileName(chapter) + "|')\"; echo $? > '" + UnixFileName(h.dir() / "clicked.txt") + "'";
  EXPECT_EQ(RunOnLinux(h.dir().path(), click, h.dir() / "clicked.txt"), "0\n");
  ASSERT_TRUE(PumpUntil([&] { return h.main().ActiveChild() && h.main().ActiveChild()->FileName() == chapter; }, 10000))
      << h.messages.Texts();
  HWND editor = h.main().ActiveChild()->Memo;
  Range sel = EditorSelection(editor);
  EXPECT_EQ(sel.start, SendMessageA(editor, EM_LINEINDEX, 1, 0));
  RunOnLinux(h.dir().path(), "kill $(cat '" + UnixFileName(folder + ".quillet-tex\\viewer.pid") + "')", h.dir() / "x");
}

}  // namespace
}  // namespace quillet::test
