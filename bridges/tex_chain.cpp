#include "bridges/tex_chain.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdio>

#include "bridges/bridge_commands.h"
#include "bridges/ptex_family.h"
#include "core/byte_scan.h"
#include "core/sjis.h"
#include "tex/log_scan.h"

namespace quillet {

namespace {

// mendex names the code by its first letter: -S, -E, -J, -U.
std::string MendexMode(Encoding encoding) {
  return std::string("-") + static_cast<char>(KanjiName(encoding)[0] - 'a' + 'A');
}

// A string in single quotes for Perl: a backslash or quote inside escaped.
std::string PerlQuote(std::string_view text) {
  std::string quoted = "'";
  for (char c : text) {
    if (c == '\\' || c == '\'') quoted += '\\';
    quoted += c;
  }
  return quoted + "'";
}

// A word of a command line: for /bin/sh, or for a Windows program.
std::string Word(const std::string& word, Quoting quoting) {
  return quoting == Quoting::kShell ? ShellQuote(word) : "\"" + word + "\"";
}

// The lines of a tool's file without their blanks around.
std::vector<std::string_view> Lines(std::string_view text) {
  std::vector<std::string_view> lines = SplitTextLines(text);
  for (std::string_view& line : lines) line = Trimmed(line);
  return lines;
}

int NumberAt(std::string_view text) {
  int number = 0;
  std::from_chars(text.data(), text.data() + text.size(), number);
  return number;
}

void AddOnce(std::vector<ToolError>& errors, ToolError error) {
  bool known = std::any_of(errors.begin(), errors.end(), [&](const ToolError& e) {
    return e.file == error.file && e.line == error.line && e.message == error.message;
  });
  if (!known) errors.push_back(std::move(error));
}

}  // namespace

std::string WithSyncTeX(const std::string& engine_command) {
  bool engine = ProgramName(engine_command).ends_with("tex");
  return !engine || engine_command.find("-synctex") != std::string::npos ? engine_command
                                                                          : engine_command + " -synctex=1";
}

std::optional<ChainTools> ChainToolsFor(const std::string& engine_command, Encoding encoding) {
  std::string program = ProgramName(engine_command);
  std::string kanji = std::string("-kanji=") + KanjiName(encoding);
  EngineFamily family = program.ends_with("latex") ? FamilyOf(engine_command) : EngineFamily::kOther;
  if (family == EngineFamily::kPTeX) {
    return ChainTools{WithSyncTeX(WithKanjiOption(engine_command, encoding)), "pbibtex " + kanji,
                      "mendex -f " + MendexMode(encoding)};
  }
  if (family == EngineFamily::kUpTeX) {
    // upmendex reads UTF-8 only; mendex takes the other codes.
    return ChainTools{WithSyncTeX(WithKanjiOption(engine_command, encoding)), "upbibtex " + kanji,
                      encoding == Encoding::kUtf8 ? "upmendex -f" : "mendex -f " + MendexMode(encoding)};
  }
  if (program == "latex") return ChainTools{WithSyncTeX(engine_command), "bibtex", "makeindex"};
  return std::nullopt;
}

std::string JobNameFor(std::string_view source_name) {
  std::string_view base = source_name.substr(0, source_name.rfind('.'));
  bool plain = !base.empty() && base.front() != '-' && std::all_of(base.begin(), base.end(), [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_' ||
           c == '.' || c == '+';
  });
  if (plain) return std::string(base);
  std::uint32_t hash = 2166136261u;  // FNV-1a: the same name gives the same job
  for (char c : source_name) hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
  char hex[9];
  std::snprintf(hex, sizeof hex, "%08x", static_cast<unsigned>(hash));
  return std::string("quillet-") + hex;
}

std::string LatexmkConfig(const ChainTools& tools) {
  return "# Written by TeX Quillet's engine bridge for each run.\n"
         "$latex = " + PerlQuote(tools.engine + " %O %S") + ";\n" +
         "$bibtex = " + PerlQuote(tools.bibliography + " %O %B") + ";\n" +
         "$makeindex = " + PerlQuote(tools.index + " %O -o %D %S") + ";\n" +
         "$dvi_mode = 1;\n$pdf_mode = 0;\n$postscript_mode = 0;\n"
         "$max_repeat = " + std::to_string(kMaxEnginePasses) + ";\n";
}

std::string LatexmkCommand(const std::string& latexmk, const std::string& config_name, bool user_config,
                           const std::string& job, const std::string& source_name, Quoting quoting) {
  return latexmk + " -norc -r " + Word(config_name, quoting) + (user_config ? " -r ../.latexmkrc" : "") +
         " -jobname=" + job + " " + Word("../" + source_name, quoting);
}

std::string EnginePassCommand(const std::string& engine, const std::string& job, const std::string& source_name,
                              Quoting quoting) {
  return engine + " -recorder -jobname=" + job + " " + Word("../" + source_name, quoting);
}

std::string BibliographyCommand(const std::string& tool, const std::string& job) { return tool + " " + job; }

std::string IndexCommand(const std::string& tool, const std::string& job) {
  return tool + " -o " + job + ".ind " + job + ".idx";
}

Variables ChainVariables(const UserPaths& paths, const std::function<std::string(const std::string&)>& convert) {
  const std::string source_folder = "..";
  auto user = [&](const std::string& list) {
    std::vector<std::string> folders;
    for (std::size_t begin = 0; begin <= list.size();) {
      std::size_t end = std::min(list.find(';', begin), list.size());
      std::string folder = end > begin ? convert(list.substr(begin, end - begin)) : std::string();
      if (!folder.empty()) folders.push_back(std::move(folder));
      begin = end + 1;
    }
    return folders;
  };
  std::vector<std::string> inputs = user(paths.inputs);
  inputs.insert(inputs.begin(), source_folder);
  Variables variables = {{"TEXINPUTS", inputs},
                         {"BIBINPUTS", {source_folder}},
                         {"BSTINPUTS", {source_folder}},
                         {"INDEXSTYLE", {source_folder}}};
  const std::pair<const char*, const std::string*> own[] = {
      {"TEXFONTS", &paths.fonts}, {"TEXFORMATS", &paths.formats}, {"TEXPOOL", &paths.pool}};
  for (auto [name, list] : own) {
    if (std::vector<std::string> folders = user(*list); !folders.empty()) variables.emplace_back(name, folders);
  }
  return variables;
}

std::string SearchPathValue(const std::vector<std::string>& folders, char separator) {
  std::string value;
  for (const std::string& folder : folders) value.append(folder) += separator;
  return value;
}

ChainStep NextStep(const ChainTools& tools, const PassFacts& facts, ChainProgress& progress) {
  if (facts.engine_errors) return ChainStep::kDone;
  bool cites = facts.citations.find("\\bibdata{") != std::string::npos;
  if (!tools.bibliography.empty() && cites && facts.citations != progress.citations_done) {
    progress.citations_done = facts.citations;
    progress.engine_due = true;
    return ChainStep::kBibliography;
  }
  if (!tools.index.empty() && !facts.index.empty() && facts.index != progress.index_done) {
    progress.index_done = facts.index;
    progress.engine_due = true;
    return ChainStep::kIndex;
  }
  if ((progress.engine_due || facts.rerun_asked) && progress.engine_passes < kMaxEnginePasses) {
    progress.engine_due = false;
    ++progress.engine_passes;
    return ChainStep::kEngine;
  }
  return ChainStep::kDone;
}

std::string CitationLines(std::string_view aux) {
  std::string lines;
  for (std::string_view line : Lines(aux)) {
    if (StartsWith(line, "\\citation{") || StartsWith(line, "\\bibdata{") || StartsWith(line, "\\bibstyle{")) {
      lines.append(line) += '\n';
    }
  }
  return lines;
}

bool LogAsksRerun(std::string_view log) {
  for (std::string_view asks : {"Rerun to get", "may have changed. Rerun", "Rerun LaTeX"}) {
    if (log.find(asks) != std::string_view::npos) return true;
  }
  return false;
}

std::vector<ToolError> BibliographyErrors(std::string_view blg) {
  std::vector<ToolError> errors;
  std::vector<std::string_view> lines = Lines(blg);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::string_view line = lines[i];
    std::size_t dashes = line.find("---");
    if (dashes == std::string_view::npos) continue;
    std::string_view where = line.substr(dashes + 3);
    if (!StartsWith(where, "line ") && !StartsWith(where, "while reading file")) continue;
    std::string_view message = dashes > 0 ? line.substr(0, dashes) : i > 0 ? lines[i - 1] : std::string_view();
    ToolError error{"", 0, std::string(message)};
    // The tool's own .aux is not the user's to open: only the .bib is named.
    if (std::size_t of = where.find(" of file "); StartsWith(where, "line ") && of != std::string_view::npos) {
      std::string_view file = where.substr(of + 9);
      if (!file.ends_with(".aux")) error = {std::string(file), NumberAt(where.substr(5)), std::string(message)};
    }
    AddOnce(errors, std::move(error));
  }
  return errors;
}

int LineInFile(std::string_view bytes, int counted) {
  int line = 1, seen = 1;
  for (std::size_t i = 0; i < bytes.size() && seen < counted; ++i) {
    if (bytes[i] != '\r' && bytes[i] != '\n') continue;
    ++seen;
    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
      if (seen == counted) break;  // the number names the LF of the line's own end
      ++seen;
      ++i;
    }
    ++line;
  }
  return line;
}

std::vector<ToolError> IndexErrors(std::string_view ilg) {
  std::vector<ToolError> errors;
  std::vector<std::string_view> lines = Lines(ilg);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::string_view line = lines[i];
    if (StartsWith(line, "Error: ") || line.find("Couldn't find input file") != std::string_view::npos) {
      AddOnce(errors, {"", 0, std::string(StartsWith(line, "Error: ") ? line.substr(7) : line)});
    } else if (StartsWith(line, "!! ")) {  // makeindex: the cause is on the next line
      std::string message(line.substr(3));
      if (i + 1 < lines.size()) message.append(" ").append(lines[i + 1]);
      AddOnce(errors, {"", 0, message});
    }
  }
  return errors;
}

std::vector<ToolError> LatexmkErrors(std::string_view messages) {
  std::vector<ToolError> errors;
  std::vector<std::string_view> lines = Lines(messages);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::string_view line = lines[i];
    if (!StartsWith(line, "Latexmk: ")) continue;
    bool complaint = line.find("WON'T RUN") != std::string_view::npos ||
                     line.find("gave return code") != std::string_view::npos ||
                     line.find("Could not") != std::string_view::npos ||
                     line.find("Couldn't") != std::string_view::npos;
    if (!complaint || line.find("aux file") != std::string_view::npos) continue;
    std::string message(line.substr(9));
    // The files it misses follow on lines of their own.
    for (; i + 1 < lines.size() && !lines[i + 1].empty() && !StartsWith(lines[i + 1], "Latexmk:") &&
           lines[i + 1].find(' ') == std::string_view::npos;
         ++i) {
      message.append(" ").append(lines[i + 1]);
    }
    AddOnce(errors, {"", 0, message});
  }
  return errors;
}

std::string ExitCodeText(int status) {
  if (status >= 0 && status <= 0xFFFF) return std::to_string(status);
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(status));
  return text;
}

std::string ChainReport(std::string_view step, const std::vector<ToolError>& errors) {
  const std::string mark(kChainReportMark);
  std::string report = mark + std::string(step) + "\n";
  for (const ToolError& e : errors) {
    report += mark;
    if (!e.file.empty()) report.append(e.file).append(":").append(std::to_string(e.line)).append(": ");
    report.append(e.message) += '\n';
  }
  return report;
}

namespace {

// Whether name begins with folder and a separator, "/" and "\\" alike, ASCII letters in
// any case.
std::size_t AfterFolder(std::string_view name, std::string_view folder) {
  while (!folder.empty() && (folder.back() == '/' || folder.back() == '\\')) folder.remove_suffix(1);
  if (folder.empty() || name.size() <= folder.size() + 1) return 0;
  for (std::size_t i = 0; i < folder.size(); ++i) {
    bool separators = (name[i] == '/' || name[i] == '\\') && (folder[i] == '/' || folder[i] == '\\');
    if (!separators && !SameIgnoringAsciiCase(name.substr(i, 1), folder.substr(i, 1))) return 0;
  }
  char next = name[folder.size()];
  return next == '/' || next == '\\' ? folder.size() + 1 : 0;
}

}  // namespace

std::vector<std::string> ChainInputs(std::string_view fls, std::string_view blg, std::string_view source_folder,
                                     std::string_view source_name,
                                     const std::function<std::string(const std::string&)>& name_of) {
  std::vector<std::string_view> lines = Lines(fls);
  // The tools run one folder below the source's and name it as they found it (Wine's
  // drive link resolved): the recorder's working folder tells that name.
  std::string folder(source_folder);
  for (std::string_view line : lines) {
    if (!StartsWith(line, "PWD ")) continue;
    std::string_view work = line.substr(4);
    if (std::size_t cut = work.find_last_of("/\\"); cut != std::string_view::npos) folder = work.substr(0, cut);
  }
  std::vector<std::string> inputs;
  auto take = [&](std::string_view name) {
    std::size_t from = StartsWith(name, "../") || StartsWith(name, "..\\") ? 3 : AfterFolder(name, folder);
    if (from == 0) {
      if (AfterFolder(name, source_folder) == 0) return;  // the work folder's own files, or the distribution's
      from = AfterFolder(name, source_folder);
    }
    while (from < name.size() && name[from] == '/') ++from;
    std::string relative = name_of(std::string(name.substr(from)));
    // A slash is never a byte of a double-byte character: it becomes the folder separator.
    std::replace(relative.begin(), relative.end(), '/', '\\');
    if (relative.empty() || relative == source_name ||
        std::find(inputs.begin(), inputs.end(), relative) != inputs.end()) {
      return;
    }
    inputs.push_back(std::move(relative));
  };
  for (std::string_view line : lines) {
    if (StartsWith(line, "INPUT ")) take(line.substr(6));
  }
  for (std::string_view line : Lines(blg)) {
    if (std::size_t colon = line.find(": "); StartsWith(line, "Database file #") && colon != std::string_view::npos) {
      take("../" + std::string(line.substr(colon + 2)));
    }
  }
  return inputs;
}

}  // namespace quillet
