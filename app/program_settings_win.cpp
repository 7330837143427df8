#include "app/program_settings_win.h"

#include "aids/command_palette_win.h"
#include "app/application_win.h"
#include "app/main_form_win.h"
#include "app/window_bounds.h"
#include "core/command_ids.h"
#include "prefs/env_dialog_win.h"
#include "win/controls_win.h"

namespace quillet {

namespace {

ScreenSize Screen() { return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}; }

void LoadPosition(const ProfileSource& ini, TMainForm& main) {
  ScreenSize screen = Screen();
  Bounds fallback{0, 0, screen.width, screen.height};
  Bounds stored{ini.ReadInt("Position", "x", 0), ini.ReadInt("Position", "y", 0),
                ini.ReadInt("Position", "width", screen.width), ini.ReadInt("Position", "height", screen.height)};
  Bounds b = UsableBounds(stored, fallback, screen, 120, 80);
  SetWindowPos(main.hwnd(), nullptr, b.x, b.y, b.width, b.height, SWP_NOZORDER | SWP_NOACTIVATE);
  main.start_maximized = ini.ReadBool("Position", "Maximized", false);
  main.SetStatusBarVisible(ini.ReadBool("Position", "StatusBar", true));
  main.SetToolBarVisible(ini.ReadBool("Position", "ToolBar", true));
}

void LoadGeneral(const ProfileSource& ini, TPagesDlg1& env) {
  SetChecked(env.BackUP, ini.ReadBool("General", "BackUp", true));
  SetChecked(env.AutoSave, ini.ReadBool("General", "AutoSave", true));
  EnableWindow(env.AutoSaveTime, IsChecked(env.AutoSave));
  env.set_auto_save_minutes(ini.ReadInt("General", "AutoSaveTime", 5));
  SetControlText(env.EditorPath, ini.ReadString("General", "EditorPath", "NotePad"));
  SetChecked(env.Win31Dialog, ini.ReadBool("General", "Win31Dialog", false));
  SetChecked(env.UseDocExp, ini.ReadBool("General", "UseDocExp", true));
  SetControlText(env.MacroPath, ini.ReadString("General", "MacroPath", ""));
}

void LoadEditor(const ProfileSource& ini, TPagesDlg1& env) {
  env.set_font(ini.ReadString("Editor", "Font", "ＭＳ ゴシック"), ini.ReadString("Editor", "FontSize", "10"));
}

// One path key per list entry, named by the entry's text, read in list order.
std::vector<std::string> LoadPaths(const ProfileSource& ini, const char* section,
                                   std::initializer_list<const char*> kinds) {
  std::vector<std::string> paths;
  for (const char* kind : kinds) paths.push_back(ini.ReadString(section, kind, ""));
  return paths;
}

void LoadEngines(const ProfileSource& ini, TMainForm& main, TPagesDlg1& env) {
  env.SelectTeX(ini.ReadInt("TeX", "Use", 0));
  env.TeXPaths = LoadPaths(ini, "TeX", {kTeXKinds[0], kTeXKinds[1]});
  int viewer = ini.ReadInt("Dvi", "Use", 0);
  env.SelectDvi(viewer);
  env.DviPaths = LoadPaths(ini, "Dvi", {kDviKinds[0], kDviKinds[1], kDviKinds[2], kDviKinds[3], kDviKinds[4]});
  main.menu().Item(kDigitalItem).SetEnabled(viewer < 3);
}

void LoadCommandPalette(const ProfileSource& ini, TMainForm& main, TInput& palette) {
  main.CommandInputVisible = ini.ReadBool("ComInput", "Visible", true);
  ScreenSize screen = Screen();
  int height = ini.ReadInt("ComInput", "height", kPaletteHeight);
  int width = ini.ReadInt("ComInput", "width", kPaletteWidth);
  Bounds stored{0, 0, width, height};
  Bounds sized = UsableBounds(stored, {0, 0, kPaletteWidth, kPaletteHeight}, screen, 40, 40);
  stored.width = sized.width;
  stored.height = sized.height;
  stored.y = ini.ReadInt("ComInput", "y", screen.height - stored.height - kPaletteBottomGap);
  stored.x = ini.ReadInt("ComInput", "x", screen.width - stored.width);
  Bounds fallback{screen.width - stored.width, screen.height - stored.height - kPaletteBottomGap, kPaletteWidth,
                  kPaletteHeight};
  Bounds b = UsableBounds(stored, fallback, screen, 40, 40);
  main.ListViewRatio = UsablePercent(ini.ReadInt("ComInput", "ListViewRatio", 75), 75);
  palette.list_ratio = main.ListViewRatio;
  SetWindowPos(palette.hwnd(), nullptr, b.x, b.y, b.width, b.height, SWP_NOZORDER | SWP_NOACTIVATE);
  palette.FormResize();
}

// The bounds the window has when it is neither maximized nor minimized.
RECT NormalBounds(HWND hwnd) {
  WINDOWPLACEMENT placement{};
  placement.length = sizeof(placement);
  GetWindowPlacement(hwnd, &placement);
  if (IsZoomed(hwnd) || IsIconic(hwnd)) return placement.rcNormalPosition;
  RECT r;
  GetWindowRect(hwnd, &r);
  return r;
}

}  // namespace

void LoadProgramSettings(Application& app) {
  ProfileReader ini(app.settings_file());
  TMainForm& main = app.MainForm();
  LoadPosition(ini, main);
  LoadGeneral(ini, app.PagesDlg1());
  // The interval is taken back from the box, so the box's limits apply to the timer too.
  main.SetAutoSaveInterval(static_cast<UINT>(app.PagesDlg1().auto_save_minutes()) * 60000);
  LoadEditor(ini, app.PagesDlg1());
  LoadEngines(ini, main, app.PagesDlg1());
  main.recent_files.Load({ini.ReadString("Files", "File1"), ini.ReadString("Files", "File2"),
                          ini.ReadString("Files", "File3"), ini.ReadString("Files", "File4")});
  LoadCommandPalette(ini, main, app.Input());
  main.RebuildRecentFileItems();
}

bool SaveShutdownSettings(Application& app) {
  TMainForm& main = app.MainForm();
  RECT r = NormalBounds(main.hwnd());
  RECT palette;
  GetWindowRect(app.Input().hwnd(), &palette);
  ProfileWriter w(app.settings_file());
  w.Int("Position", "x", r.left)
      .Int("Position", "y", r.top)
      .Int("Position", "width", r.right - r.left)
      .Int("Position", "height", r.bottom - r.top)
      .Bool("Position", "Maximized", IsZoomed(main.hwnd()) != FALSE)
      .Bool("Position", "StatusBar", main.menu().Item(kStatusBarItem).checked())
      .Bool("Position", "ToolBar", main.menu().Item(kToolBarItem).checked());
  w.Bool("ComInput", "Visible", main.CommandInputVisible)
      .Int("ComInput", "height", palette.bottom - palette.top)
      .Int("ComInput", "width", palette.right - palette.left)
      .Int("ComInput", "y", palette.top)
      .Int("ComInput", "x", palette.left)
      .Int("ComInput", "ListViewRatio", main.ListViewRatio);
  for (int n = 1; n <= RecentFiles::kShown; ++n) {
    w.String("Files", ("File" + std::to_string(n)).c_str(), main.recent_files.entry(n));
  }
  if (!w.ok()) app.messages().Error(main.hwnd(), app.settings_file().WriteErrorText());
  return w.ok();
}

}  // namespace quillet
