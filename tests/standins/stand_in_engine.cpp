// Stand-in for the TeX engine in the tests.
// Usage: stand_in_engine [options]
//   --record FILE   append every execute string and a LF to FILE (created at start)
//   --log FILE      the log written is a copy of FILE (default: a clean log)
//   --dvi           also write the source's .dvi
//   --delay MS      wait MS after a command before writing
//   --hold MS       keep the written log open, unshared, for MS before closing it
//   --no-service    never offer the DDE service, just wait to be ended
//   --no-log        take commands, write nothing
//   --exit-early    end right after taking a command, writing nothing
//   --ignore-quit   serve from a second thread, so WM_QUIT posted to the main thread (how
//                   the program asks an engine to stop) is never taken
//   --ready EVENT   set the named event once it takes commands (with --no-service: once up)
// Offers the DDE service and topic "wpvtex". For "[virtex(NAME,INDEX)]" it writes NAME's
// .log beside NAME, stamped with the current time so that it is newer than a source the
// test has made older. It keeps running afterwards: the program ends the engine itself.
#include <algorithm>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "bridges/bridge_commands.h"
#include "core/sjis.h"
#include "tests/standins/stand_in_common.h"

namespace quillet::standin {
namespace {

constexpr DWORD kRetryMs = 50;  // after a sharing violation on the file to write

std::string CleanLog(const VirtexCommand& run) {
  return "This is the stand-in TeX engine.\r\n**&" + std::to_string(run.format) + " " + run.source + "\r\n(" + run.source +
         " [1] )\r\nOutput written on " + ChangeFileExt(run.source, ".dvi") + " (1 page).\r\n";
}

std::string ReadAll(const std::string& path) {
  FileHandle in(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  std::string bytes;
  if (!in) return bytes;
  char chunk[4096];
  DWORD got = 0;
  while (ReadFile(in.get(), chunk, sizeof chunk, &got, nullptr) && got > 0) bytes.append(chunk, got);
  return bytes;
}

// Writes a file, unshared, and stamps its last write with the current time. Returns the
// file still open; a failed open returns no handle.
FileHandle WriteStamped(const std::string& path, const std::string& bytes) {
  FileHandle out(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!out) return out;
  DWORD written = 0;
  WriteFile(out.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  SetFileTime(out.get(), nullptr, nullptr, &now);
  return out;
}

bool WorthRetrying(DWORD error) { return error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED; }

DWORD Remaining(DWORD due, DWORD now) {
  LONG left = static_cast<LONG>(due - now);
  return left > 0 ? static_cast<DWORD>(left) : 0;
}

class Engine {
 public:
  Engine()
      : record_(options_.Value("--record")),
        log_copy_(options_.Value("--log")),
        delay_(options_.Number("--delay")),
        hold_(options_.Number("--hold")) {}

  int Run() {
    if (!options_.Flag("--ignore-quit")) return Serve();
    std::thread server([this] { Serve(); });
    server.join();
    return 0;
  }

 private:
  int Serve() {
    if (!record_.empty()) CreateRecord(record_);
    if (options_.Flag("--no-service")) {
      SignalReady(options_.Value("--ready"));
      RunLoopWhileParentLives([] { return INFINITE; });
      return 0;
    }
    DdeServer dde({"wpvtex"}, [this](const std::string& command) { Take(command); });
    if (!dde.offered()) return 1;
    SignalReady(options_.Value("--ready"));
    RunLoopWhileParentLives([this] { return AfterWake(); });
    return 0;
  }

  struct Job {
    VirtexCommand run;
    DWORD due;
  };
  struct Held {
    FileHandle file;
    DWORD until;
  };

  void Take(const std::string& command) {
    if (!record_.empty()) AppendRecord(record_, command);
    if (options_.Flag("--exit-early")) {
      PostQuitMessage(0);
      return;
    }
    std::optional<VirtexCommand> run = ParseVirtexCommand(command);
    if (options_.Flag("--no-log") || !run) return;
    jobs_.push_back({std::move(*run), GetTickCount() + delay_});
  }

  // Closes the logs held long enough and writes the files that are due; returns how long
  // the loop may sleep until the next of those.
  DWORD AfterWake() {
    DWORD now = GetTickCount();
    std::erase_if(held_, [now](const Held& h) { return Remaining(h.until, now) == 0; });
    for (std::size_t i = 0; i < jobs_.size();) {
      if (Remaining(jobs_[i].due, now) > 0) {
        ++i;
      } else if (Write(jobs_[i].run, now)) {
        jobs_.erase(jobs_.begin() + static_cast<std::ptrdiff_t>(i));
      } else if (WorthRetrying(GetLastError())) {
        jobs_[i++].due = now + kRetryMs;
      } else {
        jobs_.erase(jobs_.begin() + static_cast<std::ptrdiff_t>(i));
      }
    }
    DWORD wait = INFINITE;
    for (const Held& h : held_) wait = std::min(wait, Remaining(h.until, now));
    for (const Job& j : jobs_) wait = std::min(wait, Remaining(j.due, now));
    return wait;
  }

  // The .dvi first and the log last, as an engine finishes its output.
  bool Write(const VirtexCommand& run, DWORD now) {
    if (options_.Flag("--dvi") && !WriteStamped(ChangeFileExt(run.source, ".dvi"), "stand-in dvi\r\n")) return false;
    FileHandle log = WriteStamped(ChangeFileExt(run.source, ".log"), log_copy_.empty() ? CleanLog(run) : ReadAll(log_copy_));
    if (!log) return false;
    if (hold_ > 0) held_.push_back({std::move(log), now + hold_});
    return true;
  }

  CommandOptions options_ = Options();
  std::string record_, log_copy_;
  DWORD delay_, hold_;
  std::vector<Job> jobs_;
  std::vector<Held> held_;
};

}  // namespace
}  // namespace quillet::standin

int main() { return quillet::standin::Engine().Run(); }
