// Timings of the editor window under Wine: loading 10 MB beside reading the same file,
// the first paint after it, one typed character with its repaint in big and small texts
// and with the marks on and off, a repaint with and without a document's own
// characters, and an input method's reconversion request in the 10 MB text. Prints its
// figures.
#include <windows.h>
#include <commdlg.h>
#include <imm.h>
#include <richedit.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "bench/winbench_support.h"
#include "core/foreign_chars.h"
#include "editor/editor_win.h"
#include "win/handles_win.h"

namespace {

using quillet::bench::Median;
using quillet::bench::Now;
using quillet::bench::Pump;

// Milliseconds to read the whole file with one ReadFile: into a buffer allocated for it
// (what loading a document costs) or into one already in use.
double ReadFileTime(const std::string& path, std::size_t size, char* reused) {
  double start = Now();
  std::unique_ptr<char[]> fresh;
  char* buffer = reused ? reused : (fresh = std::make_unique_for_overwrite<char[]>(size)).get();
  quillet::FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  DWORD got = 0;
  ReadFile(file.get(), buffer, static_cast<DWORD>(size), &got, nullptr);
  return Now() - start;
}

// Milliseconds per typed character (WM_CHAR and the repaint it causes) at pos.
std::vector<double> TypingTimes(HWND editor, long pos, int count) {
  SendMessageA(editor, EM_SETSEL, static_cast<WPARAM>(pos), pos);
  UpdateWindow(editor);
  std::vector<double> times;
  for (int i = 0; i < count; ++i) {
    double start = Now();
    SendMessageA(editor, WM_CHAR, 'x', 1);
    UpdateWindow(editor);
    times.push_back(Now() - start);
  }
  return times;
}

// Milliseconds to repaint the whole editor, with a table of a document's own characters
// (𠮷 0xF040, 😀 0xF041) when own is set.
std::vector<double> RepaintTimes(HWND editor, const std::string& text, bool own) {
  quillet::ForeignChars chars;
  if (own) {
    chars.CodeFor(0x20BB7);
    chars.CodeFor(0x1F600);
  }
  SendMessageA(editor, quillet::EM_SETFOREIGNCHARS, FALSE, reinterpret_cast<LPARAM>(&chars));
  SendMessageA(editor, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  UpdateWindow(editor);
  std::vector<double> times;
  for (int i = 0; i < 100; ++i) {
    InvalidateRect(editor, nullptr, FALSE);
    double start = Now();
    UpdateWindow(editor);
    times.push_back(Now() - start);
  }
  return times;
}

// Milliseconds for an input method's reconversion request inside the first "見出し"
// after from: the size, then the filled text (which selects the word to convert).
std::vector<double> ReconversionTimes(HWND editor, long from) {
  FINDTEXTEXA find{{from, -1}, "見出し", {}};
  long pos = static_cast<long>(SendMessageA(editor, EM_FINDTEXTEX, FR_DOWN, reinterpret_cast<LPARAM>(&find))) + 2;
  std::vector<double> times;
  std::vector<char> buffer;
  for (int i = 0; i < 200; ++i) {
    SendMessageA(editor, EM_SETSEL, static_cast<WPARAM>(pos), pos);
    double start = Now();
    LRESULT size = SendMessageA(editor, WM_IME_REQUEST, IMR_RECONVERTSTRING, 0);
    buffer.assign(static_cast<std::size_t>(size), 0);
    auto* rs = reinterpret_cast<RECONVERTSTRING*>(buffer.data());
    rs->dwSize = static_cast<DWORD>(size);
    SendMessageA(editor, WM_IME_REQUEST, IMR_RECONVERTSTRING, reinterpret_cast<LPARAM>(rs));
    times.push_back(Now() - start);
  }
  return times;
}

void ReportTyping(const char* what, const std::vector<double>& times) {
  std::printf("%-34s median %.3f ms  max %.3f ms\n", what, Median(times), *std::max_element(times.begin(), times.end()));
}

}  // namespace

int main() {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  quillet::RegisterEditorClass(instance);
  HWND frame = CreateWindowExA(0, "STATIC", "bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 820, 640, nullptr, nullptr,
                               instance, nullptr);
  HWND editor = quillet::CreateEditor(frame, 1);
  MoveWindow(editor, 0, 0, 800, 600, TRUE);
  SendMessageA(editor, EM_EXLIMITTEXT, 0, 214748364);
  Pump();

  std::string big = quillet::bench::MakeTeXText(10u << 20);
  char dir[MAX_PATH];
  GetTempPathA(MAX_PATH, dir);
  std::string path = std::string(dir) + "quillet-editor-bench.tex";
  {
    quillet::FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    WriteFile(file.get(), big.data(), static_cast<DWORD>(big.size()), &written, nullptr);
  }
  std::vector<double> reads, warm_reads, loads, paints;
  std::vector<char> warm(big.size());
  for (int i = 0; i < 7; ++i) {
    reads.push_back(ReadFileTime(path, big.size(), nullptr));
    warm_reads.push_back(ReadFileTime(path, big.size(), warm.data()));
    double start = Now();
    SendMessageA(editor, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(big.c_str()));
    loads.push_back(Now() - start);
    start = Now();
    UpdateWindow(editor);
    paints.push_back(Now() - start);
  }
  DeleteFileA(path.c_str());
  std::printf("text size                          %zu bytes, %ld lines\n", big.size(),
              static_cast<long>(SendMessageA(editor, EM_GETLINECOUNT, 0, 0)));
  std::printf("ReadFile of the 10 MB file         median %.2f ms (new buffer), %.2f ms (buffer in use)\n",
              Median(reads), Median(warm_reads));
  std::printf("WM_SETTEXT of the 10 MB text       median %.2f ms (%.1fx ReadFile new buffer, %.1fx in use)\n",
              Median(loads), Median(loads) / Median(reads), Median(loads) / Median(warm_reads));
  std::printf("first paint after WM_SETTEXT       median %.2f ms\n", Median(paints));

  long length = static_cast<long>(SendMessageA(editor, WM_GETTEXTLENGTH, 0, 0));
  std::vector<double> at_end = TypingTimes(editor, length, 200);
  std::vector<double> in_middle = TypingTimes(editor, length / 2, 200);
  std::vector<double> reconversion = ReconversionTimes(editor, length / 2);
  std::string small = quillet::bench::MakeTeXText(1024);
  SendMessageA(editor, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(small.c_str()));
  UpdateWindow(editor);
  std::vector<double> small_end = TypingTimes(editor, static_cast<long>(small.size()), 200);
  ReportTyping("typed char at the end of 10 MB", at_end);
  ReportTyping("typed char in the middle of 10 MB", in_middle);
  ReportTyping("typed char at the end of 1 KB", small_end);
  std::printf("10 MB end / 1 KB end               %.2fx\n", Median(at_end) / Median(small_end));
  std::printf("10 MB middle / 1 KB end            %.2fx\n", Median(in_middle) / Median(small_end));
  ReportTyping("reconversion request in 10 MB", reconversion);
  // Short lines, each with a full-width space and a tab: typed at a line's end, 80
  // characters leave all three marks in view.
  std::string blanks;
  blanks.reserve((10u << 20) + 100);
  while (blanks.size() < (10u << 20)) blanks += "　本文\tの行\r\n";
  SendMessageA(editor, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(blanks.c_str()));
  auto line_end = [editor](WPARAM line) {
    LRESULT start = SendMessageA(editor, EM_LINEINDEX, line, 0);
    return static_cast<long>(start + SendMessageA(editor, EM_LINELENGTH, static_cast<WPARAM>(start), 0));
  };
  WPARAM middle = static_cast<WPARAM>(SendMessageA(editor, EM_GETLINECOUNT, 0, 0) / 2);
  SendMessageA(editor, quillet::EM_SETMARKS, 0, 0);
  double marks_off = Median(TypingTimes(editor, line_end(middle), 80));
  SendMessageA(editor, quillet::EM_SETMARKS, quillet::kMarkFullWidthSpace | quillet::kMarkTab | quillet::kMarkLineEnd, 0);
  double marks_on = Median(TypingTimes(editor, line_end(middle + 1), 80));
  std::printf("typed char, 10 MB, marks off       median %.3f ms\n", marks_off);
  std::printf("typed char, 10 MB, all marks on    median %.3f ms (%.2fx)\n", marks_on, marks_on / marks_off);
  // A window of lines: Shift-JIS alone, with a table of own characters that none of the
  // lines holds, and with two of them on every line.
  std::string own_lines;
  for (char c : small) own_lines += c == '\n' ? std::string("\n\xF0\x40\xF0\x41 ") : std::string(1, c);
  double plain = Median(RepaintTimes(editor, small, false));
  double table = Median(RepaintTimes(editor, small, true));
  double own = Median(RepaintTimes(editor, own_lines, true));
  std::printf("repaint, Shift-JIS lines           median %.3f ms\n", plain);
  std::printf("repaint, table, none on the lines  median %.3f ms (%.2fx)\n", table, table / plain);
  std::printf("repaint, own characters every line median %.3f ms (%.2fx)\n", own, own / plain);
  DestroyWindow(frame);
  return 0;
}
