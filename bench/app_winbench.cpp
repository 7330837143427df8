// Timings of the whole program under Wine: start-up to an idle main window beside a
// minimal window program, and one typed character in a 10 MB document with everything
// it sets off (the edit, the change and selection handlers, the status bar, the repaint)
// beside the same in a 1 KB document.
#include <windows.h>

#include <cstdio>
#include <fstream>

#include "app/application_win.h"
#include "app/main_form_win.h"
#include "bench/winbench_support.h"
#include "document/mdi_child_win.h"

namespace quillet::bench {
namespace {

// Milliseconds from process creation until its message loop waits for input.
double StartToIdle(const std::string& exe) {
  STARTUPINFOA si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  std::string command = "\"" + exe + "\"";
  double start = Now();
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return -1;
  WaitForInputIdle(pi.hProcess, 30000);
  double elapsed = Now() - start;
  TerminateProcess(pi.hProcess, 0);
  WaitForSingleObject(pi.hProcess, 5000);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return elapsed;
}

void StartUp() {
  std::vector<double> minimal, quillet;
  StartToIdle("Quillet.exe");  // warm both up once
  StartToIdle("minimal_window.exe");
  for (int i = 0; i < 7; ++i) {
    minimal.push_back(StartToIdle("minimal_window.exe"));
    quillet.push_back(StartToIdle("Quillet.exe"));
  }
  double m = Median(minimal), q = Median(quillet);
  std::printf("start-up to idle: Quillet %.0f ms, minimal window program %.0f ms, ratio %.2f (goal <= 1.5)\n", q, m,
              q / m);
}

class SilentMessages : public Messages {
 public:
  MsgResult Show(HWND, MsgKind, const std::string&, unsigned buttons) override { return EscapeResult(buttons); }
};

// Median milliseconds of one typed character at the given place, all of its effects done.
double TypingTime(TMDIChild& doc, bool at_end) {
  std::vector<double> times;
  for (int i = 0; i < 200; ++i) {
    LRESULT length = SendMessageA(doc.Memo, WM_GETTEXTLENGTH, 0, 0);
    LRESULT place = at_end ? length : length / 2;
    SendMessageA(doc.Memo, EM_SETSEL, static_cast<WPARAM>(place), place);
    Pump();
    double start = Now();
    SendMessageA(doc.Memo, WM_CHAR, 'a', 1);
    UpdateWindow(doc.Memo);
    Pump();
    times.push_back(Now() - start);
  }
  return Median(times);
}

void Typing() {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  std::string dir = std::string(temp) + "quillet-bench\\";
  CreateDirectoryA(dir.c_str(), nullptr);
  struct Case { const char* name; std::size_t size; double end = 0, middle = 0; } cases[] = {
      {"1 KB", 1024}, {"10 MB", 10u << 20}};
  for (auto& c : cases) {
    std::string path = dir + "typing.tex";
    std::ofstream(path, std::ios::binary) << MakeTeXText(c.size);
    SilentMessages messages;
    AppOptions options;
    options.ini_path = dir + "quillet.ini";
    options.wintex_path = dir + "wintex.ini";
    options.messages = &messages;
    options.args = {path};
    Application app(std::move(options));
    app.Start();
    Pump();
    TMDIChild* doc = app.MainForm().ActiveChild();
    c.end = TypingTime(*doc, true);
    c.middle = TypingTime(*doc, false);
    doc->SetModified(false);
    DestroyWindow(app.MainForm().hwnd());
    Pump();
    DeleteFileA(path.c_str());
  }
  for (const auto& c : cases) {
    std::printf("typed character, whole program, %s: at the end %.3f ms, in the middle %.3f ms\n", c.name, c.end,
                c.middle);
  }
  std::printf("10 MB / 1 KB: end %.2fx, middle %.2fx (goals: under 2 ms, within 2x)\n", cases[1].end / cases[0].end,
              cases[1].middle / cases[0].middle);
  DeleteFileA((dir + "quillet.ini").c_str());
  DeleteFileA((dir + "wintex.ini").c_str());
  RemoveDirectoryA(dir.c_str());
}

}  // namespace
}  // namespace quillet::bench

int main() {
  quillet::bench::StartUp();
  quillet::bench::Typing();
  return 0;
}
