#include "tex/synctex_reader.h"

#include <gtest/gtest.h>
#include <synctex/synctex_parser.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "tests/unit/gzip_text.h"
#include "tests/unit/iconv_code_page.h"
#include "tex/synctex_gzip.h"
#include "tex/synctex_names.h"
#include "tex/synctex_stock_copy.h"

// The stock SyncTeX library keeps a buffer of each scanner past synctex_scanner_free.
extern "C" const char* __lsan_default_suppressions() { return "leak:libsynctex.so\n"; }

namespace quillet {
namespace {

namespace fs = std::filesystem;

// Points (the hand-written data's unit) in PDF big points.
double Pt(double pt) { return pt * 72.0 / 72.27; }

void ExpectRect(const SynctexRect& got, const SynctexRect& want, double tolerance, const std::string& what) {
  EXPECT_NEAR(got.x, want.x, tolerance) << what;
  EXPECT_NEAR(got.y, want.y, tolerance) << what;
  EXPECT_NEAR(got.x + got.w, want.x + want.w, tolerance) << what;
  EXPECT_NEAR(got.y + got.h, want.y + want.h, tolerance) << what;
}

// Unit:65536 makes every position a whole point.
constexpr const char* kHandWritten =
    "SyncTeX Version:1\n"
    "Input:1:./doc.tex\n"
    "Output:dvi\n"
    "Magnification:1000\n"
    "Unit:65536\n"
    "X Offset:0\n"
    "Y Offset:0\n"
    "Content:\n"
    "!120\n"
    "{1\n"
    "[1,9:0,300:200,300,0\n"
    "(1,3:10,20:100,8,2\n"
    "x1,2:30,20\n"
    "g1,2:34,20\n"
    "x1,2:50,20\n"
    "k1,3:110,20:60\n"
    ")\n"
    "this line is noise\n"
    "x1,2:notanumber\n"
    "(1,5:10,40:100,8,2\n"
    "x1,4:40,40\n"
    "v1,4:60,40:5,6,1\n"
    ")\n"
    "]\n"
    "}1\n"
    "Input:2:../parts/sub.tex\n"
    "{2\n"
    "$2,7:15,50\n"
    "}2\n"
    "Postamble:\n"
    "Count:8\n";

TEST(SynctexReader, ForwardFindsEachLinesStretchOnItsFirstPage) {
  SynctexReader reader(kHandWritten);
  struct Case {
    const char* source;
    int line;
    int page;
    std::vector<SynctexRect> boxes;
  } cases[] = {
      {"/w/doc/doc.tex", 2, 1, {{Pt(10), Pt(12), Pt(40), Pt(10)}}},   // hbox start to its last record
      {"/w/doc/doc.tex", 3, 1, {{Pt(50), Pt(12), Pt(60), Pt(10)}}},   // a kern ending the line
      {"/w/doc/doc.tex", 4, 1, {{Pt(10), Pt(32), Pt(55), Pt(10)}}},   // a void box's width counts
      {"/w/doc/doc.tex", 5, 1, {{Pt(10), Pt(32), Pt(100), Pt(10)}}},  // only a box names the line
      {"/w/doc/doc.tex", 9, 1, {{0, 0, Pt(200), Pt(300)}}},
      {"/w/doc/doc.tex", 8, 0, {}},
      {"/w/parts/sub.tex", 7, 2, {{Pt(15), Pt(50), 0, 0}}},
      {"/w/doc/sub.tex", 7, 0, {}},
  };
  for (const Case& c : cases) {
    std::string what = std::string(c.source) + ":" + std::to_string(c.line);
    SynctexForward got = reader.Forward(c.source, "/w/doc", c.line, IconvCodePage());
    EXPECT_EQ(got.page, c.page) << what;
    ASSERT_EQ(got.boxes.size(), c.boxes.size()) << what;
    for (std::size_t i = 0; i < c.boxes.size(); ++i) ExpectRect(got.boxes[i], c.boxes[i], 0.001, what);
  }
}

TEST(SynctexReader, InverseAnswersTheNearestRecordOfTheInnermostBox) {
  SynctexReader reader(kHandWritten);
  struct Case {
    int page;
    double x, y;
    bool found;
    const char* file;
    int line;
  } cases[] = {
      {1, Pt(45), Pt(18), true, "./doc.tex", 2},           // nearer the char at 50 than the glue at 34
      {1, Pt(100), Pt(18), true, "./doc.tex", 3},          // inside the kern's stretch
      {1, Pt(150), Pt(200), true, "./doc.tex", 4},         // only the page's vbox: its nearest record
      {2, Pt(100), Pt(100), true, "../parts/sub.tex", 7},  // no box at all
      {3, Pt(10), Pt(10), false, "", 0},
  };
  for (const Case& c : cases) {
    SynctexInverse got = reader.Inverse(c.page, c.x, c.y);
    EXPECT_EQ(got.found, c.found) << c.page << " " << c.x << " " << c.y;
    EXPECT_EQ(got.file, c.file) << c.page << " " << c.x << " " << c.y;
    EXPECT_EQ(got.line, c.line) << c.page << " " << c.x << " " << c.y;
  }
}

TEST(SynctexReader, TextComesPlainOrGzippedAndDamageIsRefused) {
  const std::string text = kHandWritten;
  const std::string packed = Gzip(text);
  struct Case {
    std::string bytes;
    bool ok;
  } cases[] = {{text, true}, {packed, true}, {packed.substr(0, packed.size() / 2), false},
               {packed.substr(0, 10) + std::string(40, 'x'), false}};
  for (const Case& c : cases) {
    std::string got = "untouched";
    EXPECT_EQ(SynctexText(c.bytes, got), c.ok) << c.bytes.size();
    EXPECT_EQ(got, c.ok ? text : "untouched") << c.bytes.size();
  }
}

TEST(SynctexReader, SourceNamesMatchInEveryCodeAndForm) {
  SynctexData data;
  data.inputs = {{1, Iconv("/w/doc/./和文.tex", "CP932", "EUC-JP")},
                 {2, Iconv("sub/報告.tex", "CP932", "UTF-8")},
                 {3, "C:\\Users\\A\\表.tex"},  // 表: its second byte is 0x5C
                 {4, "../other/Note.TEX"},
                 // Under Wine: the drive's folder and the work folder in UTF-8, the name in EUC-JP.
                 {5, Iconv("/p/drive_c/文書/.quillet-tex/", "CP932", "UTF-8") + Iconv("../和文 報告.tex", "CP932", "EUC-JP")}};
  struct Case {
    std::string source;
    std::vector<std::int32_t> tags;
  } cases[] = {
      {"/w/doc/和文.tex", {1}},
      {Iconv("\\w\\doc\\sub\\報告.tex", "CP932", "UTF-8"), {2}},
      {"/w/doc/sub/x/../報告.tex", {2}},
      {"c:/users/a/表.tex", {3}},
      {"/w/other/note.tex", {4}},
      {"/w/doc/表.tex", {}},
      {"C:\\文書\\和文 報告.tex", {5}},
      {"c:\\他\\文書\\和文 報告.tex", {}},
      {"C:\\文書\\和文.tex", {}},
      {"C:\\Users\\A\\表", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(SynctexTagsOf(data, c.source, "/w/doc", IconvCodePage()), c.tags) << c.source;
}


// What pdftotext -bbox reports of a word.
struct Word {
  int page;
  std::string text;
  SynctexRect box;
};

std::vector<Word> PdfWords(const fs::path& pdf) {
  fs::path out = pdf.parent_path() / "words.html";
  std::string command = "pdftotext -bbox '" + pdf.string() + "' '" + out.string() + "'";
  if (std::system(command.c_str()) != 0) return {};
  std::ifstream in(out);
  std::vector<Word> words;
  int page = 0;
  for (std::string line; std::getline(in, line);) {
    if (line.find("<page ") != std::string::npos) ++page;
    double x0, y0, x1, y1;
    char text[64];
    if (std::sscanf(line.c_str(), " <word xMin=\"%lf\" yMin=\"%lf\" xMax=\"%lf\" yMax=\"%lf\">%63[^<]", &x0, &y0, &x1,
                    &y1, text) == 5)
      words.push_back({page, text, {x0, y0, x1 - x0, y1 - y0}});
  }
  return words;
}

// The box around the words "<prefix>a", "<prefix>b", ... on page.
SynctexRect WordsBox(const std::vector<Word>& words, int page, const std::string& prefix) {
  double x0 = 1e9, y0 = 1e9, x1 = -1e9, y1 = -1e9;
  for (const Word& w : words) {
    if (w.page != page || w.text.size() != prefix.size() + 1 || w.text.compare(0, prefix.size(), prefix) != 0) continue;
    x0 = std::min(x0, w.box.x), y0 = std::min(y0, w.box.y);
    x1 = std::max(x1, w.box.x + w.box.w), y1 = std::max(y1, w.box.y + w.box.h);
  }
  return {x0, y0, x1 - x0, y1 - y0};
}

std::string Utf8(std::string_view cp932) { return Iconv(cp932, "CP932", "UTF-8"); }

// Names come out full from the work folder and in UTF-8, even pLaTeX's EUC-JP name after
// a folder in UTF-8; lines that are no vertical node or input, or that cannot be read
// whole, come through as they were.
TEST(SynctexStockCopy, NamesComeOutFullAndOtherLinesAsTheyWere) {
  const std::string text =
      "Input:1:./doc.tex\nInput:2:../parts/sub.tex\nInput:3://t/./x/../y.tex\nInput:4:" + Utf8("/w/文書/") +
      Iconv("論文.tex", "CP932", "EUC-JP") +
      "\nContent:\n{1\nx1,2:30,20\n(1,5:10,-40:100\nk1,3:notanumber,-20:60\nthis line is noise\n}1\n";
  const std::string want =
      "Input:1:/w/doc/doc.tex\nInput:2:/w/parts/sub.tex\nInput:3:/t/y.tex\nInput:4:" + Utf8("/w/文書/論文.tex") +
      "\nContent:\n{1\nx1,2:30,20\n(1,5:10,-40:100\nk1,3:notanumber,-20:60\nthis line is noise\n}1\n";
  EXPECT_EQ(SynctexStockCopy(text, "/w/doc/", IconvCodePage()), want);
}

// Each paragraph line's words carry the line's number; "p" and "q" reach below the baseline,
// as the boxes do.
constexpr const char* kMainBody =
    "\\setlength{\\parindent}{0pt}\n"  // 2
    "\\begin{document}\n"             // 3
    "p4a p4b 日本 p4c\n"              // 4
    "\n"
    "p6a p6b\n"  // 6
    "\n"
    "\\input{sub/part}\n"  // 8
    "\\newpage\n"
    "p10a p10b\n"  // 10
    "\n"
    "\\end{document}\n";
constexpr const char* kPart = "q1a q1b q1c\n\nq3a q3b\n";

struct Sample {
  const char* engine;
  const char* options;
  const char* document_class;
  const char* name;      // Shift-JIS, without ".tex"
  const char* encoding;  // the source's, as iconv names it
  const char* name_code; // the engine's code for names in its data
};

class SynctexSample : public ::testing::TestWithParam<Sample> {};

// The engine runs in a work folder below the source's, finding the source through
// TEXINPUTS, as the engine bridge runs it. Then the stock SyncTeX library, given the copy
// of the data made for it, answers each box with the file's full UTF-8 name and its line.
TEST_P(SynctexSample, ForwardBoxesFitTheWordsAndInverseComesBack) {
  const Sample& s = GetParam();
  if (std::system((std::string("command -v ") + s.engine + " dvipdfmx pdftotext > /dev/null").c_str()) != 0)
    GTEST_SKIP() << s.engine << " is not installed";
  fs::path dir = fs::temp_directory_path() / ("quillet-synctex-" + std::to_string(getpid()) + "-" + s.document_class);
  fs::path work = dir / "work";
  fs::remove_all(dir);
  fs::create_directories(dir / "sub");
  fs::create_directories(work);
  std::string name = Utf8(s.name);
  std::string main = std::string("\\documentclass{") + s.document_class + "}\n" + kMainBody;
  std::ofstream(dir / (name + ".tex"), std::ios::binary) << Iconv(main, "CP932", s.encoding);
  std::ofstream(dir / "sub" / "part.tex", std::ios::binary) << kPart;
  std::string command = "cd '" + work.string() + "' && TEXINPUTS=..: " + s.engine + " " + s.options +
                        " -synctex=1 -interaction=nonstopmode '\"" + name + ".tex\"' > /dev/null 2>&1 && dvipdfmx -q '" +
                        name + ".dvi' > /dev/null 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
  std::ifstream in(work / (name + ".synctex.gz"), std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>()), text;
  ASSERT_TRUE(SynctexText(bytes, text));
  SynctexReader reader(text);
  std::vector<Word> words = PdfWords(work / (name + ".pdf"));
  std::ofstream(work / (name + ".synctex"), std::ios::binary) << SynctexStockCopy(text, work.string(), IconvCodePage());
  std::unique_ptr<synctex_scanner_s, int (*)(synctex_scanner_p)> stock(
      synctex_scanner_new_with_output_file((work / (name + ".pdf")).c_str(), nullptr, 1), synctex_scanner_free);
  ASSERT_TRUE(stock);

  // The caller's names: the editor's Shift-JIS with "\", and UTF-8 with a ".." part.
  const std::string folder = dir.string(), at_work = work.string();
  const std::string main_sjis = folder + "\\" + s.name + ".tex";
  const std::string part_utf8 = folder + "/sub/../sub/part.tex";
  const std::string main_written = at_work + "/../" + Iconv(std::string(s.name) + ".tex", "CP932", s.name_code);
  const std::string main_full = folder + "/" + name + ".tex", part_full = folder + "/sub/part.tex";
  struct Case {
    const std::string& source;
    const std::string& written;
    const std::string& full;
    int line;
    int page;
    std::string prefix;
  } cases[] = {
      {main_sjis, main_written, main_full, 4, 1, "p4"},
      {main_sjis, main_written, main_full, 6, 1, "p6"},
      {main_sjis, main_written, main_full, 10, 2, "p10"},
      {part_utf8, at_work + "/../sub/part.tex", part_full, 1, 1, "q1"},
      {part_utf8, at_work + "/../sub/part.tex", part_full, 3, 1, "q3"},
  };
  for (const Case& c : cases) {
    SynctexForward got = reader.Forward(c.source, at_work, c.line, IconvCodePage());
    EXPECT_EQ(got.page, c.page) << c.prefix;
    ASSERT_EQ(got.boxes.size(), 1u) << c.prefix;
    ExpectRect(got.boxes[0], WordsBox(words, c.page, c.prefix), 2.0, c.prefix);
    const SynctexRect& b = got.boxes[0];
    const double x = b.x + b.w / 2, y = b.y + b.h / 2;
    SynctexInverse back = reader.Inverse(c.page, x, y);
    EXPECT_EQ(back.file, c.written) << c.prefix;
    EXPECT_EQ(back.line, c.line) << c.prefix;
    ASSERT_GT(synctex_edit_query(stock.get(), c.page, static_cast<float>(x), static_cast<float>(y)), 0) << c.prefix;
    synctex_node_p node = synctex_scanner_next_result(stock.get());
    ASSERT_NE(node, nullptr) << c.prefix;
    const char* stock_name = synctex_scanner_get_name(stock.get(), synctex_node_tag(node));
    EXPECT_EQ(std::string(stock_name ? stock_name : ""), c.full) << c.prefix;
    EXPECT_EQ(synctex_node_line(node), c.line) << c.prefix;
  }
  fs::remove_all(dir);
}

INSTANTIATE_TEST_SUITE_P(Engines, SynctexSample,
                         ::testing::Values(Sample{"platex", "-kanji=sjis", "jarticle", "和文 報告", "CP932", "EUC-JP"},
                                           Sample{"uplatex", "", "ujarticle", "報告書", "UTF-8", "UTF-8"},
                                           Sample{"platex", "-kanji=sjis", "tarticle", "縦書き", "CP932", "EUC-JP"}),
                         [](const auto& info) { return std::string(info.param.document_class); });

}  // namespace
}  // namespace quillet
