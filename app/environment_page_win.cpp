#include "app/application_win.h"
#include "app/main_form_win.h"
#include "core/command_ids.h"
#include "document/mdi_child_win.h"
#include "editor/editor_win.h"
#include "win/failure_cause_win.h"
#include "win/profile_win.h"

namespace quillet {

// The whole page goes to the file at once, so a refused write changes neither the file
// nor the running program. The file dialogs read their style when they open.
bool TMainForm::ApplyEnvironmentPage(int page, const EnvSettings& edited) {
  ProfileWriter writer(app_.settings_file());
  for (const ProfileEntry& e : PageEntries(edited, page)) writer.String(e.section.c_str(), e.key.c_str(), e.value);
  if (!writer.Commit()) {
    app_.messages().Error(GetActiveWindow(), WithWriteCause(app_.settings_file().WriteErrorText()));
    return false;
  }
  EnvSettings& env = app_.env_settings();
  TakePage(env, edited, page);
  switch (page) {
    case 0: SetAutoSaveInterval(static_cast<UINT>(env.general.auto_save_minutes) * 60000); break;
    case 1:
      for (TMDIChild* doc : Children()) {
        doc->SetEditorFont(env.editor.font_name, env.editor.FontSize());
        ShowEditorMarks(*doc);
      }
      break;
    case 3: RefreshCommands(); break;  // the manual comes with some viewers only
    default: break;
  }
  return true;
}

void TMainForm::ShowEditorMarks(const TMDIChild& doc) const {
  const EditorMarks& marks = app_.env_settings().editor.marks;
  WPARAM flags = (marks.full_width_space ? kMarkFullWidthSpace : 0) | (marks.tab ? kMarkTab : 0) |
                 (marks.line_end ? kMarkLineEnd : 0);
  SendMessageA(doc.Memo, EM_SETMARKS, flags, 0);
}

}  // namespace quillet
