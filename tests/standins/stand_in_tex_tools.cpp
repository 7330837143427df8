// Stand-in for the Windows programs of a TeX installation, for the bridges' Windows path:
// copied under the name of a program, it acts as that program.
//   dvipdfmx -o PDF DVI   writes a small PDF that names the .dvi; a file that is no .dvi
//                         gets dvipdfmx's fatal message on the output and status 1.
//   any other name        a TeX engine: "[options] -jobname=JOB SOURCE", run in the work
//                         folder; reads SOURCE and writes JOB.log and JOB.dvi as the
//                         engine does, status 0. Words in the source change that:
//     \undefinedcommand   the log has TeX's error with its line ("l.N ..."), no .dvi,
//                         status 1 (a nonstop run with errors)
//     \loopforever        it never ends, its log begun
//     \crashnow           it dies of an access violation, writing nothing
//     \crashlater         it dies so after its log has begun
//   A source it cannot read gets a log that says so, status 1.
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr char kDviStart[] = "\xF7\x02";  // a .dvi's preamble opcode and format

std::optional<std::string> ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void Write(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// The program's own name, lower case, without folder and ".exe".
std::string OwnName() {
  char path[MAX_PATH];
  std::string name(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
  name.erase(0, name.find_last_of("\\/") + 1);
  if (name.size() > 4) name.resize(name.size() - 4);
  for (char& c : name) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return name;
}

int Convert(const std::vector<std::string>& args) {
  std::string pdf, dvi;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "-o" && i + 1 < args.size()) {
      pdf = args[++i];
    } else {
      dvi = args[i];
    }
  }
  std::optional<std::string> bytes = ReadAll(dvi);
  if (pdf.empty() || !bytes || !bytes->starts_with(kDviStart)) {
    std::puts("dvipdfmx:fatal: Something is wrong. Are you sure this is a DVI file?");
    return 1;
  }
  Write(pdf, "%PDF-1.5\n% stand-in PDF made from " + dvi + "\n%%EOF\n");
  return 0;
}

// The line (from 1) of text that holds word, and that line up to the word's end; 0 when none.
int LineOf(const std::string& text, const std::string& word, std::string& up_to) {
  std::size_t at = text.find(word);
  if (at == std::string::npos) return 0;
  std::size_t begin = text.rfind('\n', at);
  begin = begin == std::string::npos ? 0 : begin + 1;
  up_to = text.substr(begin, at + word.size() - begin);
  int line = 1;
  for (std::size_t i = 0; i < at; ++i) line += text[i] == '\n';
  return line;
}

// Dies as on Windows with no debugger, by the exception's code (Wine would start its own
// debugger, which waits).
[[noreturn]] void Crash() {
  SetUnhandledExceptionFilter([](EXCEPTION_POINTERS* e) -> LONG {
    TerminateProcess(GetCurrentProcess(), e->ExceptionRecord->ExceptionCode);
    return EXCEPTION_EXECUTE_HANDLER;
  });
  RaiseException(EXCEPTION_ACCESS_VIOLATION, EXCEPTION_NONCONTINUABLE, 0, nullptr);
  for (;;) Sleep(INFINITE);
}

int Typeset(const std::vector<std::string>& args) {
  std::string job, source;
  for (const std::string& arg : args) {
    if (arg.starts_with("-jobname=")) {
      job = arg.substr(9);
    } else if (!arg.starts_with("-")) {
      source = arg;
    }
  }
  if (job.empty()) return 2;
  std::printf("This is the stand-in TeX.\n(%s\n", source.c_str());
  std::string log = "This is the stand-in TeX.\r\n**" + source + "\r\n";
  std::optional<std::string> text = ReadAll(source);
  if (!text) {
    Write(job + ".log", log + "! I can't find file `" + source + "'.\r\n");
    return 1;
  }
  if (text->find("\\crashnow") != std::string::npos) Crash();
  log += "(" + source;
  if (text->find("\\crashlater") != std::string::npos) {
    Write(job + ".log", log + " [1]");
    Crash();
  }
  if (text->find("\\loopforever") != std::string::npos) {
    Write(job + ".log", log);
    for (;;) Sleep(INFINITE);
  }
  std::string up_to;
  if (int line = LineOf(*text, "\\undefinedcommand", up_to)) {
    Write(job + ".log", log + "\r\n! Undefined control sequence.\r\nl." + std::to_string(line) + " " + up_to +
                            "\r\n\r\n)\r\nNo pages of output.\r\n");
    return 1;
  }
  Write(job + ".dvi", std::string(kDviStart) + "stand-in DVI of " + source);
  Write(job + ".log", log + " [1] )\r\nOutput written on " + job + ".dvi (1 page).\r\n");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  return OwnName() == "dvipdfmx" ? Convert(args) : Typeset(args);
}
