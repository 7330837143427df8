// Timings of finding, replacing and undo-all in the whole program under Wine: Replace All
// of 10,000 occurrences over 10 MB through the Replace dialog, Find Next to the only match
// at the end of 10 MB, and undo-all of a modified 10 MB document beside opening it.
#include <windows.h>

#include <commdlg.h>
#include <dlgs.h>

#include <cstdio>

#include "bench/program_bench_support.h"

namespace quillet::bench {
namespace {

void WriteBytes(const std::string& path, const std::string& bytes) {
  FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  DWORD written = 0;
  WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

// Fills a dialog and presses one of its buttons; milliseconds until everything it set
// off is done and painted.
double Press(HWND dialog, int button, const char* what, const char* with, bool match_case, HWND editor) {
  SetDlgItemTextA(dialog, edt1, what);
  if (with) SetDlgItemTextA(dialog, edt2, with);
  CheckDlgButton(dialog, chx2, match_case ? BST_CHECKED : BST_UNCHECKED);
  double start = Now();
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, button)));
  UpdateWindow(editor);
  Pump();
  return Now() - start;
}

void ReplaceAll(const std::string& dir) {
  // 10,000 occurrences of the word, one every kilobyte.
  std::string text;
  std::string line = MakeTeXText(1000);
  for (int i = 0; i < 10000; ++i) text += "\\Quillet{}" + line;
  std::string path = dir + "replace.tex";
  WriteBytes(path, text);
  std::vector<double> times;
  for (int i = 0; i < 3; ++i) {
    ProgramInProcess program(dir, {path});
    HWND editor = program.main().ActiveChild()->Memo;
    program.main().finder().ShowReplace();
    times.push_back(Press(program.main().finder().replace_dialog(), psh2, "\\Quillet{}", "\\TeXQuillet{}", true, editor));
  }
  std::printf("Replace All of 10,000 occurrences in %.1f MB, whole program: %.0f ms (goal < 300 ms)\n",
              static_cast<double>(text.size()) / (1 << 20), Median(times));
  DeleteFileA(path.c_str());
}

void FindAtTheEnd(const std::string& dir) {
  std::string path = dir + "find.tex";
  WriteBytes(path, MakeTeXText(10u << 20) + "\\Unique\r\n");
  ProgramInProcess program(dir, {path});
  HWND editor = program.main().ActiveChild()->Memo;
  program.main().finder().ShowFind();
  HWND dialog = program.main().finder().find_dialog();
  for (bool match_case : {true, false}) {
    std::vector<double> times;
    for (int i = 0; i < 9; ++i) {
      SendMessageA(editor, EM_SETSEL, 0, 0);
      Pump();
      times.push_back(Press(dialog, IDOK, match_case ? "\\Unique" : "\\unique", nullptr, match_case, editor));
    }
    std::printf("Find Next to the only match at the end of 10 MB, %s: %.1f ms (goal < 20 ms)\n",
                match_case ? "matching case" : "ignoring case", Median(times));
  }
  DeleteFileA(path.c_str());
}

void UndoAll(const std::string& dir) {
  std::string path = dir + "undo.tex";
  WriteBytes(path, MakeTeXText(10u << 20));
  std::vector<double> opens, undos;
  for (int i = 0; i < 5; ++i) {
    ProgramInProcess program(dir);
    program.messages.say_yes = true;
    double start = Now();
    program.main().OpenDocument(path);
    HWND editor = program.main().ActiveChild()->Memo;
    UpdateWindow(editor);
    Pump();
    opens.push_back(Now() - start);
    SendMessageA(editor, WM_CHAR, 'x', 1);
    Pump();
    start = Now();
    program.main().UndoAllItemClick();
    UpdateWindow(editor);
    Pump();
    undos.push_back(Now() - start);
  }
  std::printf("undo-all of a modified 10 MB document: %.0f ms; opening it %.0f ms; ratio %.2f (goal <= 2x)\n",
              Median(undos), Median(opens), Median(undos) / Median(opens));
  DeleteFileA(path.c_str());
}

}  // namespace
}  // namespace quillet::bench

int main() {
  std::string dir = quillet::bench::BenchDirectory("quillet-find-bench");
  quillet::bench::ReplaceAll(dir);
  quillet::bench::FindAtTheEnd(dir);
  quillet::bench::UndoAll(dir);
  for (const char* name : {"quillet.ini", "wintex.ini"}) DeleteFileA((dir + name).c_str());
  RemoveDirectoryA(dir.c_str());
  return 0;
}
