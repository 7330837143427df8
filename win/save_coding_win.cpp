#include "win/save_coding_win.h"

#include <dlgs.h>

#include <algorithm>

#include "win/controls_win.h"
#include "win/form_win.h"
#include "win/guard_win.h"

namespace quillet {

namespace {

constexpr const char* kProp = "QuilletSaveCoding";
constexpr const char* kCaptions[2] = {"文字ｺｰﾄﾞ(&E):", "改行ｺｰﾄﾞ(&L):"};
constexpr int kIds[2] = {kSaveEncodingId, kSaveLineEndId};
constexpr DWORD kHelp[2] = {kSaveEncodingHelp, kSaveLineEndHelp};
// Rows of the child dialog before the platform moves them under its own controls.
constexpr int kRowPitch = 28, kLabelWidth = 84, kListWidth = 160, kDroppedHeight = 160;

// A control's place in the client area of the window that holds `in`.
RECT PlaceIn(HWND in, HWND control) {
  RECT r{};
  GetWindowRect(control, &r);
  MapWindowPoints(nullptr, in, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

void Move(HWND control, int x, int y, int w, int h) { MoveWindow(control, x, y, w, h, TRUE); }

}  // namespace

void SaveCodingChoice::Attach(OPENFILENAMEA& ofn) {
  explorer_ = (ofn.Flags & OFN_EXPLORER) != 0;
  ofn.Flags |= OFN_ENABLEHOOK;
  ofn.lpfnHook = &SaveCodingChoice::Hook;
  ofn.lCustData = reinterpret_cast<LPARAM>(this);
  if (!explorer_) return;
  // The template has no font of its own: its units are those of the system font.
  LONG units = GetDialogBaseUnits();
  template_.dialog.style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | DS_3DLOOK | DS_CONTROL;
  template_.dialog.cx = static_cast<short>(MulDiv(kLabelWidth + kListWidth, 4, LOWORD(units)));
  template_.dialog.cy = static_cast<short>(MulDiv(2 * kRowPitch + 4, 8, HIWORD(units)) + 1);
  ofn.Flags |= OFN_ENABLETEMPLATEHANDLE;
  ofn.hInstance = reinterpret_cast<HINSTANCE>(&template_);
}

UINT_PTR CALLBACK SaveCodingChoice::Hook(HWND dialog, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_INITDIALOG) {
    auto* self = reinterpret_cast<SaveCodingChoice*>(reinterpret_cast<OPENFILENAMEA*>(lp)->lCustData);
    SetPropA(dialog, kProp, self);
  }
  auto* self = static_cast<SaveCodingChoice*>(GetPropA(dialog, kProp));
  if (msg == WM_DESTROY) RemovePropA(dialog, kProp);
  if (!self) return FALSE;
  return Guarded<UINT_PTR>(dialog, FALSE, [&] { return self->Handle(dialog, msg, wp, lp); });
}

UINT_PTR SaveCodingChoice::Handle(HWND dialog, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_INITDIALOG:
      // The old-style dialog sets the focus to its first control when told TRUE; the
      // Explorer-style one would give it to our first list, not to the file name.
      if (!explorer_) {
        AddToOldStyle(dialog);
        return TRUE;
      }
      CreateLists(dialog, reinterpret_cast<HFONT>(SendMessageA(GetParent(dialog), WM_GETFONT, 0, 0)));
      return FALSE;
    case WM_NOTIFY:
      if (reinterpret_cast<NMHDR*>(lp)->code == CDN_INITDONE) AlignWithFileType(dialog);
      return FALSE;
    case WM_COMMAND:
      if ((LOWORD(wp) == kSaveEncodingId || LOWORD(wp) == kSaveLineEndId) && HIWORD(wp) == CBN_SELCHANGE) {
        chosen_ = ChosenCoding(Lists(), chosen_);
        return TRUE;
      }
      return FALSE;
    case WM_HELP: return ShowHelp(dialog, *reinterpret_cast<HELPINFO*>(lp));
    default: return FALSE;
  }
}

void SaveCodingChoice::CreateLists(HWND parent, HFONT font) {
  for (int i = 0; i < 2; ++i) {
    int y = 4 + i * kRowPitch;
    labels_[i] = CreateLabel(parent, font, kCaptions[i], 0, y + 4, kLabelWidth, 16);
    lists_[i] = WithHelp(
        CreateComboBox(parent, font, kLabelWidth, y, kListWidth, kDroppedHeight, kIds[i], CBS_DROPDOWNLIST), kHelp[i]);
  }
  FillCodingLists(Lists());
  ShowCoding(Lists(), chosen_);
}

// The platform has put the rows under its own controls; they take the columns of the
// file type's label and list, as the rows above them do.
void SaveCodingChoice::AlignWithFileType(HWND child) {
  HWND parent = GetParent(child);
  RECT type_label = PlaceIn(child, GetDlgItem(parent, stc2)), type_list = PlaceIn(child, GetDlgItem(parent, cmb1));
  for (int i = 0; i < 2; ++i) {
    RECT list = PlaceIn(child, lists_[i]), label = PlaceIn(child, labels_[i]);
    int y = list.top;
    Move(lists_[i], type_list.left, y, type_list.right - type_list.left, kDroppedHeight);
    Move(labels_[i], type_label.left, y + (type_label.top - type_list.top), type_list.left - type_label.left - 4,
         label.bottom - label.top);
  }
}

// The old-style dialog gets a band of its own under the file type and drive lists, with
// each row's label above its list as theirs are.
void SaveCodingChoice::AddToOldStyle(HWND dialog) {
  CreateLists(dialog, reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0)));
  RECT labels[2] = {PlaceIn(dialog, GetDlgItem(dialog, stc2)), PlaceIn(dialog, GetDlgItem(dialog, stc4))};
  RECT columns[2] = {PlaceIn(dialog, GetDlgItem(dialog, cmb1)), PlaceIn(dialog, GetDlgItem(dialog, cmb2))};
  int band = std::max(columns[0].bottom, columns[1].bottom) - labels[0].top + 8;
  for (int i = 0; i < 2; ++i) {
    const RECT& label = labels[i];
    const RECT& column = columns[i];
    Move(labels_[i], label.left, label.top + band, column.right - label.left, label.bottom - label.top);
    Move(lists_[i], column.left, column.top + band, column.right - column.left, kDroppedHeight);
  }
  RECT frame{};
  GetWindowRect(dialog, &frame);
  SetWindowPos(dialog, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top + band,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// F1 on a list (or its label) shows the list's topic; the dialog's own controls have none.
bool SaveCodingChoice::ShowHelp(HWND dialog, const HELPINFO& info) const {
  HWND item = static_cast<HWND>(info.hItemHandle);
  for (int i = 0; i < 2; ++i) {
    if (item != labels_[i] && item != lists_[i]) continue;
    Form::RequestHelp(dialog, HELP_CONTEXTPOPUP, kHelp[i]);
    SetWindowLongPtrA(dialog, DWLP_MSGRESULT, TRUE);
    return true;
  }
  return false;
}

}  // namespace quillet
