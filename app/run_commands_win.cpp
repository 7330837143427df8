#include "app/run_commands_win.h"

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

RunCommands::RunCommands(TMainForm& main)
    : main_(main), next_format_command_(kFirstFormatCommand), runner_(std::make_unique<TeXRunner>(*this)),
      forward_search_(std::make_unique<ForwardSearch>()) {}

RunCommands::~RunCommands() = default;

bool RunCommands::running() const { return runner_->running(); }

// A run is a job of the main loop: the three commands are locked until it ends (so no
// second run can start), while everything else goes on working.
void RunCommands::RunTeXCommand(bool only_if_needed, std::optional<ViewerAction> then_view) {
  if (busy_) return;
  busy_ = true;
  main_.RefreshCommands();
  std::optional<TeXRunRequest> request = PrepareTeXRun(only_if_needed, then_view);
  if (!request) {
    busy_ = false;
    main_.RefreshCommands();
    return;
  }
  ShowTeXRunning(true);
  run_started_ = GetTickCount();
  runner_->Start(std::move(*request));
  main_.RefreshCommands();  // the stop command, now that the run goes on
}

void RunCommands::TeXRunEnded(RunResult result) {
  busy_ = false;
  ShowTeXRunning(false);
  // A run without errors says so, with its time, until the next edit.
  if (result == RunResult::DviReady) main_.status_bar().SetText(kRunPanel, RunEndedText(GetTickCount() - run_started_));
  CheckForwardSearchData();
  if (result == RunResult::Stopped) {
    ShowLogText(kRunStoppedText, {}, {});
    main_.DisplayHint(kRunStoppedText);
  }
  if (std::exchange(close_after_run_, false)) PostMessageA(main_.hwnd(), WM_CLOSE, 0, 0);
}

void RunCommands::ShowTeXRunning(bool running) {
  std::string text;
  if (running) {
    const std::vector<std::string>& formats = main_.app().tex_config().menu_strings;
    auto index = static_cast<std::size_t>(CurrentTeXMode);
    text = index < formats.size() ? "TeX実行中 (" + formats[index] + ")" : std::string("TeX実行中");
  }
  main_.status_bar().SetText(kRunPanel, text);
  main_.RefreshCommands();
}

void RunCommands::StopTeXItemClick() { runner_->Stop(); }

void RunCommands::StopThenClose() {
  runner_->Stop();
  close_after_run_ = true;
}

void RunCommands::OnTimer() { runner_->OnTimer(); }


// A format must be chosen and the active document saved; without a document the user is
// offered one to open.
std::optional<TeXRunRequest> RunCommands::PrepareTeXRun(bool only_if_needed, std::optional<ViewerAction> then_view) {
  if (CurrentTeXMode == -1 || FormatCommandIds.empty()) {
    messages().Warn(MessageOwner(), "ﾌｫｰﾏｯﾄﾌｧｲﾙが作成されていません。\rまず、ﾌｫｰﾏｯﾄﾌｧｲﾙを作成して下さい。");
    return std::nullopt;
  }
  if (!main_.ActiveChild()) main_.FileOpenItemClick();
  TMDIChild* doc = main_.ActiveChild();
  if (!doc) return std::nullopt;
  if (doc->modified()) {
    MsgResult answer = messages().Show(MessageOwner(), MsgKind::Confirmation,
                                       doc->FileName() + " は変更されています。\rﾌｧｲﾙに保存しますか?",
                                       kMsgYes | kMsgCancel);
    // A save that did not happen leaves nothing new to typeset; the save has said why.
    if (answer != MsgResult::Yes || !main_.FileSaveItemClick(*doc)) return std::nullopt;
  }
  if (!AcceptPLaTeXCharacters(*doc)) return std::nullopt;
  const EnvSettings& env = main_.app().env_settings();
  return TeXRunRequest{.source = doc->FileName(),  // a save may have named it anew
                       .format_index = CurrentTeXMode,
                       .engine_command = env.tex.ChosenPath(),
                       .only_if_needed = only_if_needed,
                       .show_log = env.general.show_log_file,
                       .log_editor = env.general.editor_path,
                       .then_view = then_view,
                       .viewer = ChosenViewer()};
}

ViewerRequest RunCommands::ChosenViewer() const {
  const ProgramChoice& dvi = main_.app().env_settings().dvi;
  return {.kind = dvi.use, .command = dvi.ChosenPath()};
}

void RunCommands::TeX1ItemClick() { RunTeXCommand(false, std::nullopt); }
void RunCommands::TeX2ItemClick() { RunTeXCommand(true, ViewerAction::Preview); }
void RunCommands::TeX3ItemClick() { RunTeXCommand(true, ViewerAction::Print); }
void RunCommands::DigitalItemClick() { runner_->OpenManual(ChosenViewer()); }

void RunCommands::ForwardSearchItemClick() {
  TMDIChild* doc = main_.ActiveChild();
  if (!doc) return;
  int line = CaretLine(doc->Memo);
  ForwardPlace place = forward_search_->Find(doc->FileName(), line);
  if (place.dvi.empty()) {
    messages().Warn(MessageOwner(), doc->FileName() + " の SyncTeX の情報がありません。\rTeXをかけてから、もう一度試してください。");
  } else if (place.page == 0) {
    MessageBeep(MB_OK);
    main_.DisplayHint(std::to_string(line) + "行目はﾌﾟﾚﾋﾞｭｰのどこにも組まれていません。");
  } else {
    runner_->ShowPlace(place.dvi, ViewerForwardSearchCommand(doc->FileName(), line, place.page), ChosenViewer());
  }
}

void RunCommands::CheckForwardSearchData() {
  TMDIChild* doc = main_.ActiveChild();
  synctex_ = doc && !doc->is_untitled() && !ForwardSearch::DataFor(doc->FileName()).empty();
  main_.RefreshCommands();
}

HWND RunCommands::MessageOwner() const { return main_.hwnd(); }

Messages& RunCommands::messages() { return main_.messages(); }

void RunCommands::SetExitEnabled(bool enabled) {
  exit_locked_ = !enabled;
  main_.RefreshCommands();
}

void RunCommands::ShowLogText(const std::string& text, ForeignChars chars, const std::string& source) {
  main_.app().ErrorWin().ShowText(text, std::move(chars), source);
}

void RunCommands::ShowErrors(const std::string& source, int line) {
  main_.ShowErrorWindow();
  main_.SelectLineInDocument(source, line);
}

}  // namespace quillet
