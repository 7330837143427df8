// Starts a program, waits for its main window (class TMainForm) to be shown, reports
// what an onlooker sees of it, may move it, then closes it as the user would and waits
// for the program to end. Used by the release check and for start-up timings.
// Usage: window_probe [--timeout SECONDS] [--move X Y WIDTH HEIGHT] PROGRAM [ARGS...]
// Prints key=value lines (times in ms from the program's start, texts in UTF-8).
// Exit: 0 done, 1 usage, 2 cannot start, 3 no main window in time (or a message box in its
// way), 4 did not end in time.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr const char* kMainClass = "TMainForm";
constexpr const char* kSplashClass = "TTitleForm";  // shown while the program starts
constexpr long long kBlockedMs = 5000;

std::string Utf8(const std::string& ansi) {
  if (ansi.empty()) return {};
  int n = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
  std::wstring wide(n, L'\0');
  MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), wide.data(), n);
  int m = WideCharToMultiByte(CP_UTF8, 0, wide.data(), n, nullptr, 0, nullptr, nullptr);
  std::string out(m, '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), n, out.data(), m, nullptr, nullptr);
  return out;
}

std::string ClassOf(HWND w) {
  char name[256] = "";
  GetClassNameA(w, name, sizeof name);
  return name;
}

std::string TextOf(HWND w) {
  char text[512] = "";
  GetWindowTextA(w, text, sizeof text);
  return text;
}

struct Search {
  DWORD pid = 0;
  HWND found = nullptr;
  std::vector<HWND> visible;
};

BOOL CALLBACK Visit(HWND w, LPARAM data) {
  auto* s = reinterpret_cast<Search*>(data);
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  if (pid != s->pid || !IsWindowVisible(w)) return TRUE;
  s->visible.push_back(w);
  if (!s->found && ClassOf(w) == kMainClass) s->found = w;
  return TRUE;
}

Search Find(DWORD pid) {
  Search s;
  s.pid = pid;
  EnumWindows(Visit, reinterpret_cast<LPARAM>(&s));
  return s;
}

// What the program shows instead, so a failure says which message box stands in the way.
void ReportWindows(DWORD pid) {
  for (HWND w : Find(pid).visible) {
    std::string line = ClassOf(w) + " \"" + TextOf(w) + "\"";
    for (HWND c = GetWindow(w, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
      std::string t = TextOf(c);
      if (!t.empty()) line += " [" + t + "]";
    }
    std::printf("window=%s\n", Utf8(line).c_str());
  }
}

// Each argument in double quotes, as a Windows command line takes names with blanks.
std::string CommandLine(int argc, char** argv, int first) {
  std::string line;
  for (int k = first; k < argc; ++k) {
    if (k > first) line.push_back(' ');
    line.push_back('"');
    line.append(argv[k]);
    line.push_back('"');
  }
  return line;
}

}  // namespace

int main(int argc, char** argv) {
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  DWORD timeout_ms = 60000;
  bool move = false;
  int target[4] = {};
  int i = 1;
  for (; i < argc && argv[i][0] == '-' && argv[i][1] == '-'; ++i) {
    std::string opt = argv[i];
    if (opt == "--timeout" && i + 1 < argc) {
      timeout_ms = static_cast<DWORD>(std::atoi(argv[++i])) * 1000;
    } else if (opt == "--move" && i + 4 < argc) {
      move = true;
      for (int k = 0; k < 4; ++k) target[k] = std::atoi(argv[++i]);
    } else {
      std::fprintf(stderr, "unknown option %s\n", opt.c_str());
      return 1;
    }
  }
  if (i >= argc) {
    std::fprintf(stderr, "usage: window_probe [--timeout S] [--move X Y W H] PROGRAM [ARGS...]\n");
    return 1;
  }
  std::string command = CommandLine(argc, argv, i);

  LARGE_INTEGER freq, start;
  QueryPerformanceFrequency(&freq);
  auto elapsed_ms = [&] {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<long long>((now.QuadPart - start.QuadPart) * 1000 / freq.QuadPart);
  };
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  QueryPerformanceCounter(&start);
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
    std::printf("error=cannot start %s (error %lu)\n", Utf8(command).c_str(), GetLastError());
    return 2;
  }

  HWND main_window = nullptr;
  long long blocked_since = -1;
  while (!main_window) {
    Search seen = Find(pi.dwProcessId);
    main_window = seen.found;
    if (main_window) break;
    // A message box before the main window waits for a user who is not there.
    bool blocked = false;
    for (HWND w : seen.visible) blocked = blocked || ClassOf(w) != kSplashClass;
    if (!blocked) {
      blocked_since = -1;
    } else if (blocked_since < 0) {
      blocked_since = elapsed_ms();
    } else if (elapsed_ms() - blocked_since > kBlockedMs) {
      std::printf("error=a window stands before the main window\n");
      ReportWindows(pi.dwProcessId);
      TerminateProcess(pi.hProcess, 99);
      return 3;
    }
    if (WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0) {
      DWORD code = 0;
      GetExitCodeProcess(pi.hProcess, &code);
      std::printf("error=the program ended (exit %lu) before its main window was shown\n", code);
      return 3;
    }
    if (elapsed_ms() > timeout_ms) {
      std::printf("error=no main window within %lu s\n", timeout_ms / 1000);
      ReportWindows(pi.dwProcessId);
      TerminateProcess(pi.hProcess, 99);
      return 3;
    }
    Sleep(5);
  }
  std::printf("shown_ms=%lld\n", elapsed_ms());
  // Start-up is over when the program first waits for the user.
  if (WaitForInputIdle(pi.hProcess, timeout_ms) == 0) std::printf("idle_ms=%lld\n", elapsed_ms());
  std::printf("caption=%s\n", Utf8(TextOf(main_window)).c_str());
  // The open documents: the windows inside the main window's MDI client.
  if (HWND client = FindWindowExA(main_window, nullptr, "MDIClient", nullptr)) {
    for (HWND d = GetWindow(client, GW_CHILD); d; d = GetWindow(d, GW_HWNDNEXT)) {
      std::printf("document=%s\n", Utf8(TextOf(d)).c_str());
    }
  }
  RECT r;
  GetWindowRect(main_window, &r);
  std::printf("rect=%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
  if (move) {
    SetWindowPos(main_window, nullptr, target[0], target[1], target[2], target[3], SWP_NOZORDER | SWP_NOACTIVATE);
    GetWindowRect(main_window, &r);
    std::printf("moved=%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
  }
  for (HWND w : Find(pi.dwProcessId).visible) {
    if (w != main_window) std::printf("other=%s \"%s\"\n", ClassOf(w).c_str(), Utf8(TextOf(w)).c_str());
  }

  PostMessageA(main_window, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(pi.hProcess, timeout_ms) != WAIT_OBJECT_0) {
    std::printf("error=the program did not end after it was asked to close\n");
    ReportWindows(pi.dwProcessId);
    TerminateProcess(pi.hProcess, 99);
    return 4;
  }
  DWORD code = 0;
  GetExitCodeProcess(pi.hProcess, &code);
  std::printf("exit=%lu\n", code);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return 0;
}
