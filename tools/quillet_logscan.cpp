// quillet-logscan FILE.log: shows what the error window would hold for a TeX log, the
// source line the program would select and whether the run would count as a success.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "tex/log_scan.h"

namespace {

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

// The whole file, or false with errno set.
bool ReadWholeFile(const char* path, std::string& bytes) {
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path, "rb"));
  if (!file) return false;
  char buffer[1 << 16];
  std::size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) bytes.append(buffer, got);
  return !std::ferror(file.get());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: quillet-logscan FILE.log\n");
    return 2;
  }
  std::string bytes;
  if (!ReadWholeFile(argv[1], bytes)) {
    std::fprintf(stderr, "quillet-logscan: cannot read %s: %s\n", argv[1], std::strerror(errno));
    return 2;
  }
  quillet::LogWindow window = quillet::ScanTeXLog(bytes);
  for (char c : window.text) {
    if (c != '\r') std::fputc(c, stdout);  // the window's lines, each ended by LF
  }
  if (window.line_count) std::fputc('\n', stdout);
  std::printf("=> select %d\n", window.errors ? window.jump_line : 0);
  std::printf("=> result %s\n", window.errors ? "errors" : "success");
  return 0;
}
