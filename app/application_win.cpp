#include "app/application_win.h"

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include "aids/command_palette_win.h"
#include "aids/doc_wizard_win.h"
#include "aids/macro_dialog_win.h"
#include "aids/section_dialog_win.h"
#include "app/autosave_recovery_win.h"
#include "app/main_form_win.h"
#include "app/program_settings_win.h"
#include "app/shipped_content_win.h"
#include "app/title_form_win.h"
#include "artwork/artwork_win.h"
#include "core/command_ids.h"
#include "document/jump_dialog_win.h"
#include "editor/editor_win.h"
#include "help/help_win.h"
#include "prefs/env_dialog_win.h"
#include "tex/error_window_win.h"
#include "tex/tex_settings_dialog_win.h"
#include "win/form_win.h"
#include "win/guard_win.h"
#include "core/sjis.h"
#include "win/message_loop_win.h"
#include "win/settings_location_win.h"
#include "win/system_dll_win.h"

namespace quillet {

namespace {
// A bare name is the program's own file in its usual place, which the user's copy may
// stand in for; a path given in full is used as it is.
std::string SettingsFileOf(const std::string& ini_path) {
  return ExtractFilePath(ini_path).empty() ? SettingsFileToUse(ini_path) : ini_path;
}
}  // namespace

Application::Application(AppOptions options)
    : options_(std::move(options)),
      settings_(SettingsFileOf(options_.ini_path)),
      tex_settings_(options_.wintex_path),
      messages_(options_.messages),
      file_dialogs_(options_.file_dialogs),
      autosave_record_(std::make_unique<AutoSaveRecordFile>(settings_.DiskPath())) {
  if (!messages_) {
    own_messages_ = std::make_unique<MessageDialog>();
    messages_ = own_messages_.get();
  }
  if (!file_dialogs_) {
    own_file_dialogs_ = std::make_unique<CommonFileDialogs>();
    file_dialogs_ = own_file_dialogs_.get();
  }
}

Application::~Application() {
  ClearMessageLoopHooks();
  Form::SetHelpRequester(nullptr);
  SetFailureReporter(nullptr);
  // Closing the main window closed every document and removed its copy: a clean end.
  // Documents still open when the program goes keep their copies for the next start.
  autosave_record_->End(!main_form_ || !main_form_->hwnd() || main_form_->Children().empty());
  // Documents and the main window go before the windows they refer to.
  if (main_form_ && main_form_->hwnd()) DestroyWindow(main_form_->hwnd());
  main_form_.reset();
  if (app_window_) DestroyWindow(app_window_);
}

bool Application::CreateWindows() {
  PrepareTitleArtwork();  // for the splash, while the windows are made
  InitControls(ICC_WIN95_CLASSES | ICC_TAB_CLASSES | ICC_LISTVIEW_CLASSES);
  if (!RegisterEditorClass(AppInstance())) return false;
  // The application's own hidden window, titled like the program.
  app_window_ = CreateWindowExA(WS_EX_TOOLWINDOW, "STATIC", kTitle, WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                AppInstance(), nullptr);
  help_ = std::make_unique<HelpEngine>(options_.help_file);
  Form::SetHelpRequester([this](HWND owner, UINT command, ULONG_PTR data) { Help(owner, command, data); });
  SetFailureReporter([this](HWND owner, const std::string& text) { messages_->Error(owner, text); });
  main_form_ = std::make_unique<TMainForm>(*this);
  input_ = std::make_unique<TInput>();
  pages_dlg_ = std::make_unique<TPagesDlg>();
  pages_dlg1_ = std::make_unique<TPagesDlg1>();
  error_win_ = std::make_unique<TErrorWin>();
  title_form_ = std::make_unique<TTitleForm>();
  if (!main_form_->Create()) return false;
  if (!line_requests_.Create([this](const LineRequest& request) { ServeLineRequest(request); })) return false;
  // The other windows belong to the application's window, so they outlive the main
  // window's destruction (its shutdown writes read the palette's place).
  HWND owner = app_window_;
  if (!input_->Create(owner) || !pages_dlg_->Create() || !pages_dlg1_->Create() || !error_win_->Create(owner) ||
      !title_form_->Create()) {
    return false;
  }
  input_->on_visibility = [this](bool shown) { main_form_->menu().Item(kComInputItem).SetChecked(shown); };
  input_->on_ratio = [this](int ratio) { main_form_->ListViewRatio = ratio; };
  input_->target_editor = [this] { return main_form_->ActiveEditor(); };
  error_win_->on_visibility = [this](bool shown) { main_form_->menu().Item(kErrMesItem).SetChecked(shown); };
  error_win_->on_jump = [this](const std::string& file, int line) {
    if (main_form_->OpenDocument(file)) main_form_->SelectLineInDocument(file, line);
  };
  title_form_->on_activate = [this] { ShowWindow(input_->hwnd(), SW_HIDE); };
  pages_dlg_->Prepare(tex_settings_, tex_config_, *messages_, *file_dialogs_);
  pages_dlg_->on_activate = [this] { ShowWindow(input_->hwnd(), SW_HIDE); };
  pages_dlg_->on_menu_written = [this] { main_form_->run().RebuildFormatItems(tex_config_.menu_strings); };
  pages_dlg_->engine_kind = [this] { return env_settings_.tex.use; };
  pages_dlg_->old_style_dialogs = [this] { return env_settings_.general.win31_dialog; };
  pages_dlg1_->Prepare(*file_dialogs_, [this](int page, const EnvSettings& edited) {
    return main_form_->ApplyEnvironmentPage(page, edited);
  });
  return true;
}

bool Application::Start() {
  if (!CreateWindows()) return false;
  title_form_->ShowSplash();
  LoadAll();
  doc_exp_dlg_ = std::make_unique<TDocExpDlg>();
  // The chosen format's engine is offered first; the engine bridge lists the classes the
  // installed TeX has into the settings folder.
  doc_exp_dlg_->engine = [this] {
    int mode = main_form_->run().CurrentTeXMode;
    const std::vector<std::string>& formats = tex_config_.format_names;
    std::string format = mode >= 0 && mode < static_cast<int>(formats.size()) ? formats[static_cast<std::size_t>(mode)] : "";
    return WizardEngine{env_settings_.tex.ChosenPath(), format, ExtractFilePath(settings_.DiskPath()) + "quillet-classes.txt"};
  };
  jump_dlg_ = std::make_unique<TJumpDlg>();
  macro_dlg_ = std::make_unique<TMacroDlg>();
  section_dlg_ = std::make_unique<TSectionDlg>();
  return doc_exp_dlg_->Create(*messages_) && jump_dlg_->Create() && macro_dlg_->Create() && section_dlg_->Create();
}

void Application::LoadAll() {
  TMainForm& main = *main_form_;
  LoadProgramSettings(*this);
  if (options_.use_shipped_content) UseShippedPrograms(*this);
  // wintex.ini stays where an outside engine reads it; the shipped engine bridge finds it
  // as the program finds its own settings, so with the bridge the user's copy may stand
  // in for it (a standard user cannot write the Windows directory).
  if (UsesShippedEngine(*this)) tex_settings_.UseFile(SettingsFileOf(options_.wintex_path));
  {
    WinProfileStore::Pass pass(tex_settings_);
    tex_config_ = LoadTeXConfiguration(tex_settings_, WinDirectoryLister());
  }
  if (options_.use_shipped_content) UseShippedFormats(*this);
  main.run().SetFormatItems(tex_config_.menu_strings, tex_config_.stored_default);
  ShowWindow(main.hwnd(), main.start_maximized ? SW_SHOWMAXIMIZED : SW_SHOW);
  UpdateWindow(main.hwnd());  // its activation has run UpdateMenuItems
  LoadCommandList(*this);
  // Before the command line's file, which then finds its recovered text already open.
  OfferAutoSaveRecovery(main, *messages_, *autosave_record_, [this] { ShowWindow(title_form_->hwnd(), SW_HIDE); });
  OpenCommandLineFile();
  ShowWindow(title_form_->hwnd(), SW_HIDE);
  AcceptDroppedFiles(app_window_, true);
  AcceptDroppedFiles(main.hwnd(), true);
  main.NextClipboardViewer = SetClipboardViewer(main.hwnd());
  SetMessageLoopHooks({.app_message = [&main](MSG& msg) { main.AppMessage(msg); },
                       .translate_main_keys = [&main](MSG& msg) { return main.TranslateKeys(msg); }});
}

void Application::OpenCommandLineFile() {
  if (options_.line_request) return ServeLineRequest(*options_.line_request);
  if (options_.args.empty()) return;
  std::string name = options_.args.front();
  std::erase(name, '"');
  main_form_->OpenDocument(name);
}

void Application::ServeLineRequest(const LineRequest& request) {
  HWND main = main_form_->hwnd();
  if (IsIconic(main)) ShowWindow(main, SW_RESTORE);
  SetForegroundWindow(main);
  if (main_form_->OpenDocument(request.file)) main_form_->SelectLineInDocument(request.file, request.line);
}

int Application::Run() {
  if (!Start()) {
    messages_->Error(nullptr, "TeX Quilletを起動できません。");
    return 1;
  }
  return RunMainLoop();
}

void Application::Help(HWND owner, UINT command, ULONG_PTR data) {
  HelpResult result = help_->Request(owner, command, data);
  if (result == HelpResult::FileMissing) {
    messages_->Error(owner, "ﾍﾙﾌﾟﾌｧｲﾙ " + options_.help_file + " が見つかりません。");
  }
}

}  // namespace quillet
