// quillet-tex, the engine bridge: it offers the DDE service and topic "wpvtex" as the
// engines TeX Quillet knows do and, for "[virtex(FILE,N)]", typesets FILE with TeX Live.
// N picks the N-th format entry of wintex.ini; the entry's format name (or its menu text)
// picks the command from section [Engines] of quillet-tex.ini beside the bridge, else a
// built-in one. An engine of the pTeX family is told the code the source is written in
// (-kanji=), unless its command names one: that of the source's bytes, of the files a
// plain-ASCII source reads in, else the code of new documents in TeX Quillet's settings.
// A LaTeX format runs the whole chain (latexmk, or the passes one by one when [Bridge]
// Latexmk is empty or latexmk is not installed); another runs as one pass. Every tool
// runs in ".quillet-tex" beside the source, every error prompt answered as Enter would,
// with the TeX settings' folders in its search paths; when the run ends, the .dvi, the
// list of what it read, then the .log (in the source's code, as the engine wrote it, with
// a failed tool's report after it) are put beside the source, so the log never appears
// half written. A run that cannot happen leaves a log, in the source's code too, that
// says why. [Bridge] Tools=Windows runs the Windows programs under Wine too.
// Usage: quillet-tex [--wintex FILE] [--table FILE] [--settings QUILLET.INI]
//        quillet-tex --classes FILE (the document classes the installed TeX has)
#include <windows.h>

#include <algorithm>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "bridges/bridge_commands.h"
#include "bridges/class_list_win.h"
#include "bridges/outside_run_win.h"
#include "bridges/ptex_family.h"
#include "bridges/tex_chain.h"
#include "core/command_line.h"
#include "core/dos_time.h"
#include "core/sjis.h"
#include "core/text_decode.h"
#include "core/text_encode.h"
#include "tex/log_scan.h"
#include "tex/source_encoding.h"
#include "tex/synctex_gzip.h"
#include "tex/synctex_stock_copy.h"
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

constexpr DWORD kPollMs = 20, kBeatMs = 1000, kStopGraceMs = 10000, kStopWaitMs = 1500;
constexpr int kDefaultTimeLimitSeconds = 600;
constexpr const char* kOutputFolder = ".quillet-tex";
constexpr const char* kLatexmkConfig = "quillet.latexmkrc";
constexpr const char* kStepMessages = "step.txt";
// What the script answers when latexmk is not installed.
constexpr int kNoLatexmk = 125;
// The most of a tool's file the bridge reads (a looping engine writes logs of gigabytes).
constexpr std::size_t kReadLimit = 64u << 20;

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

// The tool a run is at.
enum class Step { kLatexmk, kEngine, kBibliography, kIndex };

struct Job {
  std::string source, folder, work, job_name, command;
  bool linux_tools = false;       // the Linux tools, under Wine
  std::string unix_source_name;  // the source's name as the tools see it
  std::optional<Encoding> encoding;  // as the source's bytes, or those of its chapters, show it
  std::optional<ChainTools> tools;   // none: the format runs as one pass
  UserPaths paths;
  Step step = Step::kEngine;
  ChainProgress progress;
  std::string latexmk;  // empty: the bridge runs the passes itself
  FILETIME started_at{};  // what the tools wrote before is not this run's
  DWORD started = 0, limit_ms = 0;
  bool timed_out = false;
  DWORD beat = 0;
  StartedProgram program;  // the Windows programs
  std::string marker, heartbeat, stop;  // the Linux tools
};

// The bridge's own table: --table, else quillet-tex.ini beside it.
std::string TableFile(const CommandOptions& options) {
  std::string table = options.Value("--table");
  return table.empty() ? SettingsFileToUse(ProgramFolder() + "quillet-tex.ini") : table;
}

class EngineBridge {
 public:
  explicit EngineBridge(const CommandOptions& options)
      : wintex_(options.Value("--wintex").empty() ? SettingsFileToUse(kTeXConfigFile) : options.Value("--wintex")),
        table_(TableFile(options)),
        settings_(options.Value("--settings").empty() ? SettingsFileToUse("quillet.ini") : options.Value("--settings")) {}

  int Run() {
    DdeServer dde({"wpvtex"}, [this](const std::string& text) {
      if (std::optional<VirtexCommand> run = ParseVirtexCommand(text)) pending_.push_back(*run);
    });
    if (!dde.offered()) return 1;
    RunLoopWhileParentLives([this] { return AfterWake(); });
    if (job_) StopAndWait();
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
  std::string Made(const char* extension) const { return job_->work + job_->job_name + extension; }
  std::string ReadMade(const char* extension) const { return ReadFileUpTo(Made(extension), kReadLimit); }
  // A file the tools made in this run; empty when it is older (a document that no longer
  // has an index leaves its .idx behind).
  std::string ReadMadeThisRun(const char* extension) const {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    bool fresh = GetFileAttributesExA(Made(extension).c_str(), GetFileExInfoStandard, &data) &&
                 CompareFileTime(&data.ftLastWriteTime, &job_->started_at) >= 0;
    return fresh ? ReadMade(extension) : std::string();
  }
  // What the last step wrote on its output, in the program's code, at most limit bytes.
  std::string StepMessages(std::size_t limit) const {
    std::string text = InProgramCode(ReadFileUpTo(job_->work + kStepMessages, kReadLimit));
    return std::string(CutToBytes(text, limit));
  }

  void Start(const VirtexCommand& run) {
    job_ = std::make_unique<Job>();
    Job& job = *job_;
    job.linux_tools = RunsLinuxTools(table_);
    job.source = run.source;
    job.folder = ExtractFilePath(run.source);
    job.encoding = SourceFileEncoding(run.source);
    std::string why;
    job.command = CommandFor(run, why);
    if (job.command.empty()) return Fail(why);
    job.work = job.folder + kOutputFolder + "\\";
    CreateDirectoryA(job.work.c_str(), nullptr);
    job.unix_source_name = job.linux_tools ? LastUnixPart(UnixFileName(job.source)) : ExtractFileName(job.source);
    job.job_name = JobNameFor(job.unix_source_name);
    ProfileFile table(table_);
    job.limit_ms = static_cast<DWORD>(std::max(1, table.ReadInt("Bridge", "TimeLimit", kDefaultTimeLimitSeconds))) * 1000;
    job.started = GetTickCount();
    GetSystemTimeAsFileTime(&job.started_at);
    job.latexmk = table.ReadString("Bridge", "Latexmk", "latexmk");
    job.step = job.tools && !job.latexmk.empty() ? Step::kLatexmk : Step::kEngine;
    if (job.step == Step::kLatexmk) WriteWhole(job.work + kLatexmkConfig, LatexmkConfig(*job.tools));
    if (!job.linux_tools) SetVariables();
    StartStep();
  }


  // The engine command of the run's format, told the source's code; empty, with the
  // reason in why, when the run cannot happen.
  std::string CommandFor(const VirtexCommand& run, std::string& why) const {
    ProfileFile table_file(table_);
    ProfileReader table(table_file);
    WinProfileStore wintex(wintex_);
    TeXConfiguration config = LoadTeXConfiguration(wintex, NoDirectories());
    job_->paths = {config.TEXINPUTS, config.TEXFONTS, config.TEXFORMATS, config.TEXPOOL};
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
    if (command.empty()) return command;
    Encoding encoding = job_->encoding.value_or(NewDocumentEncoding());
    job_->tools = ChainToolsFor(command, encoding);
    return WithSyncTeX(WithKanjiOption(command, encoding));
  }

  std::string StepCommand(Quoting quoting) const {
    const Job& job = *job_;
    switch (job.step) {
      case Step::kLatexmk: {
        bool user_config = FileExists(job.folder + ".latexmkrc");
        std::string latexmk = LatexmkCommand(job.latexmk, kLatexmkConfig, user_config, job.job_name,
                                             job.unix_source_name, quoting);
        // A missing latexmk answers 125: the bridge then runs the passes itself.
        return quoting == Quoting::kShell ? "command -v " + ShellQuote(job.latexmk.substr(0, job.latexmk.find(' '))) +
                                                " >/dev/null 2>&1 || exit " + std::to_string(kNoLatexmk) + "; " + latexmk
                                          : latexmk;
      }
      case Step::kEngine:
        return EnginePassCommand(job.tools ? job.tools->engine : job.command, job.job_name, job.unix_source_name,
                                 quoting);
      case Step::kBibliography:
        return BibliographyCommand(job.tools->bibliography, job.job_name);
      case Step::kIndex:
        return IndexCommand(job.tools->index, job.job_name);
    }
    return {};
  }

  void StartStep() {
    Job& job = *job_;
    // A pass that writes no log must not leave the last one to be read as its own;
    // latexmk keeps its own (it reads it to decide the next run).
    if (job.step == Step::kEngine) DeleteFileA(Made(".log").c_str());
    if (job.linux_tools ? StartOnLinux() : StartOnWindows()) return;
    if (job.step == Step::kLatexmk) {
      job.step = Step::kEngine;  // on Windows a latexmk that is not there cannot be started
      return StartStep();
    }
    Fail("TeXのｺﾏﾝﾄﾞ '" + StepCommand(Quoting::kWindows) + "' を起動できません。");
  }

  Variables SearchPaths(const std::function<std::string(const std::string&)>& convert) const {
    return ChainVariables(job_->paths, convert);
  }

  void SetVariables() const {
    for (const auto& [name, folders] : SearchPaths([](const std::string& s) { return s; })) {
      SetEnvironmentVariableA(name.c_str(), SearchPathValue(folders, ';').c_str());
    }
  }

  bool StartOnLinux() {
    Job& job = *job_;
    job.marker = job.work + "done";
    job.heartbeat = job.work + "alive";
    job.stop = job.work + "stop";
    DeleteFileA(job.marker.c_str());
    DeleteFileA(job.stop.c_str());
    Touch(job.heartbeat);
    job.beat = GetTickCount();
    EngineRun run{UnixFileName(job.work), SearchPaths([](const std::string& s) { return UnixFileName(s); }),
                  StepCommand(Quoting::kShell), UnixFileName(job.work + kStepMessages), UnixFileName(job.marker),
                  UnixFileName(job.heartbeat), UnixFileName(job.stop)};
    return !run.directory.empty() && StartShellScript(job.work + "run.sh", EngineScript(run));
  }

  bool StartOnWindows() {
    std::string answers;
    for (int i = 0; i < kEngineAnswers; ++i) answers += "\r\n";
    return StartProgram(StepCommand(Quoting::kWindows), job_->work, answers, job_->program, job_->work + kStepMessages);
  }

  DWORD Poll() {
    Job& job = *job_;
    DWORD now = GetTickCount();
    bool ended = job.linux_tools ? FileExists(job.marker) : WaitForSingleObject(job.program.process.get(), 0) == WAIT_OBJECT_0;
    // A run stopped for its time that writes no marker even then (its script never ran) ends too.
    if (ended || (job.timed_out && now - job.started - job.limit_ms > kStopGraceMs)) {
      StepEnded();
      return !job_ ? (pending_.empty() ? INFINITE : 0) : kPollMs;
    }
    if (!job.timed_out && now - job.started > job.limit_ms) {
      job.timed_out = true;
      Stop();
    }
    if (job.linux_tools && now - job.beat >= kBeatMs) {
      Touch(job.heartbeat);
      job.beat = now;
    }
    return kPollMs;
  }

  // Ended (TeX Quillet's stop command): the tools are gone before the bridge is, so that
  // a run started at once after finds none of them in its folder.
  void StopAndWait() {
    Stop();
    DWORD start = GetTickCount();
    while (job_->linux_tools && !FileExists(job_->marker) && GetTickCount() - start < kStopWaitMs) Sleep(kPollMs);
  }

  void Stop() {
    if (job_->linux_tools) {
      Touch(job_->stop);
    } else if (job_->program.job) {
      TerminateJobObject(job_->program.job.get(), 1);
    }
  }

  int ExitStatus() const {
    if (!job_->linux_tools) {
      DWORD code = 0;
      GetExitCodeProcess(job_->program.process.get(), &code);
      return static_cast<int>(code);
    }
    std::string text = ReadSmallFile(job_->marker);
    return text.empty() ? -1 : std::atoi(text.c_str());
  }

  // The next step of the passes, or the end of the run with what failed.
  void StepEnded() {
    Job& job = *job_;
    int status = ExitStatus();
    if (job.timed_out) {
      return Fail("TeXが " + std::to_string(job.limit_ms / 1000) + " 秒以内に終わらなかったので中止しました。");
    }
    if (job.step == Step::kLatexmk && status == kNoLatexmk) {
      job.step = Step::kEngine;
      return StartStep();
    }
    if (job.step == Step::kLatexmk || !job.tools) return Finish(status, LatexmkReport(status));
    if (job.step == Step::kBibliography || job.step == Step::kIndex) {
      std::string report = ToolReport(job.step, status);
      if (!report.empty()) return Finish(status, report);
    }
    std::string log = ReadMade(".log");
    PassFacts facts{.engine_errors = !FileExists(Made(".log")) || ScanTeXLog(log).errors,
                    .citations = CitationLines(ReadMade(".aux")),
                    .index = ReadMadeThisRun(".idx"),
                    .rerun_asked = LogAsksRerun(log)};
    switch (NextStep(*job.tools, facts, job.progress)) {
      case ChainStep::kDone:
        return Finish(status, {});
      case ChainStep::kEngine:
        job.step = Step::kEngine;
        break;
      case ChainStep::kBibliography:
        job.step = Step::kBibliography;
        break;
      case ChainStep::kIndex:
        job.step = Step::kIndex;
        break;
    }
    StartStep();
  }

  // What a bibliography or index tool that ran found wrong, for the log; empty when
  // nothing.
  std::string ToolReport(Step step, int status) const {
    bool bibliography = step == Step::kBibliography;
    const std::string& tool = bibliography ? job_->tools->bibliography : job_->tools->index;
    std::vector<ToolError> errors = bibliography ? BibliographyErrors(ReadMadeThisRun(".blg"))
                                                 : IndexErrors(ReadMadeThisRun(".ilg"));
    // BibTeX answers 1 for warnings alone.
    if (errors.empty() && status < (bibliography ? 2 : 1)) return {};
    if (errors.empty()) errors.push_back({"", 0, InLogCode(StepMessages(400))});
    for (ToolError& error : errors) {
      if (!error.file.empty()) error.line = LineInFile(ReadFileUpTo(SourceFolderFile(error.file), kReadLimit), error.line);
    }
    std::string program = tool.substr(0, tool.find(' '));
    return ChainReport(InLogCode((bibliography ? "参考文献の処理 (" : "索引の処理 (") + program +
                                 ") でｴﾗｰがありました。"),
                       errors);
  }

  // After latexmk: the step that failed, told by its own log; the engine's errors need
  // no report, its log says them.
  std::string LatexmkReport(int status) const {
    if (!job_->tools || ScanTeXLog(ReadMade(".log")).errors) return {};
    if (status != 0) {
      for (Step step : {Step::kBibliography, Step::kIndex}) {
        if (std::string report = ToolReport(step, 0); !report.empty()) return report;
      }
    }
    std::vector<ToolError> errors = LatexmkErrors(InLogCode(StepMessages(kReadLimit)));
    if (errors.empty() && status == 0) return {};
    // latexmk leaves out a step whose files are missing (a .bib) and still answers 0.
    return ChainReport(InLogCode(status ? "latexmk でｴﾗｰがありました (終了ｺｰﾄﾞ " + std::to_string(status) + ")。"
                                        : std::string("latexmk が実行できない段階がありました。")),
                       errors);
  }

  // The .dvi, the list of what the run read, then the log (with the report of a tool
  // that failed) beside the source: the log comes last and whole, as TeX Quillet waits
  // for it. The .dvi is moved, so that the next run makes it again: "TeXをかける" always
  // runs the engine.
  void Finish(int status, const std::string& given_report) {
    Job& job = *job_;
    std::string made_log = Made(".log");
    // An engine that died with a log that tells no error (it crashed mid-run) must not
    // pass for a clean run.
    std::string report = given_report;
    if (report.empty() && status != 0 && FileExists(made_log) && !ScanTeXLog(ReadMade(".log")).errors) {
      report = ChainReport(InLogCode("TeXが異常終了しました (終了ｺｰﾄﾞ " + ExitCodeText(status) + ")。"), {});
    }
    if (!FileExists(made_log)) {
      return Fail(status == 127 ? "TeXのｺﾏﾝﾄﾞ '" + job.command + "' が見つかりません。" +
                                      "TeXをｲﾝｽﾄｰﾙするか、" + table_ + " の [Engines] を直してください。"
                                : "TeXがﾛｸﾞを書かずに終わりました (終了ｺｰﾄﾞ " + ExitCodeText(status) + ")。",
                  report);
    }
    // The SyncTeX data goes with the .dvi, and so beside the PDF made from it.
    if (job.linux_tools) WriteStockSynctex();
    for (const char* made : {".dvi", ".synctex.gz"}) {
      if (FileExists(Made(made))) MoveFileExA(Made(made).c_str(), ChangeFileExt(job.source, made).c_str(), MOVEFILE_REPLACE_EXISTING);
    }
    // latexmk keeps a failed step's error until that step's files change (a .bib deleted
    // is not a change to it): after a failure the next run starts its reckoning afresh.
    if (job.step == Step::kLatexmk && (status != 0 || !report.empty())) DeleteFileA(Made(".fdb_latexmk").c_str());
    WriteInputs();
    // The log stays in the work folder too: latexmk reads it on the next run, and a run
    // that stops at a tool before any engine pass hands over the last pass's log.
    bool placed = WriteWhole(Log(), report.empty() ? ReadMade(".log") : ReadMade(".log") + "\n" + report);
    if (!placed) return Fail("ﾛｸﾞﾌｧｲﾙ " + Log() + " を置けません。");
    DateAfterSource(Log(), job.source);
    job_.reset();
  }

  // A viewer on Linux reads the SyncTeX data with the stock library, which takes
  // NAME.synctex before NAME.synctex.gz: it gets a copy it reads right, or none rather
  // than an old run's. The copy is no part of the run: failing to write it fails nothing.
  void WriteStockSynctex() const {
    std::string copy = ChangeFileExt(job_->source, ".synctex"), text;
    bool made = FileExists(Made(".synctex.gz")) && SynctexText(ReadMade(".synctex.gz"), text);
    if (!made || !WriteWhole(copy, SynctexStockCopy(text, UnixFileName(job_->work), SystemCodePage())))
      DeleteFileA(copy.c_str());
  }

  // What the run read from the source's folder, for the rule that skips a run whose
  // .dvi is newer than all of it.
  void WriteInputs() const {
    std::string folder = job_->folder.substr(0, job_->folder.size() - 1);
    bool cites = CitationLines(ReadMade(".aux")).find("\\bibdata{") != std::string::npos;
    std::vector<std::string> names = ChainInputs(ReadMade(".fls"), cites ? ReadMade(".blg") : std::string(),
                                                 job_->linux_tools ? UnixFileName(folder) : folder,
                                                 ExtractFileName(job_->source),
                                                 [this](const std::string& name) { return InProgramCode(name); });
    std::string list;
    for (const std::string& name : names) list += name + "\r\n";
    WriteWhole(job_->work + ChangeFileExt(ExtractFileName(job_->source), ".inputs"), list);
  }

  // A file a tool names (in the source's code, from the source's folder) as the program
  // names it.
  std::string SourceFolderFile(const std::string& name) const {
    std::string file = name;
    if (Encoding encoding = job_->encoding.value_or(Encoding::kShiftJis); encoding != Encoding::kShiftJis) {
      DecodedText decoded;
      DecodeText(name, encoding, SystemCodePage(), decoded);
      file.assign(decoded.text.data.get(), decoded.text.size);
    }
    for (std::size_t i = 0; i < file.size(); i += CharLength(file, i)) {
      if (file[i] == '/') file[i] = '\\';
    }
    return file.size() > 1 && file[1] == ':' ? file : job_->folder + file;
  }

  // A name the tools wrote, in the program's code: UTF-8, or pTeX's EUC-JP on Linux.
  std::string InProgramCode(const std::string& name) const {
    DecodedText decoded;
    if (!DecodeIfUtf8(name, SystemCodePage(), decoded)) {
      if (!job_->linux_tools) return name;
      DecodeText(name, Encoding::kEucJp, SystemCodePage(), decoded);
    }
    return std::string(decoded.text.data.get(), decoded.text.size);
  }

  Encoding NewDocumentEncoding() const {
    FileCoding coding;
    ParseCoding(ProfileFile(settings_).ReadString("Editor", "Encoding", "SJIS"), "CRLF", coding);
    return coding.encoding;
  }

  // A text of the bridge's own in the source's code, as TeX Quillet reads the log;
  // Shift-JIS, its own code, when the source shows none.
  std::string InLogCode(const std::string& text) const {
    std::string coded;
    Unholdable unholdable;
    FileCoding coding{job_->encoding.value_or(Encoding::kShiftJis), false, LineEnd::kCrLf};
    if (!EncodeText(text, coding, SystemCodePage(), ForeignChars(), nullptr, coded, unholdable)) coded = text;
    return coded;
  }

  void Fail(const std::string& message, const std::string& report = {}) {
    std::string log = Log();
    WriteWhole(log, InLogCode(FailureLog(message)) + report);
    DateAfterSource(log, job_->source);
    job_.reset();
  }

  std::string wintex_, table_, settings_;
  std::deque<VirtexCommand> pending_;
  std::unique_ptr<Job> job_;
};

}  // namespace
}  // namespace quillet

int main() {
  quillet::CommandOptions options(GetCommandLineA());
  if (std::string classes = options.Value("--classes"); !classes.empty()) {
    return quillet::WriteClassList(classes, quillet::RunsLinuxTools(quillet::TableFile(options)));
  }
  return quillet::EngineBridge(options).Run();
}
