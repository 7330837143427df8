#include "app/speed_panel_win.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "artwork/art_canvas_win.h"
#include "tests/win/support/test_support.h"
#include "win/handles_win.h"

namespace quillet {
namespace {

const SpeedButtonDef kButtons[] = {
    {"NewBtn", 10, ToolGlyph::New, "新規作成|新しい文書を作ります", 101, true},
    {"OpenBtn", 32, ToolGlyph::Open, "開く|", 102, true},
    {"SaveBtn", 54, ToolGlyph::Save, "保存|文書を保存します", 103, false},
    {"PrintBtn", 76, ToolGlyph::Print, "印刷|文書を印刷します", 104, true},
    {"FindBtn", 110, ToolGlyph::Find, "検索|", 105, false},
    {"CutBtn", 142, ToolGlyph::Cut, "切り取り|", 106, false},
    {"CopyBtn", 164, ToolGlyph::Copy, "ｺﾋﾟｰ|", 107, false},
    {"PasteBtn", 186, ToolGlyph::Paste, "貼り付け|", 108, false},
    {"UndoBtn", 214, ToolGlyph::Undo, "やり直し|", 109, false},
    {"RedoBtn", 236, ToolGlyph::Redo, "やり直しのやり直し|", 110, false},
    {"TeX1Btn", 272, ToolGlyph::TeX1, "TeXをかける|", 111, true},
    {"TeX2Btn", 294, ToolGlyph::TeX2, "TeXをかけてﾌﾟﾚﾋﾞｭｰ|", 112, true},
    {"TeX3Btn", 316, ToolGlyph::TeX3, "TeXをかけて印刷|", 113, true},
    {"HelpBtn", 348, ToolGlyph::Help, "ﾄﾋﾟｯｸ検索", 114, true},
};
constexpr std::size_t kNew = 0, kSave = 2, kPrint = 3, kTeX2 = 11, kTeX3 = 12, kHelp = 13;

struct Command {
  WPARAM wp;
  LPARAM lp;
};
std::vector<Command> g_commands;

// A frame like the main window: the tool bar on top, the title artwork below it on a
// silver panel, and an edit control that holds the keyboard focus.
LRESULT CALLBACK HostProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      if (HIWORD(wp) == BN_CLICKED) g_commands.push_back({wp, lp});
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      BrushHandle silver(CreateSolidBrush(RGB(192, 192, 192)));
      RECT r{0, kSpeedPanelHeight, 400, kSpeedPanelHeight + 190};
      FillRect(dc, &r, silver.get());
      PaintTitlePicture(dc, 3, kSpeedPanelHeight + 5);
      PaintLogo(dc, 236, kSpeedPanelHeight + 7);
      EndPaint(hwnd, &ps);
      return 0;
    }
    default: return DefWindowProcA(hwnd, msg, wp, lp);
  }
}

class SpeedPanelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSA wc{};
    wc.lpfnWndProc = HostProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = GetSysColorBrush(COLOR_APPWORKSPACE);
    wc.lpszClassName = "SpeedPanelTestHost";
    RegisterClassA(&wc);
    host_ = CreateWindowExA(0, "SpeedPanelTestHost", "TeX Quillet", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN,
                            kHostX, kHostY, 560, 290, nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_TRUE(host_);
    edit_ = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_BORDER, 410, 240, 140, 24, host_, nullptr,
                            wc.hInstance, nullptr);
    PlaceCursor({5, 5});  // well away from the window
    ASSERT_TRUE(panel_.Create(host_, kButtons));
    panel_.Move(560);
    panel_.on_hint = [this](const std::string& text) { hints_.push_back(text); };
    SetForegroundWindow(host_);
    SetFocus(edit_);
    test::PumpMessages(100);
    g_commands.clear();
  }

  void TearDown() override {
    if (host_) DestroyWindow(host_);
  }

  // The mouse messages are sent and the real cursor is only put where the panel will
  // look for it, so that no late message from the display can interleave.
  LPARAM At(std::size_t index, POINT p) const {
    RECT r = panel_.button_rect(index);
    return MAKELPARAM(r.left + p.x, r.top + p.y);
  }

  void Hover(std::size_t index, int x = 11, int y = 11) {
    SendMessageA(panel_.hwnd(), WM_MOUSEMOVE, 0, At(index, {x, y}));
  }

  void HoverGap() { SendMessageA(panel_.hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(100, 16)); }

  void Leave(POINT screen) {
    PlaceCursor(screen);
    SendMessageA(panel_.hwnd(), WM_MOUSELEAVE, 0, 0);
  }

  // The display settles on the new position a while after the call returns (and may
  // report the old one meanwhile), so wait until the position has held for a while.
  static void PlaceCursor(POINT screen) {
    SetCursorPos(screen.x, screen.y);
    DWORD held_since = GetTickCount(), give_up = held_since + 2000;
    while (GetTickCount() - held_since < 150 && static_cast<LONG>(give_up - GetTickCount()) > 0) {
      POINT now;
      GetCursorPos(&now);
      if (now.x != screen.x || now.y != screen.y) held_since = GetTickCount();
      Sleep(5);
    }
  }

  void Click(std::size_t index, POINT up = {11, 11}) {
    SendMessageA(panel_.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, At(index, {11, 11}));
    SendMessageA(panel_.hwnd(), WM_LBUTTONUP, 0, At(index, up));
  }

  static constexpr int kHostX = 120, kHostY = 100;
  HWND host_ = nullptr;
  HWND edit_ = nullptr;
  SpeedPanel panel_;
  std::vector<std::string> hints_;
};

TEST_F(SpeedPanelTest, PanelAndButtonsSitWhereTheTableSays) {
  RECT panel;
  GetWindowRect(panel_.hwnd(), &panel);
  MapWindowPoints(nullptr, host_, reinterpret_cast<POINT*>(&panel), 2);
  EXPECT_EQ(panel.left, 0);
  EXPECT_EQ(panel.top, 0);
  EXPECT_EQ(panel.right, 560);
  EXPECT_EQ(panel.bottom, 32);
  EXPECT_EQ(GetParent(panel_.hwnd()), host_);
  for (std::size_t i = 0; i < std::size(kButtons); ++i) {
    RECT r = panel_.button_rect(i);
    EXPECT_EQ(r.left, kButtons[i].x) << kButtons[i].name;
    EXPECT_EQ(r.top, 5) << kButtons[i].name;
    EXPECT_EQ(r.right - r.left, 22) << kButtons[i].name;
    EXPECT_EQ(r.bottom - r.top, 22) << kButtons[i].name;
    EXPECT_EQ(panel_.IsEnabled(i), kButtons[i].enabled) << kButtons[i].name;
  }
  panel_.Move(300);
  GetClientRect(panel_.hwnd(), &panel);
  EXPECT_EQ(panel.right, 300);
  EXPECT_EQ(panel.bottom, 32);
}

HWND FindToolTips(HWND owner) {
  struct Search {
    HWND owner;
    HWND found;
  } search{owner, nullptr};
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND hwnd, LPARAM lp) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lp);
        char name[64] = {};
        GetClassNameA(hwnd, name, sizeof(name));
        if (lstrcmpiA(name, TOOLTIPS_CLASSA) != 0 || GetWindow(hwnd, GW_OWNER) != s->owner) return TRUE;
        s->found = hwnd;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

TEST_F(SpeedPanelTest, ToolTipsShowThePartOfTheHintBeforeTheBar) {
  Hover(kNew);  // the tips are made when the mouse first comes over the bar
  HWND tips = FindToolTips(host_);
  ASSERT_TRUE(tips);
  EXPECT_EQ(SendMessageA(tips, TTM_GETTOOLCOUNT, 0, 0), static_cast<LRESULT>(std::size(kButtons)));
  const char* expected[] = {"新規作成", "開く", "保存", "印刷", "検索", "切り取り", "ｺﾋﾟｰ", "貼り付け", "やり直し",
                            "やり直しのやり直し", "TeXをかける", "TeXをかけてﾌﾟﾚﾋﾞｭｰ", "TeXをかけて印刷", "ﾄﾋﾟｯｸ検索"};
  for (std::size_t i = 0; i < std::size(kButtons); ++i) {
    EXPECT_EQ(panel_.tooltip(i), expected[i]) << kButtons[i].name;
    char text[128] = {};
    TTTOOLINFOA info{};
    info.cbSize = TTTOOLINFOA_V2_SIZE;
    info.hwnd = panel_.hwnd();
    info.uId = i;
    info.lpszText = text;
    SendMessageA(tips, TTM_GETTEXTA, sizeof(text), reinterpret_cast<LPARAM>(&info));
    EXPECT_STREQ(text, expected[i]) << kButtons[i].name;
  }
}

TEST_F(SpeedPanelTest, ClickSendsTheCommandOnlyFromAnEnabledButton) {
  struct Row {
    const char* what;
    std::size_t index;
    bool enable;
    POINT up;
    bool sends;
  };
  const Row rows[] = {
      {"enabled, released inside", kNew, true, {11, 11}, true},
      {"enabled, released outside", kNew, true, {40, 11}, false},
      {"disabled at creation", kSave, false, {11, 11}, false},
      {"enabled later", kSave, true, {11, 11}, true},
      {"disabled later", kPrint, false, {11, 11}, false},
      {"last button", kHelp, true, {21, 21}, true},
  };
  for (const Row& row : rows) {
    g_commands.clear();
    panel_.SetEnabled(row.index, row.enable);
    EXPECT_EQ(panel_.IsEnabled(row.index), row.enable) << row.what;
    Click(row.index, row.up);
    test::PumpMessages();
    if (!row.sends) {
      EXPECT_TRUE(g_commands.empty()) << row.what;
      continue;
    }
    ASSERT_EQ(g_commands.size(), 1u) << row.what;
    EXPECT_EQ(g_commands[0].wp, MAKEWPARAM(kButtons[row.index].command_id, BN_CLICKED)) << row.what;
    EXPECT_EQ(g_commands[0].lp, reinterpret_cast<LPARAM>(panel_.hwnd())) << row.what;
  }
  EXPECT_EQ(GetFocus(), edit_) << "the buttons leave the keyboard focus where it was";
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(SpeedPanelTest, HintFollowsTheMouseAndClearsWhenItLeavesThePanel) {
  POINT gap{100, 16};  // between PrintBtn and FindBtn
  ClientToScreen(panel_.hwnd(), &gap);
  const POINT outside{5, 5};
  Hover(kNew);
  Hover(kNew, 12, 12);  // moving within a button says nothing new
  HoverGap();  // still over the panel
  Hover(kPrint);
  Hover(kHelp);  // straight on to the next button
  Leave(outside);
  Hover(kSave);  // a disabled button has its hint too
  Leave(outside);
  test::PumpMessages(200);
  const std::vector<std::string> expected = {"新しい文書を作ります", "文書を印刷します", "", "", "文書を保存します", ""};
  EXPECT_EQ(hints_, expected);
}

// The button's pixels as the screen shows them once the panel has painted what it
// marked for painting.
std::vector<std::uint32_t> Capture(const SpeedPanel& panel, std::size_t index) {
  DibSurface shot(kSpeedButtonSize, kSpeedButtonSize);
  UpdateWindow(panel.hwnd());
  RECT r = panel.button_rect(index);
  WindowDc dc(panel.hwnd());
  BitBlt(shot.dc(), 0, 0, kSpeedButtonSize, kSpeedButtonSize, dc.get(), r.left, r.top, SRCCOPY);
  GdiFlush();
  std::vector<std::uint32_t> pixels(shot.bits(), shot.bits() + kSpeedButtonSize * kSpeedButtonSize);
  for (auto& p : pixels) p &= 0xFFFFFF;
  return pixels;
}

// A face of the button colour with the glyph at (offset, offset), and edge colours.
std::vector<std::uint32_t> Expected(ToolGlyph glyph, bool enabled, int offset) {
  DibSurface face(kSpeedButtonSize, kSpeedButtonSize);
  RECT r{0, 0, kSpeedButtonSize, kSpeedButtonSize};
  FillRect(face.dc(), &r, GetSysColorBrush(COLOR_BTNFACE));
  PaintToolGlyph(face.dc(), offset, offset, glyph, enabled);
  GdiFlush();
  std::vector<std::uint32_t> pixels(face.bits(), face.bits() + kSpeedButtonSize * kSpeedButtonSize);
  for (auto& p : pixels) p &= 0xFFFFFF;
  return pixels;
}

std::uint32_t Pixel(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }

// Compares the inside of the button (within its one-pixel frame).
int InnerDifferences(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b) {
  int n = 0;
  for (int y = 1; y < kSpeedButtonSize - 1; ++y) {
    for (int x = 1; x < kSpeedButtonSize - 1; ++x) n += a[y * kSpeedButtonSize + x] != b[y * kSpeedButtonSize + x];
  }
  return n;
}

const int kTopEdge = 10, kBottomEdge = (kSpeedButtonSize - 1) * kSpeedButtonSize + 10;

bool Raised(const std::vector<std::uint32_t>& shot) {
  return shot[kTopEdge] == Pixel(GetSysColor(COLOR_3DHILIGHT)) &&
         shot[kBottomEdge] == Pixel(GetSysColor(COLOR_3DSHADOW));
}

TEST_F(SpeedPanelTest, ButtonsAreFlatRaisedUnderTheMouseAndSunkenWhilePressed) {
  const std::uint32_t light = Pixel(GetSysColor(COLOR_3DHILIGHT)), dark = Pixel(GetSysColor(COLOR_3DSHADOW));
  for (std::size_t i = 0; i < std::size(kButtons); ++i) {
    const SpeedButtonDef& def = kButtons[i];
    EXPECT_EQ(Capture(panel_, i), Expected(def.glyph, def.enabled, 3)) << def.name << " flat";
  }
  Hover(kTeX2);
  std::vector<std::uint32_t> hot = Capture(panel_, kTeX2);
  EXPECT_EQ(InnerDifferences(hot, Expected(ToolGlyph::TeX2, true, 3)), 0);
  EXPECT_TRUE(Raised(hot));

  SendMessageA(panel_.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, At(kTeX2, {11, 11}));
  std::vector<std::uint32_t> pressed = Capture(panel_, kTeX2);
  EXPECT_EQ(InnerDifferences(pressed, Expected(ToolGlyph::TeX2, true, 4)), 0) << "glyph moves down and right";
  EXPECT_EQ(pressed[kTopEdge], dark) << "sunken frame";
  EXPECT_EQ(pressed[kBottomEdge], light) << "sunken frame";
  SendMessageA(panel_.hwnd(), WM_MOUSEMOVE, MK_LBUTTON, At(kTeX3, {11, 11}));
  EXPECT_EQ(Capture(panel_, kTeX2), hot) << "raised again when dragged off while pressed";
  SendMessageA(panel_.hwnd(), WM_LBUTTONUP, 0, At(kTeX3, {11, 11}));
  EXPECT_TRUE(g_commands.empty()) << "released over another button";

  Hover(kSave);
  EXPECT_EQ(Capture(panel_, kSave), Expected(ToolGlyph::Save, false, 3)) << "no frame when disabled";

  // Left standing for a screenshot when asked, the real mouse over a button.
  if (const char* hold = std::getenv("QUILLET_ART_HOLD_MS")) {
    POINT p{11, 11};
    RECT r = panel_.button_rect(kTeX2);
    p.x += r.left;
    p.y += r.top;
    ClientToScreen(panel_.hwnd(), &p);
    SetCursorPos(p.x, p.y);
    test::PumpMessages(static_cast<DWORD>(std::atoi(hold)));
  }
}

TEST_F(SpeedPanelTest, OnlyTheButtonUnderTheMouseIsRaised) {
  struct Step {
    const char* what;
    std::function<void()> move;
    std::optional<std::size_t> raised;
  };
  const Step steps[] = {
      {"over NewBtn", [&] { Hover(kNew); }, kNew},
      {"straight on to PrintBtn", [&] { Hover(kPrint); }, kPrint},
      {"on to the panel between buttons", [&] { HoverGap(); }, std::nullopt},
      {"back on PrintBtn", [&] { Hover(kPrint); }, kPrint},
      {"off the panel", [&] { Leave(POINT{5, 5}); }, std::nullopt},
  };
  for (const Step& step : steps) {
    step.move();
    for (std::size_t i : {kNew, kPrint}) {
      EXPECT_EQ(Raised(Capture(panel_, i)), step.raised == i) << step.what << ": " << kButtons[i].name;
    }
  }
}

}  // namespace
}  // namespace quillet
