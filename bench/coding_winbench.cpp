// Documents of 10 MB in UTF-8 beside the same text in Shift-JIS, through the whole
// program under Wine: opening to the first paint, saving, a typed character; and what
// finding the coding costs a Shift-JIS open.
#include <windows.h>

#include <cstdio>

#include "app/main_form_win.h"
#include "bench/program_bench_support.h"
#include "core/text_encoding.h"
#include "document/mdi_child_win.h"
#include "win/handles_win.h"

namespace quillet::bench {
namespace {

// Mostly Japanese prose with LaTeX commands; every tenth line holds a WAVE DASH, which a
// UTF-8 file from Linux or a Mac writes as U+301C (a character of the document's own in
// the editor) and a Shift-JIS file as its 0x8160.
std::string MakeJapaneseText(std::size_t bytes) {
  std::string s;
  s.reserve(bytes + 200);
  for (int i = 0; s.size() < bytes; ++i) {
    s += i % 5 ? "日本語の本文です。吉野家で牛丼を食べた後、表示とソースの文字を確かめる。" : "\\section{見出し";
    s += std::to_string(i);
    s += i % 5 ? "" : "}";
    if (i % 10 == 3) s += "〜";
    s += "\r\n";
  }
  return s;
}

std::string ToUtf8(const std::string& sjis) {
  int n = MultiByteToWideChar(932, 0, sjis.data(), static_cast<int>(sjis.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(932, 0, sjis.data(), static_cast<int>(sjis.size()), wide.data(), n);
  for (wchar_t& c : wide) {
    if (c == 0xFF5E) c = 0x301C;  // the WAVE DASH as Linux and Mac files have it
  }
  int m = WideCharToMultiByte(CP_UTF8, 0, wide.data(), n, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(m), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), n, utf8.data(), m, nullptr, nullptr);
  return utf8;
}

void WriteBytes(const std::string& path, const std::string& bytes, bool flush = false) {
  FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  DWORD written = 0;
  WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  if (flush) FlushFileBuffers(file.get());
}

struct Timings {
  std::vector<double> opens, saves, typed;
  double open() const { return Median(opens); }
  double save() const { return Median(saves); }
  double type() const { return Median(typed); }
};

// One open, 50 typed characters and one save, added to the timings.
void Measure(const std::string& dir, const std::string& path, Timings& t) {
  std::vector<double>& opens = t.opens;
  std::vector<double>& saves = t.saves;
  std::vector<double>& typed = t.typed;
  {
    ProgramInProcess program(dir);
    double start = Now();
    program.main().OpenDocument(path);
    TMDIChild* doc = program.main().ActiveChild();
    RedrawWindow(doc->hwnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    opens.push_back(Now() - start);
    LRESULT middle = SendMessageA(doc->Memo, WM_GETTEXTLENGTH, 0, 0) / 2;
    for (int k = 0; k < 50; ++k) {
      SendMessageA(doc->Memo, EM_SETSEL, static_cast<WPARAM>(middle), middle);
      Pump();
      start = Now();
      SendMessageA(doc->Memo, WM_CHAR, 'a', 1);
      UpdateWindow(doc->Memo);
      Pump();
      typed.push_back(Now() - start);
    }
    start = Now();
    program.main().FileSaveItemClick(*doc);
    saves.push_back(Now() - start);
  }
}

void Codings() {
  std::string dir = BenchDirectory("quillet-coding-bench");
  std::string sjis = MakeJapaneseText(10u << 20), utf8 = ToUtf8(sjis);
  std::string sjis_path = dir + "sjis.tex", utf8_path = dir + "utf8.tex";
  WriteBytes(sjis_path, sjis);
  WriteBytes(utf8_path, utf8);
  // Turn about, so that the machine's changing load falls on both alike.
  Timings s, u;
  for (int i = 0; i < 9; ++i) {
    Measure(dir, sjis_path, s);
    Measure(dir, utf8_path, u);
  }
  // What writing the bytes alone costs, flushed as a save flushes them.
  std::vector<double> sjis_writes, utf8_writes;
  for (int i = 0; i < 9; ++i) {
    double start = Now();
    WriteBytes(dir + "plain.tex", sjis, true);
    sjis_writes.push_back(Now() - start);
    start = Now();
    WriteBytes(dir + "plain.tex", utf8, true);
    utf8_writes.push_back(Now() - start);
  }
  std::vector<double> detections;
  for (int i = 0; i < 9; ++i) {
    double start = Now();
    DetectCoding(sjis, LineEnd::kCrLf);
    detections.push_back(Now() - start);
  }
  std::printf("open 10 MB to first paint: UTF-8 (%.1f MB) %.0f ms, Shift-JIS %.0f ms: %.2fx (goal <= 1.5x)\n",
              utf8.size() / 1048576.0, u.open(), s.open(), u.open() / s.open());
  std::printf("save 10 MB with backup: UTF-8 %.0f ms, Shift-JIS %.0f ms: %.2fx (goal <= 1.5x); their bytes alone "
              "written and flushed with one call: %.0f ms and %.0f ms (%.2fx)\n",
              u.save(), s.save(), u.save() / s.save(), Median(utf8_writes), Median(sjis_writes),
              Median(utf8_writes) / Median(sjis_writes));
  std::printf("finding the coding of 10 MB of Shift-JIS: %.1f ms, %.1f%% of its open (goal < 5%%)\n",
              Median(detections), Median(detections) / s.open() * 100);
  std::printf("typed character in the middle of 10 MB: UTF-8 %.3f ms, Shift-JIS %.3f ms\n", u.type(), s.type());
  for (const char* name : {"sjis.tex", "sjis.bak", "utf8.tex", "utf8.bak", "plain.tex", "quillet.ini", "wintex.ini"}) {
    DeleteFileA((dir + name).c_str());
  }
  RemoveDirectoryA(dir.c_str());
}

}  // namespace
}  // namespace quillet::bench

int main() {
  quillet::bench::Codings();
  return 0;
}
