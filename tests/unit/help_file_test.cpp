#include "help/help_file.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <ctime>
#include <fstream>
#include <iterator>
#include <set>

namespace quillet {
namespace {

std::string WithCrLf(std::string text) {
  std::string out;
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

TEST(HelpFileTest, HeadersGiveNumbersTitlesAndChapters) {
  const std::string text =
      "; comment before everything\n"
      "[topic 7 Before any chapter]\n"
      "seven\n"
      "[chapter はじめに]\n"
      "[topic 1001 TeX Quilletについて]\n"
      "about\n"
      "[chapter  設定 ]\n"
      "[topic 45   TeXの選択  ]\n"
      "forty-five\n"
      "[topic 4294967295 最大]\n"
      "[topic 46 [角括弧] を含む題名]\n";
  struct Row { std::uint32_t number; const char* title; const char* body; int chapter; } rows[] = {
      {7, "Before any chapter", "seven", -1},
      {1001, "TeX Quilletについて", "about", 0},
      {45, "TeXの選択", "forty-five", 1},
      {4294967295u, "最大", "", 1},
      {46, "[角括弧] を含む題名", "", 1},
  };
  for (const std::string& variant : {text, WithCrLf(text)}) {
    HelpFile file = ParseHelpFile(variant);
    EXPECT_TRUE(file.problems.empty());
    ASSERT_EQ(file.chapters, (std::vector<std::string>{"はじめに", "設定"}));
    ASSERT_EQ(file.topics.size(), std::size(rows));
    for (std::size_t i = 0; i < std::size(rows); ++i) {
      const HelpTopic& t = file.topics[i];
      EXPECT_EQ(t.number, rows[i].number) << "row " << i;
      EXPECT_EQ(t.title, rows[i].title) << "row " << i;
      EXPECT_EQ(t.body, rows[i].body) << "row " << i;
      EXPECT_EQ(t.chapter, rows[i].chapter) << "row " << i;
      EXPECT_EQ(file.Find(rows[i].number), &t) << "row " << i;
    }
    EXPECT_EQ(file.Find(8), nullptr);
  }
}

TEST(HelpFileTest, BodyLinesJoinIntoParagraphs) {
  struct Row { const char* name; const char* lines; const char* body; } rows[] = {
      {"japanese lines join without a blank", "一行目の\n続きです。", "一行目の続きです。"},
      {"two ascii words get one blank", "Run TeX\non the file", "Run TeX on the file"},
      {"ascii then japanese join directly", "Press OK\nすると", "Press OKすると"},
      {"japanese then ascii join directly", "ボタン\nOK", "ボタンOK"},
      {"half-width kana is no ascii word", "ﾌｧｲﾙ\nname", "ﾌｧｲﾙname"},
      {"an empty line separates paragraphs", "第一段落。\n\n第二段落。", "第一段落。\r\n\r\n第二段落。"},
      {"several empty lines are one break", "一。\n\n\n\n二。", "一。\r\n\r\n二。"},
      {"leading and trailing empty lines go", "\n\n本文。\n\n", "本文。"},
      {"a bullet keeps its own line", "項目:\n・一つ目\n・二つ目", "項目:\r\n・一つ目\r\n・二つ目"},
      {"text after a list starts a new line", "・最後の項目\n続きの文。\nさらに", "・最後の項目\r\n続きの文。さらに"},
      {"an indented line keeps its own line", "キー:\n  Ctrl+F 検索", "キー:\r\n  Ctrl+F 検索"},
      {"a full-width blank keeps its own line", "前\n　字下げ", "前\r\n　字下げ"},
      {"trailing blanks are dropped", "末尾   \nです", "末尾です"},
      {"comment lines inside a body vanish", "前半\n; note\n後半", "前半後半"},
      {"a bracket line is body text", "[次へ >]を押します。", "[次へ >]を押します。"},
      {"a longer keyword is body text", "[topics are here]", "[topics are here]"},
      // "x＝" then "＝a" (0x81 0x81): read from its start, the joined text ends in "a".
      {"characters are read across joined lines", "x\x81\n\x81" "a\nb", "x\x81\x81" "a b"},
  };
  for (auto r : rows) {
    HelpFile file = ParseHelpFile(std::string("[topic 1 T]\n") + r.lines + "\n");
    ASSERT_EQ(file.topics.size(), 1u) << r.name;
    EXPECT_EQ(file.topics[0].body, r.body) << r.name;
    EXPECT_TRUE(file.problems.empty()) << r.name;
  }
}

TEST(HelpFileTest, ProblemsAreReportedWithTheirLineAndTheRestStillParses) {
  struct Row {
    const char* name;
    const char* text;
    std::vector<std::uint32_t> numbers;
    std::vector<std::pair<int, HelpProblemKind>> problems;
  } rows[] = {
      {"no number", "[topic Title]\nlost\n[topic 2 B]\nb\n", {2}, {{1, HelpProblemKind::MalformedHeader}}},
      {"no title", "[topic 3]\n[topic 2 B]\n", {2}, {{1, HelpProblemKind::MalformedHeader}}},
      {"no blank after number", "[topic 3x T]\n", {}, {{1, HelpProblemKind::MalformedHeader}}},
      {"no closing bracket", "[topic 3 T\n[topic 4 U]\n", {4}, {{1, HelpProblemKind::MalformedHeader}}},
      {"number too large", "[topic 4294967296 T]\n", {}, {{1, HelpProblemKind::MalformedHeader}}},
      {"negative number", "[topic -3 T]\n", {}, {{1, HelpProblemKind::MalformedHeader}}},
      // "‐" is 0x81 0x5D: its trail byte looks like "]" but closes nothing.
      {"trail byte is no bracket", "[topic 5 A‐\n", {}, {{1, HelpProblemKind::MalformedHeader}}},
      {"chapter without title", "[chapter]\n[topic 1 A]\n", {1}, {{1, HelpProblemKind::MalformedHeader}}},
      {"duplicate number", "[topic 9 A]\na\n[topic 9 B]\nb\n[topic 10 C]\n", {9, 10},
       {{3, HelpProblemKind::DuplicateNumber}}},
      {"text before first topic", "intro\n\n[topic 1 A]\n", {1}, {{1, HelpProblemKind::TextOutsideTopic}}},
      {"text after a chapter header", "[topic 1 A]\n[chapter C]\nstray\n[topic 2 B]\n", {1, 2},
       {{3, HelpProblemKind::TextOutsideTopic}}},
  };
  for (const auto& r : rows) {
    HelpFile file = ParseHelpFile(r.text);
    std::vector<std::uint32_t> numbers;
    for (const HelpTopic& t : file.topics) numbers.push_back(t.number);
    EXPECT_EQ(numbers, r.numbers) << r.name;
    std::vector<std::pair<int, HelpProblemKind>> problems;
    for (const HelpProblem& p : file.problems) problems.emplace_back(p.line, p.kind);
    EXPECT_EQ(problems, r.problems) << r.name;
  }
}

// A paragraph of 100,000 lines and 100,000 topics (the last number a duplicate) are read
// in time proportional to their size: seconds would mean a rescan per line or per topic.
TEST(HelpFileTest, LargeFilesAreReadInLinearTime) {
  constexpr int kCount = 100000;
  std::string paragraph = "[topic 1 T]\n", topics;
  for (int i = 0; i < kCount; ++i) {
    paragraph += i % 2 ? "word\n" : "語\n";
    topics += "[topic " + std::to_string(i) + " T]\nbody\n";
  }
  topics += "[topic 77 again]\n";
  std::clock_t start = std::clock();
  HelpFile one = ParseHelpFile(paragraph), many = ParseHelpFile(topics);
  double seconds = static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
  ASSERT_EQ(one.topics.size(), 1u);
  EXPECT_EQ(one.topics[0].body.size(), kCount / 2 * std::string_view("語word").size());
  EXPECT_EQ(many.topics.size(), std::size_t{kCount});
  ASSERT_EQ(many.problems.size(), 1u);
  EXPECT_EQ(many.problems[0].line, 2 * kCount + 1);
  EXPECT_EQ(many.problems[0].kind, HelpProblemKind::DuplicateNumber);
  EXPECT_LT(seconds, 3.0);
}

TEST(HelpFileTest, TheFirstOfTwoEqualNumbersIsKeptWithItsOwnBody) {
  HelpFile file = ParseHelpFile("[topic 9 First]\none\n[topic 9 Second]\ntwo\n");
  ASSERT_NE(file.Find(9), nullptr);
  EXPECT_EQ(file.Find(9)->title, "First");
  EXPECT_EQ(file.Find(9)->body, "one");
}

TEST(HelpFileTest, AFileWithoutTopicsIsEmpty) {
  for (const char* text : {"", "\n\n", "; only a comment\n", "[chapter 空の章]\n"}) {
    HelpFile file = ParseHelpFile(text);
    EXPECT_TRUE(file.topics.empty()) << text;
    EXPECT_TRUE(file.problems.empty()) << text;
    EXPECT_EQ(file.Find(0), nullptr) << text;
  }
}

TEST(HelpFileTest, DisplayTextIsTitleThenBody) {
  HelpFile file = ParseHelpFile("[topic 45 TeXの選択]\n使うTeXを選びます。\n\n次の段落。\n");
  ASSERT_EQ(file.topics.size(), 1u);
  EXPECT_EQ(TopicDisplayText(file.topics[0]), "TeXの選択\r\n使うTeXを選びます。\r\n\r\n次の段落。");
}

TEST(HelpFileTest, ChapterOutlineListsItsOwnTopicsInFileOrder) {
  HelpFile file = ParseHelpFile(
      "[topic 1 前書き]\n[chapter 一]\n[topic 2 甲]\n[topic 3 乙]\n[chapter 二]\n[topic 4 丙]\n[chapter 三]\n");
  struct Row { int chapter; const char* outline; } rows[] = {
      {-1, "・前書き"}, {0, "・甲\r\n・乙"}, {1, "・丙"}, {2, ""},
  };
  for (auto r : rows) EXPECT_EQ(ChapterOutline(file, r.chapter), r.outline) << "chapter " << r.chapter;
}

// The shipped help file, converted to Shift-JIS as the build does for the program.
class ShippedHelpFileTest : public testing::Test {
 protected:
  static HelpFile Load() {
    std::ifstream in(std::string(QUILLET_SOURCE_DIR) + "/help/Quillet.hlp.txt", std::ios::binary);
    std::string utf8((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return ParseHelpFile(ToCp932(utf8));
  }

  static std::string ToCp932(std::string utf8) {
    iconv_t cd = iconv_open("CP932", "UTF-8");
    EXPECT_NE(cd, reinterpret_cast<iconv_t>(-1));
    std::string out(utf8.size(), '\0');
    char* in_ptr = utf8.data();
    char* out_ptr = out.data();
    std::size_t in_left = utf8.size();
    std::size_t out_left = out.size();
    EXPECT_NE(iconv(cd, &in_ptr, &in_left, &out_ptr, &out_left), static_cast<std::size_t>(-1))
        << "the help source holds a character that Shift-JIS lacks";
    iconv_close(cd);
    out.resize(out.size() - out_left);
    return out;
  }
};

TEST_F(ShippedHelpFileTest, HasATopicForEveryContextNumberTheProgramAsksFor) {
  HelpFile file = Load();
  std::vector<std::pair<std::uint32_t, std::uint32_t>> ranges = {
      {43, 46}, {48, 52}, {75, 78}, {79, 107}, {108, 129}, {130, 170}};
  for (auto [first, last] : ranges) {
    for (std::uint32_t n = first; n <= last; ++n) {
      const HelpTopic* topic = file.Find(n);
      ASSERT_NE(topic, nullptr) << "context " << n;
      EXPECT_FALSE(topic->body.empty()) << "context " << n;
    }
  }
}

TEST_F(ShippedHelpFileTest, ParsesCleanlyWithChaptersForEveryTopic) {
  HelpFile file = Load();
  for (const HelpProblem& p : file.problems) ADD_FAILURE() << "problem at line " << p.line;
  EXPECT_GE(file.chapters.size(), 6u);
  std::set<int> used;
  for (const HelpTopic& t : file.topics) {
    EXPECT_NE(t.chapter, -1) << "topic " << t.number << " is outside every chapter";
    used.insert(t.chapter);
  }
  EXPECT_EQ(used.size(), file.chapters.size()) << "a chapter without topics";
}

}  // namespace
}  // namespace quillet
