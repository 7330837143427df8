#pragma once
// The heading index: the seven sectioning keywords, the title that follows a keyword,
// and the orders the list is sorted in.
#include <cstddef>
#include <string>
#include <string_view>

#include "core/text_buffer.h"

namespace quillet {

// In the order of the scan passes.
inline constexpr std::string_view kHeadingKeywords[] = {"\\part",          "\\chapter",   "\\section",
                                                        "\\subsection",    "\\subsubsection",
                                                        "\\paragraph",     "\\subparagraph"};

// What the scan reads of a document: the editor's own text, read in place.
class HeadingSource {
 public:
  virtual ~HeadingSource() = default;
  virtual std::size_t Length() const = 0;
  // The byte at pos (below Length()).
  virtual char At(std::size_t pos) const = 0;
  // The first place at or after from where text starts, on a character start, matching
  // case; npos when there is none.
  virtual std::size_t Find(std::string_view text, std::size_t from) const = 0;
  virtual std::string Range(std::size_t begin, std::size_t end) const = 0;
};

// A document's text model read as a heading source, in place.
class BufferHeadingSource : public HeadingSource {
 public:
  explicit BufferHeadingSource(const TextBuffer& text) : text_(text) {}
  std::size_t Length() const override { return text_.size(); }
  char At(std::size_t pos) const override { return text_[pos]; }
  std::size_t Find(std::string_view text, std::size_t from) const override;
  std::string Range(std::size_t begin, std::size_t end) const override { return text_.Substr(begin, end); }

 private:
  const TextBuffer& text_;
};

// The longest title kept, in bytes.
inline constexpr std::size_t kTitleLimit = 1023;

// The title of the heading whose keyword ends at after: a "*" is stepped over, then a
// "[...]", and the title is the text strictly between the "{" that must follow and the
// first "}" after it (braces are not counted), at most 1023 bytes cut on a character.
// "??" when a "{" does not follow or a closing bracket or brace is missing. Every bracket
// is a character of its own, never the second byte of a double-byte one.
std::string HeadingTitle(const HeadingSource& text, std::size_t after);

// One row of the list: the line is kept as text, as the list shows it.
struct HeadingRow {
  std::string title, kind, line;
};

// The line's number; 0 when its text is not one.
int LineNumberOf(const HeadingRow& row);
// Sort orders of the "行" and "種類" columns (the "名前" column uses the platform's string
// comparison).
bool LineBefore(const HeadingRow& a, const HeadingRow& b);
bool KindBefore(const HeadingRow& a, const HeadingRow& b);

}  // namespace quillet
