// Inverse search: a viewer starts "Quillet.exe -line N FILE"; the program already running
// shows the line and the new start ends, or the new start shows it itself.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>

#include "bridges/outside_run_win.h"
#include "editor/editor_win.h"
#include "win/code_page_win.h"
#include "tests/win/support/app_harness.h"
#include "tests/win/support/standins.h"

namespace quillet::test {
namespace {

constexpr const char* kName = "和文 報告.tex";
constexpr int kLines = 20;

// Lines that all differ, Shift-JIS with CR LF.
std::string Document() {
  std::string text;
  char line[64];
  for (int n = 1; n <= kLines; ++n) text.append(line, static_cast<std::size_t>(std::snprintf(line, sizeof line, "第%d行の本文です。\r\n", n)));
  return text;
}

// Where line n (from 1) of Document() lies, without its line break.
Range LineRange(int n) {
  std::string text = Document();
  std::size_t start = 0;
  for (int i = 1; i < n; ++i) start = text.find("\r\n", start) + 2;
  return {static_cast<long>(start), static_cast<long>(text.find("\r\n", start))};
}

// A file's Unix name in the program's code page, as a viewer outside Wine passes it.
std::string UnixNameOf(const std::string& file) {
  std::wstring wide = WideFromUtf8(UnixFileName(file));
  std::string name(wide.size() * 2, '\0');
  name.resize(static_cast<std::size_t>(WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), name.data(),
                                                           static_cast<int>(name.size()), nullptr, nullptr)));
  return name;
}

PROCESS_INFORMATION StartLineRequest(int line, const std::string& file) {
  char exe[MAX_PATH];
  std::string path(exe, GetModuleFileNameA(nullptr, exe, MAX_PATH));
  std::string command = std::string("\"").append(path.substr(0, path.rfind('\\') + 1)).append("Quillet.exe\" -line ");
  command.append(std::to_string(line)).append(" \"").append(file).append("\"");
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) info = {};
  return info;
}

// What a main window shows of its active document: the caption and the selection.
struct Shown {
  std::string caption;
  Range selection{-1, -1};
};
Shown ActiveDocument(HWND main) {
  HWND client = FindWindowExA(main, nullptr, "MDIClient", nullptr);
  HWND child = client ? reinterpret_cast<HWND>(SendMessageA(client, WM_MDIGETACTIVE, 0, 0)) : nullptr;
  HWND editor = child ? FindWindowExA(child, nullptr, kEditorClassName, nullptr) : nullptr;
  DWORD_PTR selection = 0;
  if (!editor || !SendMessageTimeoutA(editor, EM_GETSEL, 0, 0, SMTO_ABORTIFHUNG, 1000, &selection)) return {};
  return {WindowText(child), {LOWORD(selection), HIWORD(selection)}};
}

HWND MainWindowOf(DWORD process) {
  struct Search {
    DWORD process;
    HWND found = nullptr;
  } search{process};
  EnumWindows([](HWND w, LPARAM lp) -> BOOL {
    auto* s = reinterpret_cast<Search*>(lp);
    DWORD owner = 0;
    GetWindowThreadProcessId(w, &owner);
    char name[32] = "";
    GetClassNameA(w, name, sizeof name);
    if (owner == s->process && std::string(name) == "TMainForm") s->found = w;
    return !s->found;
  }, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

TEST(SecondStartTest, RunningProgramShowsTheLineAndTheNewStartEnds) {
  AppHarness app;
  app.Start();
  std::string file = app.MakeFile(kName, Document());
  std::string missing = app.dir() / "ない.tex";
  struct Row {
    int line;
    std::string name;
    Range selection;
    std::string messages;
  } rows[] = {
      {12, file, LineRange(12), ""},
      {3, UnixNameOf(file), LineRange(3), ""},  // from a viewer outside Wine
      {kLines + 5, file, LineRange(3), ""},       // beyond the end: the selection stays
      {5, missing, LineRange(3), missing + " は存在しません。\n"},
  };
  for (const Row& r : rows) {
    app.messages.shown.clear();
    PROCESS_INFORMATION second = StartLineRequest(r.line, r.name);
    bool ended = PumpUntil([&] { return WaitForSingleObject(second.hProcess, 0) == WAIT_OBJECT_0; }, 10000);
    DWORD code = 1;
    GetExitCodeProcess(second.hProcess, &code);
    KillProcess(second);
    PumpMessages(50);
    EXPECT_TRUE(ended && code == 0) << r.name;
    Shown shown = ActiveDocument(app.main().hwnd());
    EXPECT_EQ(shown.caption, file) << r.name;
    EXPECT_EQ(shown.selection.start, r.selection.start) << r.name;
    EXPECT_EQ(shown.selection.end, r.selection.end) << r.name;
    EXPECT_EQ(app.messages.Texts(), r.messages) << r.name;
    EXPECT_EQ(app.main().Children().size(), 1u) << r.name;
  }
  app.Close();
}

TEST(SecondStartTest, FirstStartShowsTheLine) {
  TempDir dir;
  std::string file = dir / kName;
  WriteFileBytes(file, Document());
  PROCESS_INFORMATION first = StartLineRequest(12, file);
  HWND main = nullptr;
  Shown shown;
  PumpUntil([&] {
    main = MainWindowOf(first.dwProcessId);
    shown = main ? ActiveDocument(main) : Shown{};
    return shown.selection.start == LineRange(12).start;
  }, 20000);
  EXPECT_EQ(shown.caption, file);
  EXPECT_EQ(shown.selection.start, LineRange(12).start);
  EXPECT_EQ(shown.selection.end, LineRange(12).end);
  if (main) PostMessageA(main, WM_CLOSE, 0, 0);
  WaitForSingleObject(first.hProcess, 10000);
  KillProcess(first);
}

}  // namespace
}  // namespace quillet::test
