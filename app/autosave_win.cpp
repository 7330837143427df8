// Autosave: while documents exist a timer runs, and each time it elapses every modified
// document is copied to its ".$$$" file, and the run's record notes whose text it holds.
#include <optional>

#include "app/application_win.h"
#include "app/autosave_recovery_win.h"
#include "app/main_form_win.h"
#include "core/text_encoding.h"
#include "document/mdi_child_win.h"
#include "win/failure_cause_win.h"
#include "win/file_io_win.h"

namespace quillet {

namespace {
constexpr UINT_PTR kAutoSaveTimer = 1;
}

void TMainForm::SetAutoSaveRunning(bool run) {
  if (run == autosave_running_) return;  // a running timer keeps its countdown
  if (run) {
    if (!SetTimer(hwnd(), kAutoSaveTimer, autosave_interval_, nullptr)) {
      app_.messages().Error(hwnd(), "ﾀｲﾏｰを取得できません");
      return;
    }
  } else {
    KillTimer(hwnd(), kAutoSaveTimer);
  }
  autosave_running_ = run;
}

void TMainForm::SetAutoSaveInterval(UINT milliseconds) {
  if (milliseconds == autosave_interval_) return;
  autosave_interval_ = milliseconds;
  if (autosave_running_) {  // a new interval starts a full one
    SetAutoSaveRunning(false);
    SetAutoSaveRunning(true);
  }
}

namespace {
// In the document's coding; a character that coding cannot hold (the save will say so)
// must not cost the copy, so such a text is copied in UTF-8. The coding written, or
// nothing with error saying why.
std::optional<FileCoding> WriteAutoSaveCopy(const TMDIChild& doc, const std::string& copy, DWORD& error) {
  FileCoding coding = doc.coding();
  FileBytes bytes(doc, coding);
  SaveReport report = SaveFileWithBackup(copy, bytes, "");
  if (!report.saved && bytes.stopped()) {
    coding = {Encoding::kUtf8, false, coding.line_end};
    FileBytes utf8(doc, coding);
    report = SaveFileWithBackup(copy, utf8, "");
  }
  if (report.saved) return coding;
  error = report.error;
  return std::nullopt;
}
}  // namespace

void TMainForm::TimerTimer() {
  SetAutoSaveRunning(false);
  DisplayHint("自動保存中...");
  status_bar_.Repaint();
  std::string failure;
  for (TMDIChild* doc : Children()) {
    if (!doc->modified() || !doc->savable()) continue;
    // A copy that cannot be written is tried again at the next pass; the safe write
    // keeps the previous copy meanwhile, and the status bar says why until then.
    std::string copy = doc->AutoSaveFileName();
    DWORD error = 0;
    std::optional<FileCoding> coding = WriteAutoSaveCopy(*doc, copy, error);
    if (!coding) {
      failure = std::string("ﾌｧｲﾙ ").append(copy).append(" に自動保存できません。").append(RetryCauseText(error));
      continue;
    }
    const std::string& name = doc->FileName();
    app_.autosave_record().Note({copy, doc->is_untitled() ? name : FullPathName(name), CodingName(*coding)});
  }
  app_.autosave_record().Flush();
  DisplayHint(failure);
  SetAutoSaveRunning(!Children().empty());
}

}  // namespace quillet
