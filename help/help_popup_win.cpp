#include "help/help_popup_win.h"

#include <algorithm>

#include "help/help_layout.h"

namespace quillet {

namespace {

constexpr char kClassName[] = "QuilletHelpPopup";
constexpr char kFontFace[] = "ＭＳ Ｐゴシック";
constexpr int kFontHeight = 12;
constexpr DWORD kStyle = WS_POPUP | WS_BORDER;
constexpr DWORD kExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
constexpr int kMaxOuterWidth = 320;
constexpr int kPadding = 8;
constexpr int kTitleGap = 4;  // between the title and the text
constexpr int kLineGap = 2;   // extra leading that Japanese text needs to breathe

SIZE FrameSize() {
  RECT frame{0, 0, 0, 0};
  AdjustWindowRectEx(&frame, kStyle, FALSE, kExStyle);
  return {frame.right - frame.left, frame.bottom - frame.top};
}

PixelRect WorkAreaAt(POINT point) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  GetMonitorInfoA(MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST), &info);
  return {info.rcWork.left, info.rcWork.top, info.rcWork.right, info.rcWork.bottom};
}

}  // namespace

HelpPopup::~HelpPopup() { Close(); }

bool HelpPopup::Show(HWND owner, const HelpTopic& topic) {
  Close();
  if (!font_) {
    font_ = CreatePixelFont(kFontFace, kFontHeight);
    bold_font_ = CreatePixelFont(kFontFace, kFontHeight, FW_BOLD);
  }
  SIZE size = Layout(topic);
  POINT cursor{};
  GetCursorPos(&cursor);
  PixelPoint at = PlacePopup({cursor.x, cursor.y}, size.cx, size.cy, WorkAreaAt(cursor));
  closing_ = false;
  if (!CreateWin({.class_name = kClassName,
                  .style = kStyle,
                  .ex_style = kExStyle,
                  .x = at.x,
                  .y = at.y,
                  .width = size.cx,
                  .height = size.cy,
                  .parent = owner ? GetAncestor(owner, GA_ROOT) : nullptr,
                  .class_style = CS_DROPSHADOW,
                  .background = GetSysColorBrush(COLOR_INFOBK)})) {
    return false;
  }
  text_ = TopicDisplayText(topic);
  ShowWindow(hwnd(), SW_SHOWNORMAL);
  SetForegroundWindow(hwnd());
  SetFocus(hwnd());
  SetCapture(hwnd());  // so that a click on any window of this program closes it
  return true;
}

void HelpPopup::Close() {
  if (!hwnd()) return;
  closing_ = true;
  DestroyWindow(hwnd());
}

// Wraps text to the pop-up's width; returns the widest line.
int HelpPopup::AddLines(HDC dc, std::string_view text, bool bold, int max_width) {
  SelectIn font(dc, bold ? bold_font_.get() : font_.get());
  TEXTMETRICA metrics{};
  GetTextMetricsA(dc, &metrics);
  int height = metrics.tmHeight + metrics.tmExternalLeading + kLineGap;
  CharWidth width = [dc](std::string_view ch) {
    SIZE extent{};
    GetTextExtentPoint32A(dc, ch.data(), static_cast<int>(ch.size()), &extent);
    return static_cast<int>(extent.cx);
  };
  int widest = 0;
  for (std::string& line : WrapText(text, max_width, width)) {
    widest = std::max(widest, TextWidth(line, width));
    int line_height = line.empty() ? height / 2 : height;  // paragraphs: half a line apart
    lines_.push_back({std::move(line), bold, line_height});
  }
  return widest;
}

SIZE HelpPopup::Layout(const HelpTopic& topic) {
  SIZE frame = FrameSize();
  int max_width = kMaxOuterWidth - frame.cx - 2 * kPadding;
  WindowDc dc(nullptr);
  lines_.clear();
  int widest = AddLines(dc.get(), topic.title, true, max_width);
  int height = 2 * kPadding;
  if (!topic.body.empty()) {
    widest = std::max(widest, AddLines(dc.get(), topic.body, false, max_width));
    height += kTitleGap;
  }
  for (const Line& line : lines_) height += line.height;
  return {widest + 2 * kPadding + frame.cx, height + frame.cy};
}

void HelpPopup::Paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd(), &ps);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
  int y = kPadding;
  bool after_title = false;
  for (const Line& line : lines_) {
    if (!line.bold && !after_title) {
      y += kTitleGap;
      after_title = true;
    }
    SelectIn font(dc, line.bold ? bold_font_.get() : font_.get());
    TextOutA(dc, kPadding, y, line.text.data(), static_cast<int>(line.text.size()));
    y += line.height;
  }
  EndPaint(hwnd(), &ps);
}

// Closing from inside the message that asks for it would destroy the window under its
// own handler, so the close is posted.
void HelpPopup::RequestClose() {
  if (closing_) return;
  closing_ = true;
  PostMessageA(hwnd(), WM_CLOSE, 0, 0);
}

LRESULT HelpPopup::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  constexpr LPARAM kKeyWasDown = 1 << 30;  // auto-repeat of the key that asked for help
  switch (msg) {
    case WM_PAINT:
      Paint();
      return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
      RequestClose();
      return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (!(lp & kKeyWasDown)) RequestClose();
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wp) == WA_INACTIVE) RequestClose();
      break;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lp) != hwnd()) RequestClose();
      return 0;
    case WM_CLOSE:
      DestroyWindow(hwnd());
      return 0;
  }
  return Default(msg, wp, lp);
}

void HelpPopup::Detached() {
  closing_ = false;
  text_.clear();
}

}  // namespace quillet
