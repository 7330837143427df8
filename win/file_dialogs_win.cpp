#include "win/file_dialogs_win.h"

#include <windows.h>
#include <commdlg.h>

#include <optional>

#include "core/sjis.h"
#include "win/save_coding_win.h"
#include "win/system_dll_win.h"

namespace quillet {

std::string FilterForDialog(const std::string& filter) {
  std::string out;
  for (std::size_t i = 0; i < filter.size();) {
    std::size_t len = CharLength(filter, i);
    if (len == 1 && filter[i] == '|') {
      out += '\0';
    } else {
      out.append(filter, i, len);
    }
    i += len;
  }
  out += '\0';
  out += '\0';
  return out;
}

namespace {
bool Run(HWND owner, const FileDialogArgs& args, std::string& chosen, bool save) {
  std::string filter = FilterForDialog(args.filter);
  char name[MAX_PATH * 4] = {};
  lstrcpynA(name, args.file_name.c_str(), sizeof(name));
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof(ofn);
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = filter.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = name;
  ofn.nMaxFile = sizeof(name);
  ofn.lpstrTitle = args.title.empty() ? nullptr : args.title.c_str();
  ofn.lpstrInitialDir = args.initial_dir.empty() ? nullptr : args.initial_dir.c_str();
  ofn.lpstrDefExt = args.default_ext.empty() ? nullptr : args.default_ext.c_str();
  ofn.Flags = args.flags | (args.old_style ? 0 : OFN_EXPLORER);
  std::optional<SaveCodingChoice> coding;
  if (save && args.coding) coding.emplace(*args.coding).Attach(ofn);
  using DialogFn = BOOL(WINAPI*)(OPENFILENAMEA*);
  auto run = SystemFunction<DialogFn>("comdlg32.dll", save ? "GetSaveFileNameA" : "GetOpenFileNameA");
  BOOL ok = run && run(&ofn);
  if (!ok) return false;
  chosen = name;
  if (coding) *args.coding = coding->chosen();
  return true;
}
}  // namespace

bool CommonFileDialogs::Open(HWND owner, const FileDialogArgs& args, std::string& chosen) {
  return Run(owner, args, chosen, false);
}

bool CommonFileDialogs::Save(HWND owner, const FileDialogArgs& args, std::string& chosen) {
  return Run(owner, args, chosen, true);
}

std::unique_ptr<PrintTarget> CommonFileDialogs::ChoosePrinter(HWND owner, int& copies) {
  PRINTDLGA pd{};
  pd.lStructSize = sizeof(pd);
  pd.hwndOwner = owner;
  pd.Flags = PD_RETURNDC | PD_NOSELECTION | PD_NOPAGENUMS | PD_HIDEPRINTTOFILE;
  pd.nCopies = 1;
  auto run = SystemFunction<BOOL(WINAPI*)(PRINTDLGA*)>("comdlg32.dll", "PrintDlgA");
  if (!run || !run(&pd) || !pd.hDC) return nullptr;
  if (pd.hDevMode) GlobalFree(pd.hDevMode);
  if (pd.hDevNames) GlobalFree(pd.hDevNames);
  copies = pd.nCopies > 0 ? pd.nCopies : 1;
  return std::make_unique<PrinterTarget>(pd.hDC);
}

}  // namespace quillet
