#pragma once
// SyncTeX data of a 500-page book for the benchmarks: 40 lines of type a page, each from
// its own source line, a chapter file every 50 pages, as the engines write it.
#include <string>

namespace quillet::synctex_sample {

constexpr int kPages = 500, kLinesPerPage = 40, kWords = 10, kPagesPerChapter = 50;

// The tag of the chapter a page is in, and the source line of one of its lines of type.
inline int Tag(int page) { return 2 + (page - 1) / kPagesPerChapter; }
inline int SourceLine(int page, int line) { return ((page - 1) % kPagesPerChapter) * kLinesPerPage + line + 1; }

// The data's text; the inputs are named from folder ("/home/u/book/./" or "../"):
// main.tex and chapters/ch0.tex, ch1.tex, ...
inline std::string Text(const std::string& folder) {
  std::string s = "SyncTeX Version:1\nInput:1:";
  s += folder + "main.tex\n";
  for (int chapter = 0; chapter * kPagesPerChapter < kPages; ++chapter)
    s += "Input:" + std::to_string(chapter + 2) + ":" + folder + "chapters/ch" + std::to_string(chapter) + ".tex\n";
  s += "Output:dvi\nMagnification:1000\nUnit:1\nX Offset:4736287\nY Offset:4736287\nContent:\n";
  for (int page = 1; page <= kPages; ++page) {
    std::string tag = std::to_string(Tag(page));
    s += "{" + std::to_string(page) + "\n[1,9:4063232,42532864:21430272,38797312,0\n";
    for (int line = 0; line < kLinesPerPage; ++line) {
      std::string at = tag + "," + std::to_string(SourceLine(page, line)) + ":";
      std::string v = std::to_string(4245152 + line * 983040);
      s += "(" + at + "4063232," + v + ":21430272,455111,127431\n";
      for (int word = 0; word < kWords; ++word) {
        std::string h = std::to_string(4063232 + word * 2100000);
        s += "x" + at + h + "," + v + "\ng" + at + std::to_string(4063232 + word * 2100000 + 218453) + "," + v + "\n";
      }
      s += ")\n";
    }
    s += "]\n}" + std::to_string(page) + "\n";
  }
  return s + "Postamble:\nCount:0\n";
}

}  // namespace quillet::synctex_sample
