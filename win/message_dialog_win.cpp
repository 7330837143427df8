#include "win/message_dialog_win.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "core/sjis.h"

#include "win/controls_win.h"
#include "win/handles_win.h"
#include "win/message_loop_win.h"
#include "win/window_win.h"

namespace quillet {

const char* MessageTitle(MsgKind kind) {
  switch (kind) {
    case MsgKind::Warning: return "警告";
    case MsgKind::Error: return "ｴﾗｰ";
    case MsgKind::Information: return "情報";
    case MsgKind::Confirmation: return "確認";
  }
  return "";
}

MsgResult EscapeResult(unsigned buttons) {
  if (buttons & kMsgCancel) return MsgResult::Cancel;
  if (buttons & kMsgNo) return MsgResult::No;
  return MsgResult::Ok;
}

namespace {

struct ButtonSpec {
  unsigned flag;
  int id;
  const char* caption;
  MsgResult result;
};
constexpr ButtonSpec kButtons[] = {
    {kMsgYes, IDYES, "はい(&Y)", MsgResult::Yes},
    {kMsgNo, IDNO, "いいえ(&N)", MsgResult::No},
    {kMsgOk, IDOK, "OK", MsgResult::Ok},
    {kMsgCancel, IDCANCEL, "ｷｬﾝｾﾙ", MsgResult::Cancel},
};

const char* IconFor(MsgKind kind) {
  switch (kind) {
    case MsgKind::Warning: return IDI_WARNING;
    case MsgKind::Error: return IDI_ERROR;
    case MsgKind::Information: return IDI_INFORMATION;
    case MsgKind::Confirmation: return IDI_QUESTION;
  }
  return IDI_INFORMATION;
}

UINT BeepFor(MsgKind kind) {
  switch (kind) {
    case MsgKind::Warning: return MB_ICONWARNING;
    case MsgKind::Error: return MB_ICONERROR;
    case MsgKind::Information: return MB_ICONINFORMATION;
    case MsgKind::Confirmation: return MB_ICONQUESTION;
  }
  return MB_OK;
}

// Lone CR or LF become CR LF so the text draws with its line breaks.
std::string WithCrLf(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\r' || c == '\n') {
      out += "\r\n";
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      out += c;
    }
  }
  return out;
}

constexpr int kMargin = 12, kIcon = 32, kButtonW = 80, kButtonH = 24, kGap = 8, kMaxTextW = 420;

class MessageBoxWindow : public Window {
 public:
  MessageBoxWindow(MsgKind kind, std::string text, unsigned buttons)
      : kind_(kind), text_(WithCrLf(text)), buttons_(buttons), result_(EscapeResult(buttons)) {}

  MsgResult Run(HWND owner) {
    font_ = CreatePixelFont("ＭＳ Ｐゴシック", 12);
    SIZE text = MeasureText();
    std::vector<const ButtonSpec*> shown;
    for (const auto& b : kButtons) {
      if (buttons_ & b.flag) shown.push_back(&b);
    }
    if (shown.empty()) shown.push_back(&kButtons[2]);
    int row = static_cast<int>(shown.size()) * (kButtonW + kGap) - kGap;
    int client_w = std::max(kMargin * 3 + kIcon + static_cast<int>(text.cx), row + 2 * kMargin);
    int body_h = std::max(kIcon, static_cast<int>(text.cy));
    int client_h = kMargin + body_h + kMargin + kButtonH + kMargin;
    DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    SIZE size = WindowSizeForClient(client_w, client_h, style, WS_EX_DLGMODALFRAME);
    if (!CreateWin({.class_name = "QuilletMessage", .caption = MessageTitle(kind_), .style = style,
                    .ex_style = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT, .width = size.cx,
                    .height = size.cy, .parent = owner})) {
      return result_;
    }
    // A control of its own, so that assistive tools read the text.
    HWND shown_text = CreateWindowExA(0, "STATIC", text_.c_str(), WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX,
                                      kMargin * 2 + kIcon, kMargin + (body_h - text.cy) / 2, text.cx, text.cy, hwnd(),
                                      nullptr, GetModuleHandleA(nullptr), nullptr);
    SendMessageA(shown_text, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    int x = (client_w - row) / 2;
    for (std::size_t i = 0; i < shown.size(); ++i) {
      captions_.push_back(shown[i]->caption);
      HWND b = CreateButton(hwnd(), font_.get(), shown[i]->caption, x, client_h - kMargin - kButtonH, kButtonW,
                            kButtonH, shown[i]->id, i == 0);
      if (i == 0) default_id_ = shown[i]->id, SetFocus(b);
      x += kButtonW + kGap;
    }
    CenterOver(owner);
    MessageBeep(BeepFor(kind_));
    bool owner_enabled = owner && IsWindowEnabled(owner);
    if (owner_enabled) EnableWindow(owner, FALSE);
    ShowWindow(hwnd(), SW_SHOW);
    RunModalLoop(hwnd(), done_, [this](const MSG& msg) {
      bool copy = msg.message == WM_KEYDOWN && msg.wParam == 'C' && GetKeyState(VK_CONTROL) < 0 &&
                  (msg.hwnd == hwnd() || IsChild(hwnd(), msg.hwnd));
      if (copy) Copy();
      return copy;
    });
    if (owner_enabled) EnableWindow(owner, TRUE);
    DestroyWindow(hwnd());
    if (owner) SetActiveWindow(owner);
    return result_;
  }

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    switch (msg) {
      case WM_COMMAND:
        Answer(LOWORD(wp));
        return 0;
      case WM_CLOSE:
        Answer(IDCANCEL);
        return 0;
      case DM_GETDEFID:
        return MAKELRESULT(default_id_, DC_HASDEFID);
      case WM_PAINT:
        Paint();
        return 0;
      case WM_COPY:
        Copy();
        return 0;
      default:
        return Window::HandleMessage(msg, wp, lp);
    }
  }

 private:
  SIZE MeasureText() {
    WindowDc dc(nullptr);
    SelectIn sel(dc.get(), font_.get());
    RECT r{0, 0, kMaxTextW, 0};
    DrawTextA(dc.get(), text_.c_str(), -1, &r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    return SIZE{std::max<LONG>(r.right, 60), std::max<LONG>(r.bottom, 12)};
  }

  void Paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd(), &ps);
    DrawIcon(dc, kMargin, kMargin, LoadIconA(nullptr, IconFor(kind_)));
    EndPaint(hwnd(), &ps);
  }

  // Ctrl+C copies the box as the platform's message boxes do: title, text and buttons
  // between dashed lines.
  void Copy() {
    const std::string rule = "---------------------------\r\n";
    std::string copied = rule + MessageTitle(kind_) + "\r\n" + rule + text_ + "\r\n" + rule;
    for (const std::string& caption : captions_) {
      for (std::size_t i = 0; i < caption.size(); i += CharLength(caption, i)) {
        if (caption[i] != '&') copied.append(caption, i, CharLength(caption, i));
      }
      copied += "   ";
    }
    copied += "\r\n" + rule;
    if (!OpenClipboard(hwnd())) return;
    EmptyClipboard();
    if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, copied.size() + 1)) {
      std::memcpy(GlobalLock(memory), copied.c_str(), copied.size() + 1);
      GlobalUnlock(memory);
      if (!SetClipboardData(CF_TEXT, memory)) GlobalFree(memory);
    }
    CloseClipboard();
  }

  void Answer(int id) {
    if (done_) return;
    if (id == IDCANCEL && !(buttons_ & kMsgCancel)) {
      result_ = EscapeResult(buttons_);
    } else {
      for (const auto& b : kButtons) {
        if (b.id == id) result_ = b.result;
      }
    }
    done_ = true;
  }

  void CenterOver(HWND owner) {
    RECT area;
    if (owner && IsWindowVisible(owner) && !IsIconic(owner)) {
      GetWindowRect(owner, &area);
    } else {
      area = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    }
    RECT me;
    GetWindowRect(hwnd(), &me);
    int w = me.right - me.left, h = me.bottom - me.top;
    int x = std::max(0L, area.left + (area.right - area.left - w) / 2);
    int y = std::max(0L, area.top + (area.bottom - area.top - h) / 2);
    SetWindowPos(hwnd(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  }

  MsgKind kind_;
  std::string text_;
  unsigned buttons_;
  MsgResult result_;
  FontHandle font_;
  std::vector<std::string> captions_;
  int default_id_ = IDOK;
  bool done_ = false;
};

}  // namespace

MsgResult MessageDialog::Show(HWND owner, MsgKind kind, const std::string& text, unsigned buttons) {
  MessageBoxWindow box(kind, text, buttons);
  return box.Run(owner);
}

}  // namespace quillet
