#include "core/command_rules.h"

namespace quillet {

bool Allows(CommandRule rule, const CommandState& s) {
  switch (rule) {
    case CommandRule::kAlways: return true;
    case CommandRule::kNever: return false;
    case CommandRule::kDocument: return s.document;
    case CommandRule::kFile: return s.document && s.file;
    case CommandRule::kModified: return s.document && s.modified;
    case CommandRule::kSelection: return s.document && s.selection;
    case CommandRule::kCanUndo: return s.document && s.can_undo;
    case CommandRule::kPaste: return s.document && s.clipboard_text;
    case CommandRule::kTeXIdle: return !s.tex_busy;
    case CommandRule::kTeXRunning: return s.tex_running;
    case CommandRule::kSyncTeX: return s.document && s.synctex;
    case CommandRule::kExitFree: return !s.exit_locked;
    case CommandRule::kManual: return s.manual;
  }
  return false;
}

}  // namespace quillet
