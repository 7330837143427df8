#include "help/help_contents_win.h"

#include <algorithm>

#include "win/guard_win.h"
#include "win/system_dll_win.h"

namespace quillet {

namespace {

constexpr char kClassName[] = "QuilletHelpContents";
constexpr char kCaption[] = "TeX Quillet ﾍﾙﾌﾟ";
constexpr char kFontFace[] = "ＭＳ Ｐゴシック";
constexpr int kFontHeight = 12;
constexpr int kTitleFontHeight = 16;
constexpr int kWidth = 760;
constexpr int kHeight = 540;
constexpr int kMinWidth = 420;
constexpr int kMinHeight = 300;
constexpr int kTreeWidth = 260;
constexpr int kGap = 4;            // between the tree and the topic pane
constexpr int kTitleHeight = 44;   // band above the topic text
constexpr int kTextMargin = 12;    // left and right of the title and the text
constexpr int kTextTop = 8;        // between the title's rule and the text
constexpr UINT_PTR kKeySubclass = 1;

std::string WindowText(HWND hwnd) {
  std::string text(static_cast<std::size_t>(GetWindowTextLengthA(hwnd)) + 1, '\0');
  text.resize(static_cast<std::size_t>(GetWindowTextA(hwnd, text.data(), static_cast<int>(text.size()))));
  return text;
}

}  // namespace

HelpContents::~HelpContents() { Close(); }

bool HelpContents::Open(const HelpFile& file) {
  if (hwnd()) {
    if (IsIconic(hwnd())) ShowWindow(hwnd(), SW_RESTORE);
    SetForegroundWindow(hwnd());
    return true;
  }
  InitControls(ICC_TREEVIEW_CLASSES);
  if (!font_) {
    font_ = CreatePixelFont(kFontFace, kFontHeight);
    title_font_ = CreatePixelFont(kFontFace, kTitleFontHeight, FW_BOLD);
  }
  file_ = &file;
  if (!CreateWin({.class_name = kClassName,
                  .caption = kCaption,
                  .style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                  .width = kWidth,
                  .height = kHeight,
                  .background = GetSysColorBrush(COLOR_WINDOW)})) {
    return false;
  }
  if (!CreateChildren()) {
    DestroyWindow(hwnd());
    return false;
  }
  HTREEITEM first = FillTree();
  LayoutChildren();
  CenterOnScreen(hwnd());  // clear of the main window's menus and tool bar
  SendMessageA(tree_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(first));
  ShowSelection();
  ShowWindow(hwnd(), SW_SHOWNORMAL);
  SetForegroundWindow(hwnd());
  SetFocus(tree_);
  return true;
}

void HelpContents::Close() {
  if (hwnd()) DestroyWindow(hwnd());
}

std::string HelpContents::shown_text() const {
  if (!hwnd()) return {};
  return title_ + "\r\n" + WindowText(body_);
}

bool HelpContents::CreateChildren() {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  tree_ = CreateWindowExA(0, WC_TREEVIEWA, "",
                          WS_CHILD | WS_VISIBLE | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT |
                              TVS_SHOWSELALWAYS | TVS_DISABLEDRAGDROP | TVS_NOHSCROLL,
                          0, 0, 0, 0, hwnd(), nullptr, instance, nullptr);
  body_ = CreateWindowExA(0, "EDIT", "",
                          WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL,
                          0, 0, 0, 0, hwnd(), nullptr, instance, nullptr);
  if (!tree_ || !body_) return false;
  for (HWND child : {tree_, body_}) {
    SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    SubclassWindow(child, KeyProc, kKeySubclass, reinterpret_cast<DWORD_PTR>(this));
  }
  SendMessageA(body_, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELONG(kTextMargin, kTextMargin));
  return true;
}

HTREEITEM HelpContents::AddItem(HTREEITEM parent, const std::string& text, LPARAM param, bool bold) {
  TVINSERTSTRUCTA insert{};
  insert.hParent = parent;
  insert.hInsertAfter = TVI_LAST;
  insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_STATE;
  insert.item.pszText = const_cast<char*>(text.c_str());
  insert.item.lParam = param;
  insert.item.stateMask = TVIS_BOLD;
  insert.item.state = bold ? TVIS_BOLD : 0;
  return reinterpret_cast<HTREEITEM>(SendMessageA(tree_, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
}

// Topics outside every chapter come first, then each chapter that has topics, with
// them (item data: the topic's index, or -1 - the chapter's index). Returns the first
// topic's item, with its chapter opened.
HTREEITEM HelpContents::FillTree() {
  HTREEITEM first = nullptr;
  auto add_topics = [&](HTREEITEM parent, int chapter) {
    for (std::size_t i = 0; i < file_->topics.size(); ++i) {
      if (file_->topics[i].chapter != chapter) continue;
      HTREEITEM item = AddItem(parent, file_->topics[i].title, static_cast<LPARAM>(i), false);
      if (first) continue;
      first = item;
      if (parent != TVI_ROOT) SendMessageA(tree_, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(parent));
    }
  };
  add_topics(TVI_ROOT, -1);
  for (std::size_t c = 0; c < file_->chapters.size(); ++c) {
    auto in_chapter = [c](const HelpTopic& topic) { return topic.chapter == static_cast<int>(c); };
    if (std::none_of(file_->topics.begin(), file_->topics.end(), in_chapter)) continue;
    HTREEITEM chapter = AddItem(TVI_ROOT, file_->chapters[c], -1 - static_cast<LPARAM>(c), true);
    add_topics(chapter, static_cast<int>(c));
  }
  return first;
}

void HelpContents::ShowSelection() {
  TVITEMA item{};
  item.mask = TVIF_PARAM;
  item.hItem = reinterpret_cast<HTREEITEM>(SendMessageA(tree_, TVM_GETNEXTITEM, TVGN_CARET, 0));
  if (!item.hItem || !SendMessageA(tree_, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) return;
  std::string body;
  if (item.lParam >= 0) {
    const HelpTopic& topic = file_->topics[static_cast<std::size_t>(item.lParam)];
    title_ = topic.title;
    body = topic.body;
  } else {
    int chapter = static_cast<int>(-1 - item.lParam);
    title_ = file_->chapters[static_cast<std::size_t>(chapter)];
    body = ChapterOutline(*file_, chapter);
  }
  SetWindowTextA(body_, body.c_str());
  RECT title = TitleRect();
  InvalidateRect(hwnd(), &title, TRUE);
}

RECT HelpContents::TitleRect() const {
  RECT client;
  GetClientRect(hwnd(), &client);
  return {kTreeWidth + kGap, 0, client.right, kTitleHeight};
}

void HelpContents::LayoutChildren() {
  RECT client;
  GetClientRect(hwnd(), &client);
  MoveWindow(tree_, 0, 0, kTreeWidth, client.bottom, TRUE);
  int left = kTreeWidth + kGap;
  int top = kTitleHeight + kTextTop;
  MoveWindow(body_, left, top, client.right - left, client.bottom - top, TRUE);
}

void HelpContents::Paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd(), &ps);
  RECT client;
  GetClientRect(hwnd(), &client);
  RECT gap{kTreeWidth, 0, kTreeWidth + kGap, client.bottom};
  FillRect(dc, &gap, GetSysColorBrush(COLOR_BTNFACE));
  RECT title = TitleRect();
  RECT rule{title.left + kTextMargin, title.bottom - 2, title.right - kTextMargin, title.bottom - 1};
  FillRect(dc, &rule, GetSysColorBrush(COLOR_BTNSHADOW));
  RECT text{title.left + kTextMargin, title.top, title.right - kTextMargin, rule.top};
  SelectIn font(dc, title_font_.get());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  DrawTextA(dc, title_.c_str(), static_cast<int>(title_.size()), &text,
            DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
  EndPaint(hwnd(), &ps);
}

LRESULT HelpContents::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_SIZE:
      if (tree_) LayoutChildren();
      return 0;
    case WM_PAINT:
      Paint();
      return 0;
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lp);
      if (header->hwndFrom == tree_ && (header->code == TVN_SELCHANGEDA || header->code == TVN_SELCHANGEDW)) {
        ShowSelection();
      }
      return 0;
    }
    case WM_CTLCOLORSTATIC: {  // the read-only text reads like a page, not a greyed field
      HDC dc = reinterpret_cast<HDC>(wp);
      SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
      SetBkColor(dc, GetSysColor(COLOR_WINDOW));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
    }
    case WM_ACTIVATE:
      if (LOWORD(wp) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus == tree_ || focus == body_) focus_ = focus;
      } else if (tree_) {
        SetFocus(focus_ ? focus_ : tree_);
      }
      return 0;
    case WM_GETMINMAXINFO:
      reinterpret_cast<MINMAXINFO*>(lp)->ptMinTrackSize = {kMinWidth, kMinHeight};
      return 0;
    case WM_CLOSE:
      DestroyWindow(hwnd());
      return 0;
  }
  return Default(msg, wp, lp);
}

void HelpContents::Detached() {
  tree_ = body_ = focus_ = nullptr;
  title_.clear();
}

// Keys of the tree and the text: Esc closes the window, Tab moves between the two.
LRESULT CALLBACK HelpContents::KeyProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR data) {
  return Guarded(hwnd, FailedMessageResult(msg), [&] { return HandleKey(hwnd, msg, wp, lp, id, data); });
}

LRESULT HelpContents::HandleKey(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR data) {
  auto* self = reinterpret_cast<HelpContents*>(data);
  switch (msg) {
    case WM_KEYDOWN:
      if (wp == VK_ESCAPE) {
        PostMessageA(self->hwnd(), WM_CLOSE, 0, 0);
        return 0;
      }
      if (wp == VK_TAB) {
        SetFocus(hwnd == self->tree_ ? self->body_ : self->tree_);
        return 0;
      }
      break;
    case WM_CHAR:
      if (wp == VK_ESCAPE || wp == '\t') return 0;  // already handled as keys
      break;
    case WM_NCDESTROY:
      RemoveSubclass(hwnd, KeyProc, id);
      break;
  }
  return DefSubclass(hwnd, msg, wp, lp);
}

}  // namespace quillet
