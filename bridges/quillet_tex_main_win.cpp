// quillet-tex, the engine bridge: it offers the DDE service and topic "wpvtex" as the
// engines TeX Quillet knows do and, for "[virtex(FILE,N)]", runs a real engine of TeX
// Live's pTeX family. N picks the N-th format entry of wintex.ini; the entry's format name
// (or its menu text) picks the command from section [Engines] of quillet-tex.ini beside
// the bridge, else a built-in one. An engine of the pTeX family is told the code the source
// is written in (-kanji=), unless its command names one: that of the source's bytes, of the
// files a plain-ASCII source reads in, else the code of new documents in TeX Quillet's
// settings. The engine runs in the source's folder on the source's name and writes into
// ".quillet-tex" there, every error prompt answered as Enter would; when it ends, its .dvi
// and then its .log (in the source's code, as the engine wrote it) are moved beside the
// source, so the log never appears half written. A run that cannot happen leaves a log,
// in the source's code too, that says why.
// Usage: quillet-tex [--wintex FILE] [--table FILE] [--settings QUILLET.INI]
#include <windows.h>

#include <algorithm>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "bridges/bridge_commands.h"
#include "bridges/outside_run_win.h"
#include "bridges/ptex_family.h"
#include "core/command_line.h"
#include "core/dos_time.h"
#include "core/sjis.h"
#include "core/text_encode.h"
#include "tex/source_encoding.h"
#include "tex/tex_config.h"
#include "tex/tex_config_win.h"
#include "win/code_page_win.h"
#include "win/dde_server_win.h"
#include "win/file_io_win.h"
#include "win/profile_win.h"
#include "win/program_loop_win.h"
#include "win/settings_location_win.h"

namespace quillet {
namespace {

constexpr DWORD kPollMs = 20, kBeatMs = 1000, kStopGraceMs = 10000;
constexpr int kDefaultTimeLimitSeconds = 600;
constexpr const char* kOutputFolder = ".quillet-tex";

class NoDirectories : public DirectoryLister {
 public:
  std::vector<std::string> List(const std::string&, const std::string&) const override { return {}; }
};

std::string LastUnixPart(const std::string& unix_name) { return unix_name.substr(unix_name.rfind('/') + 1); }

void Touch(const std::string& path) {
  FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  if (file) SetFileTime(file.get(), nullptr, nullptr, &now);
}

// TeX Quillet takes a log only when it is newer than the source by the file system's
// two-second steps: a log made in the same step as the save is dated one step later.
void DateAfterSource(const std::string& log, const std::string& source) {
  if (CompareFileAge(FileAge(log), FileAge(source)) > 0) return;
  FileHandle src(CreateFileA(source.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                             nullptr));
  FileHandle out(CreateFileA(log.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  FILETIME written;
  if (!src || !out || !GetFileTime(src.get(), nullptr, nullptr, &written)) return;
  ULARGE_INTEGER t{{written.dwLowDateTime, written.dwHighDateTime}};
  t.QuadPart += 2ull * 10'000'000;
  written = {t.LowPart, t.HighPart};
  SetFileTime(out.get(), nullptr, nullptr, &written);
}

struct Job {
  std::string source, folder, output, command;
  std::optional<Encoding> encoding;  // as the source's bytes, or those of its chapters, show it
  DWORD started = 0, limit_ms = 0;
  bool timed_out = false;
  DWORD beat = 0;
  StartedProgram program;  // on Windows
  std::string marker, heartbeat, stop;  // under Wine
};

class EngineBridge {
 public:
  explicit EngineBridge(const CommandOptions& options)
      : wintex_(options.Value("--wintex").empty() ? SettingsFileToUse(kTeXConfigFile) : options.Value("--wintex")),
        table_(options.Value("--table").empty() ? SettingsFileToUse(ProgramFolder() + "quillet-tex.ini")
                                                  : options.Value("--table")),
        settings_(options.Value("--settings").empty() ? SettingsFileToUse("quillet.ini") : options.Value("--settings")) {}

  int Run() {
    DdeServer dde({"wpvtex"}, [this](const std::string& text) {
      if (std::optional<VirtexCommand> run = ParseVirtexCommand(text)) pending_.push_back(*run);
    });
    if (!dde.offered()) return 1;
    RunLoopWhileParentLives([this] { return AfterWake(); });
    if (job_) Stop();
    return 0;
  }

 private:
  DWORD AfterWake() {
    if (!job_ && !pending_.empty()) {
      VirtexCommand run = pending_.front();
      pending_.pop_front();
      Start(run);
    }
    return job_ ? Poll() : INFINITE;
  }

  std::string Log() const { return ChangeFileExt(job_->source, ".log"); }

  void Start(const VirtexCommand& run) {
    job_ = std::make_unique<Job>();
    job_->source = run.source;
    job_->folder = ExtractFilePath(run.source);
    job_->encoding = SourceFileEncoding(run.source);
    std::string why;
    job_->command = CommandFor(run, why);
    if (job_->command.empty()) return Fail(why);
    job_->output = job_->folder + kOutputFolder + "\\";
    CreateDirectoryA(job_->output.c_str(), nullptr);
    ProfileFile table(table_);
    job_->limit_ms = static_cast<DWORD>(std::max(1, table.ReadInt("Bridge", "TimeLimit", kDefaultTimeLimitSeconds))) * 1000;
    job_->started = GetTickCount();
    if (!(UnderWine() ? StartOnLinux() : StartOnWindows())) {
      Fail("TeXのｺﾏﾝﾄﾞ '" + job_->command + "' を起動できません。");
    }
  }

  // The engine command of the run's format, told the source's code; empty, with the
  // reason in why, when the run cannot happen.
  std::string CommandFor(const VirtexCommand& run, std::string& why) const {
    ProfileFile table_file(table_);
    ProfileReader table(table_file);
    WinProfileStore wintex(wintex_);
    TeXConfiguration config = LoadTeXConfiguration(wintex, NoDirectories());
    if (run.format < 0 || run.format >= static_cast<int>(config.format_names.size())) {
      why = "ﾌｫｰﾏｯﾄ番号 " + std::to_string(run.format) + " の項目が " + wintex_ + " の [TeXMode] にありません。";
      return {};
    }
    const std::string& format = config.format_names[static_cast<std::size_t>(run.format)];
    std::string command = EngineCommandFor(table, format, config.menu_strings[static_cast<std::size_t>(run.format)]);
    std::string name = ExtractFileName(run.source), odd = CharEngineCannotTake(command, name);
    if (command.empty()) {
      why = "ﾌｫｰﾏｯﾄ '" + format + "' に使うTeXのｺﾏﾝﾄﾞがわかりません。" + table_ + " の [Engines] に '" + format +
            "=ｺﾏﾝﾄﾞ' と書いてください。";
    } else if (!odd.empty()) {
      why = "ﾌｧｲﾙ名 " + name + " の文字「" + odd + "」を '" + command +
            "' はﾌｧｲﾙ名として読めません。ﾌｧｲﾙ名を変えるか、upLaTeXで処理してください。";
      command.clear();
    }
    return command.empty() ? command : WithKanjiOption(command, job_->encoding.value_or(NewDocumentEncoding()));
  }

  bool StartOnLinux() {
    Job& job = *job_;
    job.marker = job.output + "done";
    job.heartbeat = job.output + "alive";
    job.stop = job.output + "stop";
    DeleteFileA(job.marker.c_str());
    DeleteFileA(job.stop.c_str());
    Touch(job.heartbeat);
    job.beat = GetTickCount();
    EngineRun run{UnixFileName(job.folder), kOutputFolder, LastUnixPart(UnixFileName(job.source)),
                  job.command,              UnixFileName(job.marker), UnixFileName(job.heartbeat),
                  UnixFileName(job.stop)};
    return !run.directory.empty() && StartShellScript(job.output + "run.sh", EngineScript(run));
  }

  bool StartOnWindows() {
    Job& job = *job_;
    std::string line = job.command + " -output-directory=" + kOutputFolder + " \"" + ExtractFileName(job.source) + "\"";
    std::string answers;
    for (int i = 0; i < kEngineAnswers; ++i) answers += "\r\n";
    return StartProgram(line, job.folder, answers, job.program);
  }

  DWORD Poll() {
    Job& job = *job_;
    DWORD now = GetTickCount();
    bool ended = UnderWine() ? FileExists(job.marker) : WaitForSingleObject(job.program.process.get(), 0) == WAIT_OBJECT_0;
    // A run stopped for its time that writes no marker even then (its script never ran) ends too.
    if (ended || (job.timed_out && now - job.started - job.limit_ms > kStopGraceMs)) {
      Finish();
      return pending_.empty() ? INFINITE : 0;
    }
    if (!job.timed_out && now - job.started > job.limit_ms) {
      job.timed_out = true;
      Stop();
    }
    if (UnderWine() && now - job.beat >= kBeatMs) {
      Touch(job.heartbeat);
      job.beat = now;
    }
    return kPollMs;
  }

  void Stop() {
    if (UnderWine()) {
      Touch(job_->stop);
    } else if (job_->program.job) {
      TerminateJobObject(job_->program.job.get(), 1);
    }
  }

  int ExitStatus() const {
    if (!UnderWine()) {
      DWORD code = 0;
      GetExitCodeProcess(job_->program.process.get(), &code);
      return static_cast<int>(code);
    }
    std::string text = ReadSmallFile(job_->marker);
    return text.empty() ? -1 : std::atoi(text.c_str());
  }

  // The engine's .dvi, then its log, beside the source.
  void Finish() {
    Job& job = *job_;
    std::string made = job.output + ExtractFileName(job.source);
    std::string made_log = ChangeFileExt(made, ".log"), made_dvi = ChangeFileExt(made, ".dvi");
    int status = ExitStatus();
    if (job.timed_out) {
      return Fail("TeXが " + std::to_string(job.limit_ms / 1000) + " 秒以内に終わらなかったので中止しました。");
    }
    if (!FileExists(made_log)) {
      return Fail(status == 127 ? "TeXのｺﾏﾝﾄﾞ '" + job.command + "' が見つかりません。" +
                                      "TeXをｲﾝｽﾄｰﾙするか、" + table_ + " の [Engines] を直してください。"
                                : "TeXがﾛｸﾞを書かずに終わりました (終了ｺｰﾄﾞ " + std::to_string(status) + ")。");
    }
    if (FileExists(made_dvi)) MoveFileExA(made_dvi.c_str(), ChangeFileExt(job.source, ".dvi").c_str(), MOVEFILE_REPLACE_EXISTING);
    DateAfterSource(made_log, job.source);
    if (!MoveFileExA(made_log.c_str(), Log().c_str(), MOVEFILE_REPLACE_EXISTING)) {
      return Fail("ﾛｸﾞﾌｧｲﾙ " + Log() + " を置けません。");
    }
    job_.reset();
  }

  Encoding NewDocumentEncoding() const {
    FileCoding coding;
    ParseCoding(ProfileFile(settings_).ReadString("Editor", "Encoding", "SJIS"), "CRLF", coding);
    return coding.encoding;
  }

  // In the source's code, as TeX Quillet reads the log; Shift-JIS, its own code, when the
  // source shows none.
  void Fail(const std::string& message) {
    std::string log = Log(), text = FailureLog(message), coded;
    Unholdable unholdable;
    FileCoding coding{job_->encoding.value_or(Encoding::kShiftJis), false, LineEnd::kCrLf};
    if (!EncodeText(text, coding, SystemCodePage(), ForeignChars(), nullptr, coded, unholdable)) {
      coded = text;
    }
    WriteWhole(log, coded);
    DateAfterSource(log, job_->source);
    job_.reset();
  }

  std::string wintex_, table_, settings_;
  std::deque<VirtexCommand> pending_;
  std::unique_ptr<Job> job_;
};

}  // namespace
}  // namespace quillet

int main() { return quillet::EngineBridge(quillet::CommandOptions(GetCommandLineA())).Run(); }
