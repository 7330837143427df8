// Timings of the two settings dialogs in the whole program under Wine: from the menu
// command to the dialog shown and painted, the first time (the frame and the page on show
// are made) and the later times (filled again from memory), and a click on the tab of the
// font-mapping page to that page painted (made with its 2,000 TFM files and the screen
// fonts the first time), on TeX directories of 2,000 TFM, 300 style, 200 TeX and 40
// format files. The environment dialog is timed the same way, its editor page (with the
// screen's Japanese fonts) standing for the tab click.
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <fstream>

#include "bench/program_bench_support.h"
#include "prefs/env_dialog_win.h"
#include "tex/tex_config_win.h"
#include "tex/tex_settings_dialog_win.h"

namespace quillet::bench {
namespace {

// When the last message of a showing was taken from the queue: a hook sees every message
// the modal loop takes, and a timer comes only when the queue is empty, so the message
// before the timer's is the showing's last (its last paint).
struct Watch {
  PageControl* tabs = nullptr;
  HWND* cancel = nullptr;  // made with the dialog's controls at its first showing
  int page = -1;  // a page to show after the dialog, -1 none
  double last = 0, start = 0, shown = 0, page_shown = 0;
};
Watch g_watch;

LRESULT CALLBACK SeeMessage(int code, WPARAM wp, LPARAM lp) {
  const MSG* msg = reinterpret_cast<const MSG*>(lp);
  if (code == HC_ACTION && wp == PM_REMOVE && msg->message != WM_TIMER) g_watch.last = Now();
  return CallNextHookEx(nullptr, code, wp, lp);
}

void CALLBACK Shown(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  Watch& w = g_watch;
  HWND tabs = w.tabs->hwnd();
  if (!w.shown) {
    w.shown = w.last - w.start;
    if (w.page >= 0) {
      w.start = w.last = Now();
      SendMessageA(tabs, TCM_SETCURFOCUS, static_cast<WPARAM>(w.page), 0);  // a click on its tab
      SetTimer(nullptr, 0, 10, Shown);
      return;
    }
  } else {
    w.page_shown = w.last - w.start;
    SendMessageA(tabs, TCM_SETCURFOCUS, 0, 0);
  }
  SendMessageA(*w.cancel, BM_CLICK, 0, 0);
}

// Milliseconds from the menu command to the dialog shown with every control painted, and
// then from a click on the tab of page to that page painted.
// The TeX settings dialog, or with env the environment dialog.
Watch OpenOnce(ProgramInProcess& program, int page = -1, bool env = false) {
  TPagesDlg& tex = program.app->PagesDlg();
  TPagesDlg1& environment = program.app->PagesDlg1();
  g_watch = {env ? &environment.PageCtl : &tex.PageCtl, env ? &environment.CancelBtn : &tex.CancelBtn, page};
  Pump();
  HHOOK hook = SetWindowsHookExA(WH_GETMESSAGE, SeeMessage, nullptr, GetCurrentThreadId());
  g_watch.start = g_watch.last = Now();
  SetTimer(nullptr, 0, 10, Shown);
  if (env) {
    program.main().EnvItemClick();
  } else {
    program.main().SetItemClick();
  }
  UnhookWindowsHookEx(hook);
  return g_watch;
}

void MakeTeXTree(const std::string& dir) {
  struct Kind { const char* folder; const char* ext; int count; } kinds[] = {
      {"fonts", ".tfm", 2000}, {"inputs", ".sty", 300}, {"inputs", ".tex", 200}, {"fmt", ".fmt", 40}};
  for (const auto& kind : kinds) {
    std::string folder = dir + kind.folder + "\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    for (int i = 0; i < kind.count; ++i) std::ofstream(folder + "f" + std::to_string(i) + kind.ext) << "x";
  }
  std::ofstream ini(dir + "wintex.ini", std::ios::binary);
  ini << "[Environ]\r\nTEXINPUTS=" << dir << "inputs\r\nTEXFONTS=" << dir << "fonts\r\nTEXFORMATS=" << dir
      << "fmt\r\nTEXPOOL=" << dir << "\r\n[TeXMode]\r\n";
  for (int i = 0; i < 10; ++i) ini << "形式" << i << "=f" << i << "\r\n";
  ini << "[Style]\r\nStyle=";
  for (int i = 0; i < 20; ++i) ini << (i ? "," : "") << "s" << i;
  ini << "\r\n";
  for (int i = 0; i < 20; ++i) ini << "[s" << i << "]\r\nsizeoption=10pt,11pt\r\nptsizeoption=a4j\r\nstyleoption=\r\n";
}

void Dialog() {
  std::string dir = BenchDirectory("quillet-settings-bench");
  MakeTeXTree(dir);
  std::vector<double> first, later, fonts, fonts_later;
  for (int run = 0; run < 5; ++run) {
    ProgramInProcess program(dir);
    Watch w = OpenOnce(program, 3);
    first.push_back(w.shown);
    fonts.push_back(w.page_shown);
    for (int i = 0; i < 4; ++i) {
      w = OpenOnce(program, i == 0 ? 3 : -1);
      later.push_back(w.shown);
      if (i == 0) fonts_later.push_back(w.page_shown);
    }
  }
  std::printf("TeX settings dialog, command to shown and painted: first %.1f ms, later %.1f ms (goal < 100 ms)\n",
              Median(first), Median(later));
  std::printf("its font-mapping page with 2,000 TFM files, tab click to painted: first %.1f ms, later %.1f ms\n",
              Median(fonts), Median(fonts_later));
}

void EnvironmentDialog() {
  std::string dir = BenchDirectory("quillet-env-bench");
  std::vector<double> first, later, page, page_later;
  for (int run = 0; run < 5; ++run) {
    ProgramInProcess program(dir);
    Watch w = OpenOnce(program, 1, true);
    first.push_back(w.shown);
    page.push_back(w.page_shown);
    for (int i = 0; i < 4; ++i) {
      w = OpenOnce(program, i == 0 ? 1 : -1, true);
      later.push_back(w.shown);
      if (i == 0) page_later.push_back(w.page_shown);
    }
  }
  std::printf("Environment dialog, command to shown and painted: first %.1f ms, later %.1f ms (goal < 100 ms)\n",
              Median(first), Median(later));
  std::printf("its editor page, tab click to painted: first %.1f ms, later %.1f ms\n", Median(page),
              Median(page_later));
}

// A wintex.ini of 10 MB in 5,000 sections another program keeps there: reading the TeX
// configuration from it as start-up does, and the writers of the dialog's pages (each
// rewrites the whole file once).
void LargeConfigurationFile() {
  std::string dir = BenchDirectory("quillet-wintex-bench"), path = dir + "wintex.ini";
  {
    std::ofstream ini(path, std::ios::binary);
    ini << "[Environ]\r\nTEXINPUTS=c:\\in\r\n[TeXMode]\r\nLaTeX=lplain\r\n[Style]\r\nStyle=s0\r\n";
    for (int i = 0; i < 5000; ++i) {
      ini << "[other" << i << "]\r\n";
      for (int k = 0; k < 20; ++k) ini << "key" << k << "=" << std::string(90, 'v') << "\r\n";
    }
  }
  WinProfileStore store(path);
  std::vector<double> loads, styles, menus;
  std::vector<std::string> names, options;
  for (int i = 0; i < 50; ++i) {
    names.push_back("style" + std::to_string(i));
    options.push_back("10pt");
  }
  for (int run = 0; run < 3; ++run) {
    double start = Now();
    TeXConfiguration config;
    {
      WinProfileStore::Pass pass(store);
      config = LoadTeXConfiguration(store, WinDirectoryLister());
    }
    loads.push_back(Now() - start);
    start = Now();
    WriteStyles(store, config, names, options, options, options);
    styles.push_back(Now() - start);
    start = Now();
    WriteTeXMenu(store, config, {"LaTeX", "pLaTeX", "upLaTeX"}, {"lplain", "platex", "uplatex"});
    menus.push_back(Now() - start);
  }
  std::printf("wintex.ini of 10 MB in 5,000 sections: read as at start-up %.1f ms; 50 basic styles written %.1f ms; "
              "the TeX menu written %.1f ms\n",
              Median(loads), Median(styles), Median(menus));
  DeleteFileA(path.c_str());
}

}  // namespace
}  // namespace quillet::bench

int main() {
  quillet::bench::Dialog();
  quillet::bench::EnvironmentDialog();
  quillet::bench::LargeConfigurationFile();
  return 0;
}
