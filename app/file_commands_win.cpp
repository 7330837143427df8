// File commands on documents: new, open, insert, print, save and save under a new name.
#include <windows.h>
#include <commdlg.h>

#include "aids/doc_wizard_win.h"
#include "aids/document_classes.h"
#include "app/application_win.h"
#include "app/main_form_win.h"
#include "app/program_settings_win.h"
#include "core/sjis.h"
#include "document/document_file_win.h"
#include "document/document_names.h"
#include "document/file_insert.h"
#include "document/mdi_child_win.h"
#include "document/print_document_win.h"
#include "editor/editor_win.h"
#include "win/controls_win.h"
#include "win/code_page_win.h"
#include "win/failure_cause_win.h"
#include "win/file_io_win.h"
#include "win/message_dialog_win.h"

namespace quillet {

namespace {
// The fixed first line, then why.
std::string CannotCreateText(const std::string& name, const SaveReport& report) {
  return "ﾌｧｲﾙ " + name + " を作成できません\r" + FailureCauseText(report.error);
}
}  // namespace

FileDialogArgs TMainForm::OpenDialogArgs() const {
  return {.file_name = "*.tex",
          .filter = "TeXﾌｧｲﾙ|*.tex;*.idx;*.ind;*.toc|ｽﾀｲﾙﾌｧｲﾙ|*.sty|すべてのﾌｧｲﾙ|*.*",
          .flags = OFN_HIDEREADONLY | OFN_CREATEPROMPT,
          .old_style = app_.env_settings().general.win31_dialog};
}

// With the wizard on, a new document waits for it: none when it is cancelled, else a
// blank one, with the skeleton written from the wizard's pages when it was finished.
void TMainForm::FileNewItemClick() {
  TDocExpDlg& wizard = app_.DocExpDlg();
  int result = kWizardCancelled;
  if (app_.env_settings().general.use_doc_exp) {
    wizard.ShowModal(hwnd());
    result = wizard.result();
    if (result != kWizardCancelled && IsChecked(wizard.NoUseNext)) SaveWizardRefusal(app_);
  }
  if (result == kWizardCancelled && app_.env_settings().general.use_doc_exp) return;
  TMDIChild* doc = NewBlankDocument();
  if (!doc || result != kWizardSkeleton) return;
  DocChoices choices = wizard.Choices();
  std::string text;
  for (const std::string& line : SkeletonLines(choices)) text.append(line).append("\r\n");
  SendMessageA(doc->Memo, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
  // upLaTeX's own classes are read in UTF-8 with the rest of the input.
  if (NeedsUtf8Document(choices.style, choices.engine)) {
    doc->SetCoding({.encoding = Encoding::kUtf8, .line_end = NewDocumentCoding().line_end});
    ShowCoding(doc);
  }
  // The format that runs the engine the class was made for is chosen.
  const std::vector<std::string>& formats = app_.tex_config().format_names;
  auto runs = [&](int i) { return i >= 0 && i < static_cast<int>(formats.size()) &&
                                  EngineOfFormat(formats[static_cast<std::size_t>(i)]) == choices.engine; };
  for (int i = 0; !runs(run_.CurrentTeXMode) && i < static_cast<int>(formats.size()); ++i) {
    if (runs(i)) run_.ChooseFormat(i);
  }
}

TMDIChild* TMainForm::NewBlankDocument() {
  TMDIChild* doc = CreateDocumentWindow(UntitledCaption(UntitledCounter));
  if (!doc) return nullptr;
  doc->SetCoding(NewDocumentCoding());
  ShowCoding(doc);
  status_bar_.SetText(kSizePanel, "0ﾊﾞｲﾄ");
  UpdateCaretPosition();
  ++UntitledCounter;
  return doc;
}

void TMainForm::FileOpenItemClick() {
  std::string chosen;
  if (app_.file_dialogs().Open(hwnd(), OpenDialogArgs(), chosen)) OpenDocument(chosen);
}

FileCoding TMainForm::NewDocumentCoding() const { return app_.env_settings().editor.new_coding; }

bool TMainForm::ReadDocument(const std::string& name, std::optional<Encoding> encoding, DocumentContent& content) {
  std::string refusal;
  ReadOptions options{.line_end_default = NewDocumentCoding().line_end, .encoding = encoding};
  if (ReadDocumentFile(name, options, content, refusal)) return true;
  app_.messages().Error(hwnd(), refusal);
  return false;
}

bool TMainForm::FileFound(const std::string& name) {
  if (FileExists(name)) return true;
  messages().Warn(hwnd(), name + " は存在しません。");
  return false;
}

void TMainForm::LoadDocumentText(TMDIChild& doc, DocumentContent content) {
  bool mixed = content.mixed_line_ends;
  doc.LoadContent(std::move(content));
  ShowModified(false);
  SendMessageA(doc.Memo, EM_SETSEL, 0, 0);
  doc.SetModified(false);
  status_bar_.SetText(kSizePanel, std::to_string(doc.TextLength()) + "ﾊﾞｲﾄ");
  ShowCoding(&doc);
  UpdateCaretPosition();
  if (mixed) app_.messages().Inform(hwnd(), MixedLineEndsText(doc.FileName(), doc.coding()));
  if (std::string text = TooManyCharactersText(doc.FileName(), doc.foreign_chars()); !text.empty()) {
    app_.messages().Warn(hwnd(), text);
  }
}

void TMainForm::ShowCoding(const TMDIChild* doc) {
  status_bar_.SetText(kCodingPanel, doc ? CodingName(doc->coding()) : "");
}

std::optional<SaveReport> TMainForm::WriteDocument(const TMDIChild& doc, const FileCoding& coding,
                                                   const std::string& path, const std::string& backup) {
  if (!doc.savable()) {
    app_.messages().Error(hwnd(), doc.FileName() + " は読み取り専用で開いているので保存できません。");
    return std::nullopt;
  }
  FileBytes bytes(doc, coding);
  SaveReport report = SaveFileWithBackup(path, bytes, backup);
  if (!bytes.stopped()) return report;
  app_.messages().Error(hwnd(), UnholdableText(bytes.bad(), coding.encoding, SystemCodePage()) +
                                    "\r文字を直すか、別の文字ｺｰﾄﾞを選んで名前を付けて保存してください。");
  return std::nullopt;
}

bool TMainForm::OpenDocument(const std::string& name) {
  if (!FileFound(name)) return false;
  recent_files.Push(name);
  RebuildRecentFileItems();
  for (TMDIChild* child : Children()) {
    if (SameFileName(child->FileName(), name)) {
      if (IsIconic(child->hwnd())) SendMessageA(mdi_client_, WM_MDIRESTORE, reinterpret_cast<WPARAM>(child->hwnd()), 0);
      SendMessageA(mdi_client_, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(child->hwnd()), 0);
      return true;
    }
  }
  // A file the editor cannot hold, or one that is not text, opens no window at all.
  DocumentContent content;
  if (!ReadDocument(name, std::nullopt, content)) return false;
  TMDIChild* doc = CreateDocumentWindow(name);
  if (!doc) return false;
  LoadDocumentText(*doc, std::move(content));
  return true;
}

// Undo-all: the document as it was last saved, read again as an open reads it.
void TMainForm::UndoAllItemClick() {
  TMDIChild* doc = ActiveChild();
  if (!doc) return;
  MessageBeep(MB_ICONQUESTION);
  if (messages().Show(hwnd(), MsgKind::Confirmation, "今までの変更内容がすべて消去されますがよろしいですか?",
                      kMsgYes | kMsgNo) != MsgResult::Yes) {
    return;
  }
  if (doc->is_untitled()) {
    SetWindowTextA(doc->Memo, "");
    return;
  }
  const std::string& name = doc->FileName();
  DocumentContent content;
  if (!FileFound(name) || !ReadDocument(name, doc->coding().encoding, content)) return;
  LoadDocumentText(*doc, std::move(content));
}

// Reading again as another encoding throws away the edits since the last save, so it asks
// first, as undo-all does.
void TMainForm::ReopenItemClick(Encoding encoding) {
  TMDIChild* doc = ActiveChild();
  if (!doc || doc->is_untitled()) return;
  const std::string& name = doc->FileName();
  if (doc->modified() && messages().Show(hwnd(), MsgKind::Confirmation,
                                         name + " は変更されています。\r変更を捨てて " + EncodingLongName(encoding) +
                                             " として開き直しますか?",
                                         kMsgYes | kMsgNo) != MsgResult::Yes) {
    return;
  }
  DocumentContent content;
  if (!FileFound(name) || !ReadDocument(name, encoding, content)) return;
  LoadDocumentText(*doc, std::move(content));
}

void TMainForm::FileInsertItemClick() {
  TMDIChild* doc = ActiveChild();
  std::string chosen;
  if (!doc || !app_.file_dialogs().Open(hwnd(), OpenDialogArgs(), chosen)) return;
  DocumentContent content;
  if (!FileFound(chosen) || !ReadDocument(chosen, std::nullopt, content)) return;
  std::string_view file_text(content.decoded.text.data.get(), content.decoded.text.size);
  std::string own_codes;
  Unholdable refused;
  if (!content.decoded.chars.empty()) {
    if (!IntoDocumentCodes(file_text, content.decoded.chars, doc->coding().encoding, doc->foreign_chars(), own_codes,
                           refused)) {
      messages().Error(hwnd(), chosen + " の " + UnholdablePlace(refused, SystemCodePage()) + " は、この文書の文字ｺｰﾄﾞ (" +
                                   EncodingLongName(doc->coding().encoding) + ") では表せないので挿入しません。");
      return;
    }
    file_text = own_codes;
  }
  InsertionText insertion = TextForInsertion(file_text);
  WPARAM line_start = static_cast<WPARAM>(SendMessageA(doc->Memo, EM_LINEINDEX, static_cast<WPARAM>(-1), 0));
  SendMessageA(doc->Memo, EM_SETSEL, line_start, static_cast<LPARAM>(line_start));
  SendMessageA(doc->Memo, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(insertion.text.c_str()));
  SendMessageA(doc->Memo, EM_SETSEL, line_start, static_cast<LPARAM>(line_start + insertion.block_size));
  UpdateCaretPosition();
}

void TMainForm::FilePrintItemClick() {
  TMDIChild* doc = ActiveChild();
  if (!doc) return;
  int copies = 1;
  std::unique_ptr<PrintTarget> printer = app_.file_dialogs().ChoosePrinter(hwnd(), copies);
  if (!printer) return;
  for (int copy = 0; copy < copies; ++copy) {
    if (!PrintEditorText(doc->Memo, *printer, doc->FileName())) {
      app_.messages().Error(hwnd(), "印刷できません");
      return;
    }
  }
}

bool TMainForm::FileSaveItemClick(TMDIChild& doc) {
  if (doc.is_untitled()) return FileSaveAsItemClick(doc);
  std::string name = doc.FileName();
  std::string backup = app_.env_settings().general.backup ? BackupNameFor(name) : "";
  std::optional<SaveReport> written = WriteDocument(doc, doc.coding(), name, backup);
  if (!written) return false;
  const SaveReport& report = *written;
  if (report.backup_error) {
    std::string text = "ﾊﾞｯｸｱｯﾌﾟﾌｧｲﾙを作成できません。\rﾌｧｲﾙ ";
    app_.messages().Error(hwnd(), text.append(backup).append("\r").append(RetryCauseText(report.backup_error)));
  }
  if (!report.saved) {
    app_.messages().Error(hwnd(), CannotCreateText(name, report));
    return false;
  }
  doc.SetModified(false);
  if (ActiveChild() == &doc) ShowModified(false);
  return true;
}

bool TMainForm::FileSaveAsItemClick(TMDIChild& doc) {
  FileDialogArgs args{.file_name = doc.FileName(),
                      .filter = "TeXﾌｧｲﾙ|*.tex|すべてのﾌｧｲﾙ|*.*",
                      .flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                      .old_style = app_.env_settings().general.win31_dialog};
  std::string chosen;
  FileCoding coding = doc.coding();
  args.coding = &coding;
  if (!app_.file_dialogs().Save(hwnd(), args, chosen)) return false;
  // A character the chosen coding cannot hold is named, and the file is not replaced.
  std::optional<SaveReport> written = WriteDocument(doc, coding, chosen, "");
  if (!written) return false;
  if (!written->saved) {
    app_.messages().Error(hwnd(), CannotCreateText(chosen, *written));
    return false;
  }
  DeleteFileA(doc.AutoSaveFileName().c_str());
  doc.SetFileName(chosen);
  doc.SetCoding(coding);
  if (ActiveChild() == &doc) ShowCoding(&doc);
  recent_files.Push(chosen);
  RebuildRecentFileItems();
  doc.SetModified(false);
  if (ActiveChild() == &doc) ShowModified(false);
  return true;
}

}  // namespace quillet
