#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

#include "help/help_file.h"
#include "help/help_win.h"
#include "tests/win/support/test_support.h"

namespace quillet {
namespace {

using test::PumpMessages;

std::string BuildDir() {
  const char* dir = std::getenv("QUILLET_BUILD_DIR");
  return dir ? dir : ".";
}

HelpFile ShippedFile() { return ParseHelpFile(test::ReadFileBytes(BuildDir() + "/Quillet.hlp")); }

RECT WindowRect(HWND hwnd) {
  RECT rect{};
  GetWindowRect(hwnd, &rect);
  return rect;
}

RECT WorkArea() {
  RECT work{};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  return work;
}

class HelpEngineTest : public testing::Test {
 protected:
  void SetUp() override {
    // The pop-ups only need it as their owner; it stays hidden.
    owner_ = CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW, 100, 100, 400, 300, nullptr, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(owner_, nullptr);
  }
  void TearDown() override { DestroyWindow(owner_); }

  // A help file of the test's own, by its full path.
  std::string WriteHelp(const std::string& name, const std::string& text) {
    std::string path = dir_ / name;
    test::WriteFileBytes(path, text);
    return path;
  }

  HWND owner_ = nullptr;
  test::TempDir dir_;
};

HWND TreeOf(HWND contents) { return FindWindowExA(contents, nullptr, WC_TREEVIEWA, nullptr); }

TEST_F(HelpEngineTest, FinderOpensTheContentsWithEveryTopicAndTheFirstChosen) {
  HelpFile file = ShippedFile();
  ASSERT_FALSE(file.topics.empty());
  HelpEngine engine("Quillet.hlp");
  ASSERT_EQ(engine.Request(owner_, HELP_FINDER, 0), HelpResult::Shown);
  HWND contents = engine.contents_window();
  ASSERT_NE(contents, nullptr);
  EXPECT_TRUE(IsWindowVisible(contents));
  EXPECT_EQ(test::WindowText(contents), "TeX Quillet ﾍﾙﾌﾟ");
  HWND tree = TreeOf(contents);
  ASSERT_NE(tree, nullptr);
  EXPECT_EQ(SendMessageA(tree, TVM_GETCOUNT, 0, 0), static_cast<LRESULT>(file.topics.size() + file.chapters.size()));
  EXPECT_EQ(engine.shown_topic_text(), TopicDisplayText(file.topics[0]));

  // Asking again brings the same window forward and keeps the reader's place.
  auto second_chapter = reinterpret_cast<LPARAM>(SendMessageA(
      tree, TVM_GETNEXTITEM, TVGN_NEXT, SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0)));
  SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, second_chapter);
  PumpMessages();
  EXPECT_EQ(engine.shown_topic_text(), file.chapters[1] + "\r\n" + ChapterOutline(file, 1));
  EXPECT_EQ(engine.Request(owner_, HELP_FINDER, 0), HelpResult::Shown);
  EXPECT_EQ(engine.contents_window(), contents);
  EXPECT_EQ(engine.shown_topic_text(), file.chapters[1] + "\r\n" + ChapterOutline(file, 1));
}

TEST_F(HelpEngineTest, ChoosingATopicInTheTreeShowsItsText) {
  HelpEngine engine(WriteHelp("tree.hlp",
                              "[topic 5 前書き]\r\n本文なし章外。\r\n[chapter 空の章]\r\n[chapter 第一章]\r\n"
                              "[topic 1 甲]\r\n甲の本文。\r\n[topic 2 乙]\r\n乙の一段落。\r\n\r\n乙の二段落。\r\n"));
  ASSERT_EQ(engine.Request(owner_, HELP_FINDER, 0), HelpResult::Shown);
  HWND tree = TreeOf(engine.contents_window());
  EXPECT_EQ(SendMessageA(tree, TVM_GETCOUNT, 0, 0), 4) << "the empty chapter is left out";
  EXPECT_EQ(engine.shown_topic_text(), "前書き\r\n本文なし章外。");  // outside chapters comes first
  auto chapter = SendMessageA(tree, TVM_GETNEXTITEM, TVGN_NEXT, SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
  auto first = SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CHILD, chapter);
  auto second = SendMessageA(tree, TVM_GETNEXTITEM, TVGN_NEXT, first);
  SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, second);
  PumpMessages();
  EXPECT_EQ(engine.shown_topic_text(), "乙\r\n乙の一段落。\r\n\r\n乙の二段落。");
}

TEST_F(HelpEngineTest, EscapeInTheContentsWindowClosesIt) {
  HelpEngine engine("Quillet.hlp");
  ASSERT_EQ(engine.Request(owner_, HELP_FINDER, 0), HelpResult::Shown);
  HWND contents = engine.contents_window();
  SendMessageA(TreeOf(contents), WM_KEYDOWN, VK_ESCAPE, 0);
  PumpMessages(50);
  EXPECT_EQ(engine.contents_window(), nullptr);
  EXPECT_FALSE(IsWindow(contents));
  EXPECT_EQ(engine.shown_topic_text(), "");
}

TEST_F(HelpEngineTest, ContextPopupShowsThatTopicBesideTheMouse) {
  HelpFile file = ShippedFile();
  ASSERT_NE(file.Find(45), nullptr);
  HelpEngine engine("Quillet.hlp");
  SetCursorPos(500, 300);
  ASSERT_EQ(engine.Request(owner_, HELP_CONTEXTPOPUP, 45), HelpResult::Shown);
  HWND popup = engine.popup_window();
  ASSERT_NE(popup, nullptr);
  EXPECT_TRUE(IsWindowVisible(popup));
  EXPECT_EQ(engine.popup_text(), TopicDisplayText(*file.Find(45)));
  EXPECT_EQ(GetWindow(popup, GW_OWNER), owner_);
  EXPECT_EQ(GetCapture(), popup) << "a click on any window of the program must reach the pop-up";
  EXPECT_EQ(engine.contents_window(), nullptr);
  RECT rect = WindowRect(popup);
  RECT work = WorkArea();
  EXPECT_LE(rect.right - rect.left, 320);
  EXPECT_GE(rect.left, work.left);
  EXPECT_LE(rect.right, work.right);
  EXPECT_GE(rect.top, work.top);
  EXPECT_LE(rect.bottom, work.bottom);
  POINT cursor{};
  GetCursorPos(&cursor);
  EXPECT_TRUE(cursor.x >= rect.left && cursor.x < rect.right) << "popup is not beside the mouse";
}

TEST_F(HelpEngineTest, PopupIsSizedToItsTextAndKeptOnTheScreen) {
  std::string long_text(400, 'x');
  for (std::size_t i = 0; i < long_text.size(); i += 8) long_text[i] = ' ';
  std::string path = WriteHelp("sizes.hlp", "[topic 1 OK]\r\n[topic 2 長い]\r\n" + long_text + "\r\n" +
                                                "日本語の長い説明文が続きます。" + "日本語の長い説明文が続きます。" +
                                                "日本語の長い説明文が続きます。\r\n");
  HelpEngine engine(path);
  RECT work = WorkArea();
  ASSERT_EQ(engine.Request(owner_, HELP_CONTEXTPOPUP, 1), HelpResult::Shown);
  RECT small = WindowRect(engine.popup_window());
  SetCursorPos(work.right - 2, work.bottom - 2);
  ASSERT_EQ(engine.Request(owner_, HELP_CONTEXTPOPUP, 2), HelpResult::Shown);
  RECT large = WindowRect(engine.popup_window());
  EXPECT_LT(small.right - small.left, 100) << "a one-word topic gets a narrow pop-up";
  EXPECT_GT(large.right - large.left, 250);
  EXPECT_LE(large.right - large.left, 320);
  EXPECT_GT(large.bottom - large.top, 5 * (small.bottom - small.top) / 2) << "long text wraps onto more lines";
  EXPECT_LE(large.right, work.right);
  EXPECT_LE(large.bottom, work.bottom);
}

TEST_F(HelpEngineTest, PopupClosesOnAKeyAClickOrAnotherActiveWindow) {
  HelpEngine engine("Quillet.hlp");
  HWND other = CreateWindowExA(0, "STATIC", "other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 600, 100, 200, 100, nullptr,
                               nullptr, GetModuleHandleA(nullptr), nullptr);
  struct Row { const char* name; std::function<void(HWND popup)> act; } rows[] = {
      {"key", [](HWND popup) { PostMessageA(popup, WM_KEYDOWN, VK_SPACE, 0); }},
      {"click on the pop-up", [](HWND popup) { PostMessageA(popup, WM_LBUTTONDOWN, MK_LBUTTON, 0); }},
      {"another window active", [other](HWND) { SetForegroundWindow(other); }},
  };
  for (const Row& row : rows) {
    ASSERT_EQ(engine.Request(owner_, HELP_CONTEXTPOPUP, 78), HelpResult::Shown) << row.name;
    HWND popup = engine.popup_window();
    PumpMessages(20);
    ASSERT_TRUE(IsWindowVisible(popup)) << row.name << ": closed before anything happened";
    row.act(popup);
    PumpMessages(100);
    EXPECT_EQ(engine.popup_window(), nullptr) << row.name;
    EXPECT_FALSE(IsWindow(popup)) << row.name;
    EXPECT_EQ(engine.popup_text(), "") << row.name;
  }
  DestroyWindow(other);
}

TEST_F(HelpEngineTest, UnknownNumbersAndCommandsGiveNoTopicAndNoWindow) {
  HelpEngine engine("Quillet.hlp");
  ASSERT_EQ(engine.Request(owner_, HELP_CONTEXTPOPUP, 45), HelpResult::Shown);
  struct Row { UINT command; ULONG_PTR data; } rows[] = {
      {HELP_CONTEXTPOPUP, 47}, {HELP_CONTEXTPOPUP, 0}, {HELP_CONTEXTPOPUP, 99999},
      {HELP_CONTENTS, 0}, {HELP_CONTEXT, 45},
  };
  for (auto r : rows) {
    EXPECT_EQ(engine.Request(owner_, r.command, r.data), HelpResult::NoTopic) << r.command << " " << r.data;
  }
  EXPECT_EQ(engine.popup_window(), nullptr);
  EXPECT_EQ(engine.contents_window(), nullptr);
}

TEST_F(HelpEngineTest, QuitClosesBothWindows) {
  HelpEngine engine("Quillet.hlp");
  ASSERT_EQ(engine.Request(owner_, HELP_FINDER, 0), HelpResult::Shown);
  ASSERT_EQ(engine.Request(owner_, HELP_CONTEXTPOPUP, 130), HelpResult::Shown);
  HWND contents = engine.contents_window();
  HWND popup = engine.popup_window();
  EXPECT_EQ(engine.Request(owner_, HELP_QUIT, 0), HelpResult::Closed);
  EXPECT_EQ(engine.contents_window(), nullptr);
  EXPECT_EQ(engine.popup_window(), nullptr);
  EXPECT_FALSE(IsWindow(contents));
  EXPECT_FALSE(IsWindow(popup));
  EXPECT_EQ(engine.Request(owner_, HELP_QUIT, 0), HelpResult::Closed) << "quitting twice is harmless";
}

TEST_F(HelpEngineTest, DestroyingTheEngineDestroysItsWindows) {
  HWND contents = nullptr;
  HWND popup = nullptr;
  {
    HelpEngine engine("Quillet.hlp");
    engine.Request(owner_, HELP_FINDER, 0);
    engine.Request(owner_, HELP_CONTEXTPOPUP, 43);
    contents = engine.contents_window();
    popup = engine.popup_window();
    ASSERT_TRUE(contents && popup);
  }
  EXPECT_FALSE(IsWindow(contents));
  EXPECT_FALSE(IsWindow(popup));
}

TEST_F(HelpEngineTest, MissingOrEmptyFilesShowNothing) {
  std::string empty = WriteHelp("empty.hlp", "; nothing here\r\n[chapter 空]\r\n");
  struct Row { std::string name; UINT command; ULONG_PTR data; HelpResult expected; } rows[] = {
      {"quillet-no-such-file.hlp", HELP_FINDER, 0, HelpResult::FileMissing},
      {"quillet-no-such-file.hlp", HELP_CONTEXTPOPUP, 45, HelpResult::FileMissing},
      {dir_ / "absent.hlp", HELP_FINDER, 0, HelpResult::FileMissing},
      {dir_ / "absent.hlp", HELP_CONTEXTPOPUP, 45, HelpResult::FileMissing},
      {empty, HELP_FINDER, 0, HelpResult::NoTopic},
      {empty, HELP_CONTEXTPOPUP, 45, HelpResult::NoTopic},
  };
  for (const Row& r : rows) {
    HelpEngine engine(r.name);
    EXPECT_EQ(engine.Request(owner_, r.command, r.data), r.expected) << r.name << " " << r.command;
    EXPECT_EQ(engine.contents_window(), nullptr) << r.name;
    EXPECT_EQ(engine.popup_window(), nullptr) << r.name;
  }
}

TEST_F(HelpEngineTest, AMissingFileIsLookedForAgainAtTheNextRequest) {
  std::string path = dir_ / "late.hlp";
  HelpEngine engine(path);
  EXPECT_EQ(engine.Request(owner_, HELP_CONTEXTPOPUP, 1), HelpResult::FileMissing);
  WriteHelp("late.hlp", "[topic 1 遅れて来た]\r\n本文。\r\n");
  EXPECT_EQ(engine.Request(owner_, HELP_CONTEXTPOPUP, 1), HelpResult::Shown);
  EXPECT_EQ(engine.popup_text(), "遅れて来た\r\n本文。");
}

TEST_F(HelpEngineTest, ABareNameIsLookedForBesideTheProgramThenInTheCurrentDirectory) {
  char saved[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, saved);
  ASSERT_TRUE(SetCurrentDirectoryA(dir_.path().c_str()));
  WriteHelp("Quillet.hlp", "[topic 45 偽物]\r\nカレントディレクトリの写し。\r\n");
  WriteHelp("only-here.hlp", "[topic 45 ここだけ]\r\nカレントディレクトリにだけある。\r\n");
  HelpEngine beside("Quillet.hlp");
  HelpEngine current("only-here.hlp");
  EXPECT_EQ(beside.Request(owner_, HELP_CONTEXTPOPUP, 45), HelpResult::Shown);
  EXPECT_EQ(beside.popup_text(), TopicDisplayText(*ShippedFile().Find(45)));
  EXPECT_EQ(current.Request(owner_, HELP_CONTEXTPOPUP, 45), HelpResult::Shown);
  EXPECT_EQ(current.popup_text(), "ここだけ\r\nカレントディレクトリにだけある。");
  SetCurrentDirectoryA(saved);
}

TEST_F(HelpEngineTest, TheFileIsReadOnceAndKept) {
  std::string path = WriteHelp("kept.hlp", "[topic 1 最初]\r\n一回目。\r\n");
  HelpEngine engine(path);
  ASSERT_EQ(engine.Request(owner_, HELP_CONTEXTPOPUP, 1), HelpResult::Shown);
  WriteHelp("kept.hlp", "[topic 1 書き換え]\r\n二回目。\r\n");
  ASSERT_EQ(engine.Request(owner_, HELP_CONTEXTPOPUP, 1), HelpResult::Shown);
  EXPECT_EQ(engine.popup_text(), "最初\r\n一回目。");
}

}  // namespace
}  // namespace quillet
