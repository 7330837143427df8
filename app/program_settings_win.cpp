#include "app/program_settings_win.h"

#include "aids/command_palette_win.h"
#include "app/application_win.h"
#include "app/main_form_win.h"
#include "app/window_bounds.h"
#include "core/command_ids.h"
#include "win/controls_win.h"
#include "win/failure_cause_win.h"

namespace quillet {

namespace {

ScreenSize Screen() { return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}; }

// The screen's bottom right corner that the taskbar leaves free.
POINT WorkAreaCorner() {
  RECT work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  return {work.right, work.bottom};
}

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

void LoadEnvironment(const ProfileSource& ini, Application& app) {
  EnvSettings& env = app.env_settings();
  env = ReadEnvSettings(ini);
  app.MainForm().SetAutoSaveInterval(static_cast<UINT>(env.general.auto_save_minutes) * 60000);
  app.MainForm().RefreshCommands();  // the manual comes with some viewers only
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
  // At first, whole in the corner the taskbar leaves free.
  POINT corner = WorkAreaCorner();
  stored.y = ini.ReadInt("ComInput", "y", corner.y - stored.height - kPaletteBottomGap);
  stored.x = ini.ReadInt("ComInput", "x", corner.x - stored.width);
  Bounds fallback{corner.x - stored.width, corner.y - stored.height - kPaletteBottomGap, kPaletteWidth, kPaletteHeight};
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
  LoadEnvironment(ini, app);
  main.recent_files.Load({ini.ReadString("Files", "File1"), ini.ReadString("Files", "File2"),
                          ini.ReadString("Files", "File3"), ini.ReadString("Files", "File4")});
  LoadCommandPalette(ini, main, app.Input());
  main.RebuildRecentFileItems();
}

bool SaveWizardRefusal(Application& app) {
  app.env_settings().general.use_doc_exp = false;
  ProfileWriter w(app.settings_file());
  w.Bool("General", "UseDocExp", false);
  if (w.Commit()) return true;
  app.messages().Error(app.MainForm().hwnd(), WithWriteCause(app.settings_file().WriteErrorText()));
  return false;
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
  if (w.Commit()) return true;
  app.messages().Error(main.hwnd(), WithWriteCause(app.settings_file().WriteErrorText()));
  return false;
}

}  // namespace quillet
