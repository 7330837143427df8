// The Run menu's TeX commands, the stop command and the online manual: the main window
// says what to run and answers the run's reports.
#include <utility>

#include "app/application_win.h"
#include "app/main_form_win.h"
#include "core/command_ids.h"
#include "document/mdi_child_win.h"
#include "tex/error_window_win.h"
#include "tex/forward_search_win.h"
#include "tex/tex_commands.h"

namespace quillet {

namespace {
constexpr const char* kRunStoppedText = "TeXの実行を中止しました。";
}  // namespace

// A run is a job of the main loop: the three commands are locked until it ends (so no
// second run can start), while everything else goes on working.
void TMainForm::RunTeXCommand(bool only_if_needed, std::optional<ViewerAction> then_view) {
  if (tex_runner_->running()) return;
  DisableTeXCommands();
  std::optional<TeXRunRequest> request = PrepareTeXRun(only_if_needed, then_view);
  if (!request) {
    EnableTeXCommands();
    return;
  }
  ShowTeXRunning(true);
  run_started_ = GetTickCount();
  tex_runner_->Start(std::move(*request));
}

void TMainForm::TeXRunEnded(RunResult result) {
  ShowTeXRunning(false);
  // A run without errors says so, with its time, until the next edit.
  if (result == RunResult::DviReady) status_bar_.SetText(kRunPanel, RunEndedText(GetTickCount() - run_started_));
  EnableTeXCommands();
  UpdateForwardSearch();
  if (result == RunResult::Stopped) {
    ShowLogText(kRunStoppedText, {}, {});
    DisplayHint(kRunStoppedText);
  }
  if (std::exchange(close_after_run_, false)) PostMessageA(hwnd(), WM_CLOSE, 0, 0);
}

void TMainForm::ShowTeXRunning(bool running) {
  std::string text;
  if (running) {
    const std::vector<std::string>& formats = app_.tex_config().menu_strings;
    auto index = static_cast<std::size_t>(CurrentTeXMode);
    text = index < formats.size() ? "TeX実行中 (" + formats[index] + ")" : std::string("TeX実行中");
  }
  status_bar_.SetText(kRunPanel, text);
  menu().Item(kStopTeXItem).SetEnabled(running);
}

void TMainForm::StopTeXItemClick() { tex_runner_->Stop(); }


// A format must be chosen and the active document saved; without a document the user is
// offered one to open.
std::optional<TeXRunRequest> TMainForm::PrepareTeXRun(bool only_if_needed, std::optional<ViewerAction> then_view) {
  if (CurrentTeXMode == -1 || FormatCommandIds.empty()) {
    messages().Warn(hwnd(), "ﾌｫｰﾏｯﾄﾌｧｲﾙが作成されていません。\rまず、ﾌｫｰﾏｯﾄﾌｧｲﾙを作成して下さい。");
    return std::nullopt;
  }
  if (!ActiveChild()) FileOpenItemClick();
  TMDIChild* doc = ActiveChild();
  if (!doc) return std::nullopt;
  if (doc->modified()) {
    MsgResult answer = messages().Show(hwnd(), MsgKind::Confirmation,
                                       doc->FileName() + " は変更されています。\rﾌｧｲﾙに保存しますか?",
                                       kMsgYes | kMsgCancel);
    // A save that did not happen leaves nothing new to typeset; the save has said why.
    if (answer != MsgResult::Yes || !FileSaveItemClick(*doc)) return std::nullopt;
  }
  if (!AcceptPLaTeXCharacters(*doc)) return std::nullopt;
  const EnvSettings& env = app_.env_settings();
  return TeXRunRequest{.source = doc->FileName(),  // a save may have named it anew
                       .format_index = CurrentTeXMode,
                       .engine_command = env.tex.ChosenPath(),
                       .only_if_needed = only_if_needed,
                       .show_log = env.general.show_log_file,
                       .log_editor = env.general.editor_path,
                       .then_view = then_view,
                       .viewer = ChosenViewer()};
}

ViewerRequest TMainForm::ChosenViewer() const {
  const ProgramChoice& dvi = app_.env_settings().dvi;
  return {.kind = dvi.use, .command = dvi.ChosenPath()};
}

void TMainForm::TeX1ItemClick() { RunTeXCommand(false, std::nullopt); }
void TMainForm::TeX2ItemClick() { RunTeXCommand(true, ViewerAction::Preview); }
void TMainForm::TeX3ItemClick() { RunTeXCommand(true, ViewerAction::Print); }
void TMainForm::DigitalItemClick() { tex_runner_->OpenManual(ChosenViewer()); }

void TMainForm::ForwardSearchItemClick() {
  TMDIChild* doc = ActiveChild();
  if (!doc) return;
  int line = CaretLine(doc->Memo);
  ForwardPlace place = forward_search_->Find(doc->FileName(), line);
  if (place.dvi.empty()) {
    messages().Warn(hwnd(), doc->FileName() + " の SyncTeX の情報がありません。\rTeXをかけてから、もう一度試してください。");
  } else if (place.page == 0) {
    MessageBeep(MB_OK);
    DisplayHint(std::to_string(line) + "行目はﾌﾟﾚﾋﾞｭｰのどこにも組まれていません。");
  } else {
    tex_runner_->ShowPlace(place.dvi, ViewerForwardSearchCommand(doc->FileName(), line, place.page), ChosenViewer());
  }
}

void TMainForm::UpdateForwardSearch() {
  TMDIChild* doc = ActiveChild();
  bool data = doc && !doc->is_untitled() && !ForwardSearch::DataFor(doc->FileName()).empty();
  menu().Item(kForwardSearchItem).SetEnabled(data);
  speed_panel_.SetEnabled(ForwardSearchBtn, data);
}

void TMainForm::SetExitEnabled(bool enabled) { menu().Item(kFileExitItem).SetEnabled(enabled); }

void TMainForm::ShowLogText(const std::string& text, ForeignChars chars, const std::string& source) {
  app_.ErrorWin().ShowText(text, std::move(chars), source);
}

void TMainForm::ShowErrors(const std::string& source, int line) {
  ShowErrorWindow();
  SelectLineInDocument(source, line);
}

}  // namespace quillet
