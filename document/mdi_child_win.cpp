#include "document/mdi_child_win.h"

#include <windows.h>
#include <richedit.h>

#include "artwork/artwork_win.h"
#include "core/command_ids.h"
#include "document/document_file_win.h"
#include "document/document_names.h"
#include "editor/editor_win.h"
#include "win/code_page_win.h"
#include "win/file_io_win.h"
#include "win/message_dialog_win.h"

namespace quillet {

namespace {
constexpr int kMemoId = 1;

// The program's document icon, made once for the window class.
HICON DocumentIcon(int size) {
  static const HICON icons[2] = {CreateDocumentIcon(16), CreateDocumentIcon(32)};
  return icons[size == 16 ? 0 : 1];
}
}  // namespace

TMDIChild::TMDIChild(DocumentHost& host) : host_(host) {}

TMDIChild::~TMDIChild() = default;

bool TMDIChild::Create(const std::string& file_name, const std::string& font_name, int font_size) {
  PopupMenu1 = std::make_unique<MenuBar>(host_.ContextMenuItems());
  file_name_ = file_name;
  if (!CreateMdiChild(host_.mdi_client(), {.class_name = "TMDIChild",
                                           .caption = file_name.c_str(),
                                           .style = WS_VISIBLE,
                                           .background = nullptr,
                                           .icon = DocumentIcon(32),
                                           .small_icon = DocumentIcon(16)})) {
    return false;
  }
  SetEditorFont(font_name, font_size);
  return Memo != nullptr;
}

std::string TMDIChild::caption() const {
  char buffer[MAX_PATH * 4];
  int n = GetWindowTextA(hwnd(), buffer, sizeof(buffer));
  return std::string(buffer, static_cast<std::size_t>(n > 0 ? n : 0));
}

void TMDIChild::SetFileName(const std::string& file_name) {
  file_name_ = file_name;
  SetWindowTextA(hwnd(), file_name.c_str());
}

bool TMDIChild::is_untitled() const { return IsUntitledCaption(file_name_); }

bool TMDIChild::modified() const { return SendMessageA(Memo, EM_GETMODIFY, 0, 0) != 0; }

void TMDIChild::SetModified(bool modified) { SendMessageA(Memo, EM_SETMODIFY, modified, 0); }

std::size_t TMDIChild::TextLength() const {
  return static_cast<std::size_t>(SendMessageA(Memo, WM_GETTEXTLENGTH, 0, 0));
}

std::string TMDIChild::Text() const {
  std::string text(TextLength() + 1, '\0');
  auto n = SendMessageA(Memo, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(n));
  return text;
}

std::array<std::string_view, 2> TMDIChild::TextParts() const {
  TextPieces pieces;
  SendMessageA(Memo, EM_GETTEXTPIECES, 0, reinterpret_cast<LPARAM>(&pieces));
  return {pieces.first, pieces.second};
}

void TMDIChild::LoadContent(DocumentContent content) {
  coding_ = content.coding;
  jis_forms_ = std::move(content.decoded.jis_forms);
  savable_ = content.decoded.chars.overflow() == 0;
  SendMessageA(Memo, EM_LOADTEXTBLOCK, 0, reinterpret_cast<LPARAM>(&content.decoded.text));
  SendMessageA(Memo, EM_SETFOREIGNCHARS, coding_.encoding == Encoding::kUtf8,
               reinterpret_cast<LPARAM>(&content.decoded.chars));
  SendMessageA(Memo, EM_SETREADONLY, !savable_, 0);
}

void TMDIChild::SetCoding(const FileCoding& coding) {
  if (coding.encoding != coding_.encoding) jis_forms_ = {};
  coding_ = coding;
  SendMessageA(Memo, EM_SETFOREIGNCHARS, coding_.encoding == Encoding::kUtf8, 0);
}

const ForeignChars& TMDIChild::foreign_chars() const {
  return *reinterpret_cast<const ForeignChars*>(SendMessageA(Memo, EM_GETFOREIGNCHARS, 0, 0));
}

ForeignChars& TMDIChild::foreign_chars() {
  return *reinterpret_cast<ForeignChars*>(SendMessageA(Memo, EM_GETFOREIGNCHARS, 0, 0));
}

std::string_view TMDIChild::ContiguousText(std::string& storage) const {
  std::array<std::string_view, 2> pieces = TextParts();
  if (pieces[1].empty()) return pieces[0];
  storage.reserve(pieces[0].size() + pieces[1].size());
  storage.assign(pieces[0]).append(pieces[1]);
  return storage;
}

namespace {
// A slice of about a megabyte: written while the next is made, and small enough that the
// first write starts at once.
constexpr std::size_t kSliceBytes = 1u << 20;
}  // namespace

FileBytes::FileBytes(const TMDIChild& doc, const FileCoding& coding) : parts_(doc.TextParts()) {
  const ForeignChars& chars = doc.foreign_chars();
  if (WrittenAsIs(coding) && chars.empty()) return;
  const JisLineForms* forms = coding.encoding == doc.coding().encoding ? &doc.jis_forms() : nullptr;
  encoder_.emplace(parts_[0], parts_[1], coding, SystemCodePage(), chars, forms, kSliceBytes);
}

bool FileBytes::Next(std::string_view& piece) {
  if (!encoder_) {
    piece = {};
    while (piece.empty() && given_ < parts_.size()) piece = parts_[given_++];
    return true;
  }
  stopped_ = !encoder_->Next(piece);
  return !stopped_;
}

void TMDIChild::SetEditorFont(const std::string& name, int size) {
  FontHandle font = CreatePointFont(name.c_str(), size);
  SendMessageA(Memo, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
  font_ = std::move(font);
}

std::string TMDIChild::AutoSaveFileName() const { return AutoSaveNameFor(file_name_, TempDirectory()); }

void TMDIChild::MemoChange() { host_.DocumentChanged(*this); }

void TMDIChild::MemoSelectionChange() { host_.DocumentSelectionChanged(*this); }

bool TMDIChild::FormCloseQuery() {
  if (!modified()) return true;
  MsgResult answer = host_.messages().Show(host_.MessageOwner(), MsgKind::Confirmation,
                                           file_name_ + "は変更されています。\r保存しますか?",
                                           kMsgYes | kMsgNo | kMsgCancel);
  if (answer == MsgResult::Cancel) return false;
  // A save that did not happen (refused, failed or cancelled) keeps the window, so the
  // text is never thrown away unsaved after the user asked to save it.
  if (answer == MsgResult::Yes) return host_.FileSaveItemClick(*this);
  return true;
}

void TMDIChild::FormClose() {
  DeleteFileA(AutoSaveFileName().c_str());
  closing_ = true;
  SendMessageA(host_.mdi_client(), WM_MDIDESTROY, reinterpret_cast<WPARAM>(hwnd()), 0);
}

void TMDIChild::PopupMenu1Popup() { host_.JudgeMenu(*PopupMenu1); }

void TMDIChild::ShowPopupMenu(int x, int y) {
  if (x == -1 && y == -1) {  // from the keyboard: at the caret's line start
    POINT origin{0, 0};
    ClientToScreen(Memo, &origin);
    x = origin.x + 8;
    y = origin.y + 8;
  }
  PopupMenu1Popup();
  UINT id = TrackPopupMenu(PopupMenu1->Item(kPopupMenu1).popup(),
                           TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN | TPM_TOPALIGN, x, y, 0, hwnd(), nullptr);
  host_.DisplayHint("");
  if (id) host_.OnCommand(id);
}

LRESULT TMDIChild::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CREATE:
      Memo = CreateEditor(hwnd(), kMemoId);
      if (!Memo) return -1;
      SendMessageA(Memo, EM_EXLIMITTEXT, 0, static_cast<LPARAM>(kDocumentLimit));
      break;
    case WM_SIZE:
      MoveWindow(Memo, 0, 0, LOWORD(lp), HIWORD(lp), TRUE);
      break;  // the MDI child procedure also needs it
    case WM_SETFOCUS:
      SetFocus(Memo);
      return 0;
    case WM_COMMAND:
      if (reinterpret_cast<HWND>(lp) == Memo && HIWORD(wp) == EN_CHANGE) MemoChange();
      return 0;
    case WM_NOTIFY:
      if (reinterpret_cast<NMHDR*>(lp)->hwndFrom == Memo && reinterpret_cast<NMHDR*>(lp)->code == EN_SELCHANGE) {
        MemoSelectionChange();
      }
      return 0;
    case WM_CONTEXTMENU:
      ShowPopupMenu(static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp)));
      return 0;
    case WM_MENUSELECT: {
      MenuNode* item = PopupMenu1->FindById(LOWORD(wp));
      host_.DisplayHint(item && !(HIWORD(wp) & MF_POPUP) ? item->hint() : "");
      return 0;
    }
    case WM_MDIACTIVATE:
      host_.UpdateMenuItems();
      break;
    case WM_WINDOWPOSCHANGED:
      host_.DocumentsMoved();
      break;
    case WM_CLOSE:
      if (FormCloseQuery()) FormClose();
      return 0;
    default:
      break;
  }
  return Window::HandleMessage(msg, wp, lp);
}

LRESULT TMDIChild::Default(UINT msg, WPARAM wp, LPARAM lp) { return DefMDIChildProcA(hwnd(), msg, wp, lp); }

void TMDIChild::Detached() { host_.ChildDestroyed(this); }

}  // namespace quillet
