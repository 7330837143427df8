#pragma once
// TMainForm, the main frame window "TeX Quillet": menus, tool bar, the MDI client with
// the document windows, the status bar, and the commands that enter through them.
#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/command_table_win.h"
#include "app/edit_commands_win.h"
#include "app/find_commands_win.h"
#include "app/recent_files.h"
#include "app/run_commands_win.h"
#include "app/speed_panel_win.h"
#include "core/text_encoding.h"
#include "core/text_gap.h"
#include "document/document_file_win.h"
#include "document/document_host_win.h"
#include "prefs/env_settings.h"
#include "win/file_dialogs_win.h"
#include "win/file_io_win.h"
#include "win/form_win.h"
#include "win/menu_win.h"
#include "win/status_bar_win.h"

namespace quillet {

class Application;
class TMDIChild;

// The line (from 1) of the caret in a document's editor.
int CaretLine(HWND memo);

// Status-bar panels. The run's panel comes after the hints, so that no hint hides it.
enum StatusPanel : int {
  kCaretPanel = 0, kSizePanel = 1, kModifiedPanel = 2, kCodingPanel = 3, kHintPanel = 4, kRunPanel = 5
};
// The widest figures the caret's and the size's panels show whole: those of a 200 MB
// document (four million lines, a line of 99,999 bytes).
inline constexpr const char* kWidestCaretText = "4194304:99999";
inline constexpr const char* kWidestSizeText = "209715200ﾊﾞｲﾄ";

class TMainForm : public Window, public DocumentHost {
 public:
  explicit TMainForm(Application& app);
  ~TMainForm() override;
  bool Create();

  Application& app() { return app_; }
  MenuBar& menu() { return *menu_; }
  SpeedPanel& speed_panel() { return speed_panel_; }
  StatusBar& status_bar() { return status_bar_; }
  HWND mdi_client() const override { return mdi_client_; }
  HWND MessageOwner() const override { return hwnd(); }
  Messages& messages() override;
  // The command slices that own state of their own.
  RunCommands& run() { return run_; }
  EditCommands& edit() { return edit_; }
  FindCommands& find() { return find_; }
  FindReplace& finder() { return find_.finder(); }
  // A document window moved or changed size (the document area may need scroll bars).
  void DocumentsMoved() override;

  // Application-wide state kept by the main window.
  std::string HomeDirectory;
  int UntitledCounter = 1;
  bool CommandInputVisible = true;
  int ListViewRatio = 75;
  HWND NextClipboardViewer = nullptr;
  bool start_maximized = false;  // the window is shown maximized at start-up
  RecentFiles recent_files;

  // Documents.
  TMDIChild* ActiveChild() const;
  // Document windows in the order of the platform's MDI child list.
  std::vector<TMDIChild*> Children() const;
  TMDIChild* CreateDocumentWindow(const std::string& name);
  void SelectLineInDocument(const std::string& name, int line);
  void ShowErrorWindow();
  void ChildDestroyed(TMDIChild* child) override;

  // Command state and status bar.
  void UpdateMenuItems() override;
  void DocumentChanged(TMDIChild& doc) override;
  void DocumentSelectionChanged(TMDIChild& doc) override;
  // The modified marker of the active document's panel.
  void ShowModified(bool modified);
  void UpdateCaretPosition();
  // The status bar's coding panel: the document's coding, empty without a document.
  void ShowCoding(const TMDIChild* doc);
  void DisplayHint(const std::string& status_text) override;
  void RebuildRecentFileItems();

  // What the commands' rules are judged on, as the program stands now.
  CommandState CurrentCommandState() const;
  // Every menu item and tool button enabled as its command's rule says now; returns the
  // state they were judged on.
  CommandState RefreshCommands();
  // The items of a menu (the pop-up menu as it opens) enabled as their rules say.
  void JudgeMenu(MenuBar& menu) override;
  std::vector<MenuItemDef> ContextMenuItems() const override;
  // A command from a menu item, an accelerator, a tool button or the pop-up menu: runs
  // only while its rule allows it and its menu item (if it has one) is shown.
  void OnCommand(UINT id) override;

  // Commands of this window.
  void FileExitItemClick();
  void ComInputItemClick();
  void ErrMesItemClick();
  void ToolBarItemClick();
  void StatusBarItemClick();
  void EnvItemClick();
  void PPropertyItemClick();
  void SetItemClick();
  void WindowCascadeItemClick();
  void WindowTileItemClick();
  void WindowArrangeItemClick();
  void WindowMinimizeItemClick();
  void WindowCloseAllItemClick();
  void SearchforHelpOnItemClick();
  void HelpAboutItemClick();

  void UndoAllItemClick();

  // The editor of the active document window; null when none is active.
  HWND ActiveEditor() const;
  void MacroItemClick();

  // Document commands.
  void FileNewItemClick();
  // A new untitled document "文書" + counter + ".tex", empty.
  TMDIChild* NewBlankDocument();
  void FileOpenItemClick();
  bool OpenDocument(const std::string& name);
  void FileInsertItemClick();
  // Reads the active document's file again as a file of that encoding.
  void ReopenItemClick(Encoding encoding);
  void FilePrintItemClick();
  bool FileSaveItemClick(TMDIChild& doc) override;
  bool FileSaveAsItemClick(TMDIChild& doc);

  // Writes one page of the environment dialog to quillet.ini and puts it in force in
  // the running program; false (and said) when the file refused the write.
  bool ApplyEnvironmentPage(int page, const EnvSettings& edited);

  // Autosave: the timer runs while documents exist; each pass copies the modified ones.
  void SetAutoSaveInterval(UINT milliseconds);
  bool autosave_running() const { return autosave_running_; }
  UINT autosave_interval() const { return autosave_interval_; }
  void TimerTimer();

  // Shows or hides the tool bar / status bar and lays the client area out again.
  void SetToolBarVisible(bool visible);
  void SetStatusBarVisible(bool visible);
  // The message hook run for every message taken from the queue.
  void AppMessage(MSG& msg);
  // Keyboard messages for the accelerators and the MDI keys; true when consumed.
  bool TranslateKeys(MSG& msg);

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  LRESULT Default(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void CreateBars();
  void Layout();
  bool FormCloseQuery();
  void FormDestroy();
  void OnMenuSelect(UINT item, UINT flags, HMENU menu);
  void OnClipboardChange();
  void ReapChildren();
  void SetAutoSaveRunning(bool run);
  // Gives a document's editor the marks of the environment settings.
  void ShowEditorMarks(const TMDIChild& doc) const;
  // Reads a document file for opening, inserting or undo-all; false (after telling the
  // user) when it is missing or cannot be used.
  bool FileFound(const std::string& name);
  bool ReadDocument(const std::string& name, std::optional<Encoding> encoding, DocumentContent& content);
  // A file's text as the document's whole text, unmodified, the caret at its start; the
  // user is told of mixed line ends and of characters that found no code.
  void LoadDocumentText(TMDIChild& doc, DocumentContent content);
  // Writes the document's text to path in coding (the old file kept as backup when one is
  // named); nullopt, after telling the user, when a read-only document or a character the
  // coding cannot hold stops it, and nothing is replaced.
  std::optional<SaveReport> WriteDocument(const TMDIChild& doc, const FileCoding& coding, const std::string& path,
                                          const std::string& backup);
  // The coding new documents take.
  FileCoding NewDocumentCoding() const;
  FileDialogArgs OpenDialogArgs() const;
  void ShowCommandPalette(bool show);
  void JudgeItems(MenuBar& menu, const CommandState& state);
  // Shows the environment dialog, on the given page or the one last shown.
  void EditEnvironment(std::optional<int> page);

  Application& app_;
  std::unique_ptr<MenuBar> menu_;
  SpeedPanel speed_panel_;
  StatusBar status_bar_;
  HWND mdi_client_ = nullptr;
  bool document_scrolling_ = false;
  bool error_window_placed_ = false;
  FontHandle font_;
  std::vector<std::unique_ptr<TMDIChild>> children_;
  std::vector<std::unique_ptr<TMDIChild>> closed_children_;
  UINT autosave_interval_ = 5 * 60000;
  FindCommands find_{*this};
  RunCommands run_{*this};
  EditCommands edit_{*this};
  bool autosave_running_ = false;
};

}  // namespace quillet
