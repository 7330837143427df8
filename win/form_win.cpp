#include "win/form_win.h"

#include "win/message_loop_win.h"

namespace quillet {

namespace {
Form::HelpRequester& Requester() {
  static Form::HelpRequester requester;
  return requester;
}

// The context number of the control or of the nearest enclosing window that has one.
DWORD ContextOf(HWND control, HWND form) {
  for (HWND h = control; h; h = h == form ? nullptr : GetParent(h)) {
    if (DWORD id = GetWindowContextHelpId(h)) return id;
  }
  return 0;
}
}  // namespace

void Form::SetHelpRequester(HelpRequester requester) { Requester() = std::move(requester); }

void Form::RequestHelp(HWND owner, UINT command, ULONG_PTR data) {
  if (Requester()) Requester()(owner, command, data);
}

bool Form::CreateForm(const char* class_name, const char* caption, int client_width, int client_height,
                      DWORD style, DWORD ex_style, HWND owner) {
  SIZE size = WindowSizeForClient(client_width, client_height, style, ex_style);
  return CreateFormAt(class_name, caption, {CW_USEDEFAULT, CW_USEDEFAULT}, size, style, ex_style, owner);
}

bool Form::CreateFormAt(const char* class_name, const char* caption, POINT place, SIZE size, DWORD style,
                        DWORD ex_style, HWND owner) {
  font_ = CreatePixelFont("ＭＳ Ｐゴシック", 12);
  return CreateWin({.class_name = class_name,
                    .caption = caption,
                    .style = style,
                    .ex_style = ex_style | WS_EX_CONTROLPARENT,
                    .x = place.x,
                    .y = place.y,
                    .width = size.cx,
                    .height = size.cy,
                    .parent = owner});
}

void Form::EnsureBuilt() {
  if (built_) return;
  built_ = true;
  BuildContents();
}

int Form::ShowModal(HWND owner) {
  if (modal_) return 0;
  modal_ = true;
  done_ = false;
  result_ = 0;
  bool owner_was_enabled = owner && IsWindowEnabled(owner);
  EnsureBuilt();
  EnsureContents();
  if (owner_was_enabled) EnableWindow(owner, FALSE);
  ShowWindow(hwnd(), SW_SHOW);
  SetForegroundWindow(hwnd());
  RunModalLoop(hwnd(), done_);
  // Enable the owner before hiding, so activation returns to it.
  if (owner_was_enabled) EnableWindow(owner, TRUE);
  ShowWindow(hwnd(), SW_HIDE);
  if (owner) SetActiveWindow(owner);
  modal_ = false;
  return result_;
}

void Form::EndModal(int result) {
  result_ = result;
  done_ = true;
  // Wake the modal loop even when nothing else is queued.
  PostMessageA(hwnd(), WM_NULL, 0, 0);
}

void Form::TakeFocus() {
  FormActivate();
  HWND focus = GetFocus();
  if (focus && IsChild(hwnd(), focus)) return;
  bool usable = last_focus_ && IsChild(hwnd(), last_focus_) && IsWindowVisible(last_focus_) && IsWindowEnabled(last_focus_);
  HWND next = usable ? last_focus_ : GetNextDlgTabItem(hwnd(), nullptr, FALSE);
  if (next) SetFocus(next);
}

LRESULT Form::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ACTIVATE: {
      if (LOWORD(wp) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && IsChild(hwnd(), focus)) last_focus_ = focus;
        break;
      }
      LRESULT result = Window::HandleMessage(msg, wp, lp);
      TakeFocus();
      return result;
    }
    case WM_CLOSE:
      if (modal_) {
        EndModal(IDCANCEL);
      } else {
        ShowWindow(hwnd(), SW_HIDE);
      }
      return 0;
    case WM_HELP: {
      // The title-bar help button or F1 on a control: that control's pop-up topic.
      auto* info = reinterpret_cast<HELPINFO*>(lp);
      if (info->iContextType == HELPINFO_WINDOW) {
        if (DWORD context = ContextOf(static_cast<HWND>(info->hItemHandle), hwnd())) {
          RequestHelp(hwnd(), HELP_CONTEXTPOPUP, context);
        }
      }
      return TRUE;
    }
    case DM_GETDEFID:
      if (DefaultButtonId()) return MAKELRESULT(DefaultButtonId(), DC_HASDEFID);
      break;
    default:
      break;
  }
  return Window::HandleMessage(msg, wp, lp);
}

}  // namespace quillet
