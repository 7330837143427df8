#include "app/main_form_win.h"

#include <windows.h>
#include <shellapi.h>

#include <algorithm>

#include "aids/command_palette_win.h"
#include "app/application_win.h"
#include "app/program_settings_win.h"
#include "artwork/artwork_win.h"
#include "core/command_ids.h"
#include "core/sjis.h"
#include "document/mdi_child_win.h"
#include "tex/error_window_win.h"
#include "tex/tex_config.h"
#include "tex/tex_run_win.h"
#include "win/failure_cause_win.h"
#include "win/file_io_win.h"
#include "win/system_dll_win.h"

namespace quillet {

namespace {

// The window's own visible flag, whether or not its parent is shown yet.
bool HasVisibleStyle(HWND hwnd) { return (GetWindowLongPtrA(hwnd, GWL_STYLE) & WS_VISIBLE) != 0; }

constexpr int kToolBarHeight = 32;
constexpr UINT kShowPaletteMessage = WM_APP + 1;
constexpr UINT kRaiseFloatingMessage = WM_APP + 2;
constexpr int kStatusBarHeight = 19;

}  // namespace

TMainForm::TMainForm(Application& app) : app_(app) {}

TMainForm::~TMainForm() = default;

bool TMainForm::Create() {
  // Start-up state of the main window.
  HomeDirectory = ExtractFilePath(FullPathName("Quillet.exe"));
  UntitledCounter = 1;
  font_ = CreatePixelFont("ＭＳ Ｐゴシック", 12);
  menu_ = std::make_unique<MenuBar>(MainMenuItems());
  // Made at the bounds the settings give when they say nothing, so that the usual start
  // does not lay the window out twice.
  if (!CreateWin({.class_name = "TMainForm",
                  .caption = Application::kTitle,
                  .style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                  .x = 0,
                  .y = 0,
                  .width = GetSystemMetrics(SM_CXSCREEN),
                  .height = GetSystemMetrics(SM_CYSCREEN),
                  .menu = menu_->handle(),
                  .background = nullptr,
                  .icon = CreateAppIcon(32),
                  .small_icon = CreateAppIcon(16)})) {
    return false;
  }
  menu_->AttachTo(hwnd());
  run_.OptionMenuBase = static_cast<int>(menu().Item(kOption1).children().size());
  CreateBars();
  return mdi_client_ != nullptr;
}

void TMainForm::CreateBars() {
  speed_panel_.Create(hwnd(), ToolButtons());
  speed_panel_.on_hint = [this](const std::string& status) { DisplayHint(status); };
  CLIENTCREATESTRUCT ccs{menu().Item(kWindow1).popup(), kFirstMdiChild};
  mdi_client_ = CreateWindowExA(WS_EX_CLIENTEDGE, "MDICLIENT", "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 0, 0,
                                hwnd(), nullptr, AppInstance(), &ccs);
  // The caret's and the size's panels fit the figures of a 200 MB document; the coding
  // panel its longest text, "UTF-8 BOM CRLF"; the run's panel "TeX実行中 (" and a format's
  // name.
  int caret = PanelWidthFor(font_.get(), kWidestCaretText, 60), size = PanelWidthFor(font_.get(), kWidestSizeText, 80);
  status_bar_.Create(hwnd(), {caret, size, 40, 110, 300, 160}, kStatusBarHeight, font_.get());
}

// The document area's scroll bars reach documents moved beyond it. Wine repaints them at
// every activation of the frame for some 20 ms even while they show nothing, so the area
// gets them only once a document reaches beyond it.
void TMainForm::DocumentsMoved() {
  if (document_scrolling_ || !mdi_client_) return;
  RECT area;
  GetClientRect(mdi_client_, &area);
  for (HWND h = GetWindow(mdi_client_, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
    if (!IsWindowVisible(h) || IsZoomed(h)) continue;  // a maximized document's frame lies outside by design
    RECT r;
    GetWindowRect(h, &r);
    MapWindowPoints(nullptr, mdi_client_, reinterpret_cast<POINT*>(&r), 2);
    if (r.left >= 0 && r.top >= 0 && r.right <= area.right && r.bottom <= area.bottom) continue;
    document_scrolling_ = true;
    LONG_PTR style = GetWindowLongPtrA(mdi_client_, GWL_STYLE);
    SetWindowLongPtrA(mdi_client_, GWL_STYLE, style | WS_HSCROLL | WS_VSCROLL);
    SetWindowPos(mdi_client_, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return;
  }
}

void TMainForm::Layout() {
  RECT client;
  GetClientRect(hwnd(), &client);
  int top = 0, bottom = client.bottom;
  if (HasVisibleStyle(speed_panel_.hwnd())) {
    speed_panel_.Move(client.right);
    top = kToolBarHeight;
  }
  if (HasVisibleStyle(status_bar_.hwnd())) {
    status_bar_.Layout();
    bottom -= status_bar_.height();
  }
  MoveWindow(mdi_client_, 0, top, client.right, std::max(0, bottom - top), TRUE);
  DocumentsMoved();
}

void TMainForm::SetToolBarVisible(bool visible) {
  bool changed = HasVisibleStyle(speed_panel_.hwnd()) != visible;
  ShowWindow(speed_panel_.hwnd(), visible ? SW_SHOW : SW_HIDE);
  menu().Item(kToolBarItem).SetChecked(HasVisibleStyle(speed_panel_.hwnd()));
  if (changed) Layout();
}

void TMainForm::SetStatusBarVisible(bool visible) {
  bool changed = HasVisibleStyle(status_bar_.hwnd()) != visible;
  ShowWindow(status_bar_.hwnd(), visible ? SW_SHOW : SW_HIDE);
  menu().Item(kStatusBarItem).SetChecked(HasVisibleStyle(status_bar_.hwnd()));
  if (changed) Layout();
}

TMDIChild* TMainForm::ActiveChild() const {
  HWND active = reinterpret_cast<HWND>(SendMessageA(mdi_client_, WM_MDIGETACTIVE, 0, 0));
  for (const auto& child : children_) {
    if (child->hwnd() == active && !child->closing()) return child.get();
  }
  return nullptr;
}

HWND TMainForm::ActiveEditor() const {
  TMDIChild* doc = ActiveChild();
  return doc ? doc->Memo : nullptr;
}

std::vector<TMDIChild*> TMainForm::Children() const {
  std::vector<TMDIChild*> list;
  for (HWND h = GetWindow(mdi_client_, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
    for (const auto& child : children_) {
      if (child->hwnd() == h && !child->closing()) list.push_back(child.get());
    }
  }
  return list;
}

TMDIChild* TMainForm::CreateDocumentWindow(const std::string& name) {
  const EditorSettings& editor = app_.env_settings().editor;
  children_.push_back(std::make_unique<TMDIChild>(*this));
  TMDIChild* child = children_.back().get();
  if (!child->Create(name, editor.font_name, editor.FontSize())) {
    children_.pop_back();
    return nullptr;
  }
  ShowEditorMarks(*child);
  return child;
}

void TMainForm::ChildDestroyed(TMDIChild* child) {
  // The object is still running its last message: free it on the next message.
  auto it = std::find_if(children_.begin(), children_.end(), [&](const auto& c) { return c.get() == child; });
  if (it == children_.end()) return;
  closed_children_.push_back(std::move(*it));
  children_.erase(it);
  PostMessageA(hwnd(), WM_NULL, 0, 0);
  UpdateMenuItems();
}

void TMainForm::ReapChildren() { closed_children_.clear(); }

void TMainForm::SelectLineInDocument(const std::string& name, int line) {
  SetForegroundWindow(hwnd());
  BringWindowToTop(hwnd());
  if (line == 0) return;
  for (TMDIChild* child : Children()) {
    if (!SameFileName(child->FileName(), name)) continue;
    SendMessageA(mdi_client_, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(child->hwnd()), 0);
    if (IsIconic(child->hwnd())) SendMessageA(mdi_client_, WM_MDIRESTORE, reinterpret_cast<WPARAM>(child->hwnd()), 0);
    LRESULT start = SendMessageA(child->Memo, EM_LINEINDEX, static_cast<WPARAM>(line - 1), 0);
    if (start < 0) return;  // no such line
    LRESULT length = SendMessageA(child->Memo, EM_LINELENGTH, static_cast<WPARAM>(start), 0);
    SendMessageA(child->Memo, EM_SETSEL, static_cast<WPARAM>(start), start + length);
    return;
  }
}

Messages& TMainForm::messages() { return app_.messages(); }

// The error window first comes up in the lower left corner of the document area, where it
// covers neither the menus nor the tool bar; after that it stays where the user puts it.
void TMainForm::ShowErrorWindow() {
  HWND errors = app_.ErrorWin().hwnd();
  if (!error_window_placed_) {
    error_window_placed_ = true;
    RECT area, window;
    GetWindowRect(mdi_client_, &area);
    GetWindowRect(errors, &window);
    int top = std::max(area.top, area.bottom - (window.bottom - window.top));
    SetWindowPos(errors, nullptr, area.left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  ShowWindow(errors, SW_SHOWNA);  // the View menu's check mark follows it
}

void TMainForm::DisplayHint(const std::string& status_text) { status_bar_.SetText(kHintPanel, status_text); }

void TMainForm::ShowCommandPalette(bool show) {
  HWND palette = app_.Input().hwnd();
  // Shown once the document that asked for it has painted: the text comes first.
  if (show && !IsWindowVisible(palette)) PostMessageA(hwnd(), kShowPaletteMessage, 0, 0);
  if (!show && IsWindowVisible(palette)) ShowWindow(palette, SW_HIDE);
}

void TMainForm::OnMenuSelect(UINT item, UINT flags, HMENU menu) {
  if (flags == 0xFFFF && !menu) {  // the menu closed
    DisplayHint("");
    return;
  }
  MenuNode* node = (flags & MF_POPUP) ? menu_->FindPopup(GetSubMenu(menu, static_cast<int>(item)))
                                      : menu_->FindById(item);
  DisplayHint(node ? node->hint() : "");
}

// The paste command follows the clipboard.
void TMainForm::OnClipboardChange() { RefreshCommands(); }

void TMainForm::AppMessage(MSG& msg) {
  if (msg.message == WM_DROPFILES) {
    HDROP drop = reinterpret_cast<HDROP>(msg.wParam);
    auto query = SystemFunction<UINT(WINAPI*)(HDROP, UINT, LPSTR, UINT)>("shell32.dll", "DragQueryFileA");
    auto finish = SystemFunction<void(WINAPI*)(HDROP)>("shell32.dll", "DragFinish");
    char name[MAX_PATH * 4];
    if (query && query(drop, 0, name, sizeof(name))) OpenDocument(name);
    if (finish) finish(drop);
    msg.wParam = 0;  // released: the window procedure must not use it
    if (IsIconic(hwnd())) ShowWindow(hwnd(), SW_RESTORE);
  }
}

bool TMainForm::TranslateKeys(MSG& msg) {
  if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST) return false;
  if (finder().TranslateDialogKey(msg)) return true;
  if (msg.hwnd != hwnd() && !IsChild(hwnd(), msg.hwnd)) return false;
  if (TranslateMDISysAccel(mdi_client_, &msg)) return true;
  return TranslateAcceleratorA(hwnd(), menu_->accelerators(), &msg) != 0;
}

bool TMainForm::FormCloseQuery() {
  for (TMDIChild* child : Children()) {
    if (!child->FormCloseQuery()) return false;
    child->FormClose();
  }
  return true;
}

LRESULT TMainForm::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == FindReplace::RequestMessage()) {
    finder().OnRequest(*reinterpret_cast<const FINDREPLACEA*>(lp));
    return 0;
  }
  switch (msg) {
    case WM_SIZE:
      Layout();
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wp) == WA_INACTIVE) break;
      // The palette and the error window float above the frame, also after one of them
      // was the active window: once the activation is done, they are put back on top.
      PostMessageA(hwnd(), kRaiseFloatingMessage, 0, 0);
      // Coming back from a dialog (the about box hides the palette) is a change of the
      // active window too.
      if (mdi_client_) UpdateMenuItems();
      break;
    case WM_COMMAND:
      // The Window menu's document entries belong to the frame procedure.
      if (LOWORD(wp) >= kFirstMdiChild) break;
      if (run_.OfferFormatCommand(LOWORD(wp))) return 0;
      OnCommand(LOWORD(wp));
      return 0;
    case WM_INITMENUPOPUP:
      RefreshCommands();
      break;
    case WM_MENUSELECT:
      OnMenuSelect(LOWORD(wp), HIWORD(wp), reinterpret_cast<HMENU>(lp));
      return 0;
    case WM_DRAWCLIPBOARD:
      OnClipboardChange();
      if (NextClipboardViewer) SendMessageA(NextClipboardViewer, msg, wp, lp);
      return 0;
    case WM_CHANGECBCHAIN:
      if (reinterpret_cast<HWND>(wp) == NextClipboardViewer) {
        NextClipboardViewer = reinterpret_cast<HWND>(lp);
      } else if (NextClipboardViewer) {
        SendMessageA(NextClipboardViewer, msg, wp, lp);
      }
      return 0;
    case WM_NULL:
      ReapChildren();
      return 0;
    case kRaiseFloatingMessage:
      RaiseFloatingWindow(app_.Input().hwnd());
      RaiseFloatingWindow(app_.ErrorWin().hwnd());
      return 0;
    case kShowPaletteMessage:
      if (CommandInputVisible && ActiveChild()) ShowWindow(app_.Input().hwnd(), SW_SHOWNA);
      return 0;
    case WM_TIMER:
      if (wp == TeXRunner::kTimerId) {
        run_.OnTimer();
      } else if (autosave_running_) {
        TimerTimer();
      }
      return 0;
    case WM_CLOSE:
      // A TeX run in progress is stopped first; the program closes when it has ended.
      if (run_.running()) {
        run_.StopThenClose();
      } else if (FormCloseQuery()) {
        DestroyWindow(hwnd());
      }
      return 0;
    case WM_DESTROY:
      FormDestroy();
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return Window::HandleMessage(msg, wp, lp);
}

void TMainForm::FormDestroy() {
  AcceptDroppedFiles(app_.handle(), false);
  AcceptDroppedFiles(hwnd(), false);
  ChangeClipboardChain(hwnd(), NextClipboardViewer);
  NextClipboardViewer = nullptr;
  app_.Help(hwnd(), HELP_QUIT, 0);
  SaveShutdownSettings(app_);
  // The chosen format is remembered for the TeX engine as well.
  if (SaveTeXModeDefault(app_.tex_settings_file(), run_.CurrentTeXMode) != WriteOutcome::Ok) {
    app_.messages().Error(hwnd(), WithWriteCause(RefusedWriteMessage()));
  }
}

LRESULT TMainForm::Default(UINT msg, WPARAM wp, LPARAM lp) {
  return DefFrameProcA(hwnd(), mdi_client_, msg, wp, lp);
}

}  // namespace quillet
