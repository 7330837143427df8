#pragma once
// Timing helpers of the benchmarks that run under Wine.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

namespace quillet::bench {

// Milliseconds from an arbitrary start, with the performance counter's resolution.
inline double Now() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

inline double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0.0 : v[v.size() / 2];
}

// A Shift-JIS TeX source of about the given size: Japanese and ASCII lines, CR LF breaks.
inline std::string MakeTeXText(std::size_t bytes) {
  std::string s;
  s.reserve(bytes + 100);
  for (int i = 0; s.size() < bytes; ++i) {
    s += i % 2 ? "\\section{日本語の見出し}本文の行です。表ソポ" : "Plain ASCII text of a TeX source, line ";
    s += std::to_string(i) + "\r\n";
  }
  return s;
}

// A directory of the benchmark's own in the temporary directory (made when missing),
// ending in "\".
inline std::string BenchDirectory(const std::string& name) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  std::string dir = std::string(temp) + name + "\\";
  CreateDirectoryA(dir.c_str(), nullptr);
  return dir;
}

// Milliseconds from process creation until its message loop waits for input.
inline double StartToIdle(const std::string& exe, const std::string& args = "") {
  STARTUPINFOA si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  std::string command = "\"" + exe + "\"" + (args.empty() ? "" : " " + args);
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

inline void Pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

}  // namespace quillet::bench
