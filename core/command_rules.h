#pragma once
// The rules that enable commands, and the state of the program they are judged on. Every
// menu item, tool button, key and pop-up entry of a command asks the same rule, so that
// they never disagree.

namespace quillet {

// The program's state as far as enabling goes, read at one moment.
struct CommandState {
  bool document = false;        // a document window is active
  bool file = false;            // ... and its text came from (or went to) a file
  bool modified = false;        // ... and was changed since
  bool selection = false;       // ... and has text selected
  bool can_undo = false;        // ... and its editor can take an edit back
  bool clipboard_text = false;  // the clipboard holds text
  bool tex_busy = false;        // a run is being prepared or goes on
  bool tex_running = false;     // ... goes on
  bool synctex = false;         // the active document's last run left SyncTeX data
  bool exit_locked = false;     // a finished engine's log is being read
  bool manual = false;          // the chosen viewer has an online manual
};

enum class CommandRule {
  kAlways,
  kNever,         // the command has no action (redo)
  kDocument,      // needs an active document
  kFile,          // ... one read from a file
  kModified,      // ... one with changes
  kSelection,     // ... with text selected
  kCanUndo,       // ... whose editor can undo
  kPaste,         // ... and text on the clipboard
  kTeXIdle,       // no run under way
  kTeXRunning,    // a run under way
  kSyncTeX,       // SyncTeX data for the active document
  kExitFree,      // not while a log is being read
  kManual,        // the viewer's online manual
};

bool Allows(CommandRule rule, const CommandState& state);

}  // namespace quillet
