#pragma once
// What a text file is written in: its encoding (Shift-JIS, UTF-8 with or without a byte
// order mark, EUC-JP, ISO-2022-JP) and its kind of line end, found from its bytes.
// Pure ASCII, and anything that reads as more than one of them without a clear sign, is
// Shift-JIS: the program's own code, whose files must never be taken for another.
#include <cstddef>
#include <string>
#include <string_view>

namespace quillet {

enum class Encoding { kShiftJis, kUtf8, kEucJp, kIso2022Jp };
enum class LineEnd { kCrLf, kLf, kCr };

struct FileCoding {
  Encoding encoding = Encoding::kShiftJis;
  bool bom = false;  // UTF-8 only: the file starts with EF BB BF
  LineEnd line_end = LineEnd::kCrLf;
  bool operator==(const FileCoding&) const = default;
};

// How the status bar names a coding: "SJIS CRLF", "UTF-8 BOM LF", "EUC CR", "JIS CRLF".
std::string CodingName(const FileCoding& coding);
// The encoding's part of that name ("SJIS", "UTF-8 BOM", "EUC", "JIS").
std::string EncodingName(Encoding encoding, bool bom);
// The line end's part ("CRLF", "LF", "CR") and its bytes.
const char* LineEndName(LineEnd line_end);
std::string_view LineEndBytes(LineEnd line_end);

// The coding named by those two parts (as the settings file stores them); false when
// either part names nothing.
bool ParseCoding(std::string_view encoding_name, std::string_view line_end_name, FileCoding& coding);
// The same for a whole name as CodingName gives it.
bool ParseCodingName(std::string_view name, FileCoding& coding);

// The line ends a text holds, by kind (a CR LF counts once, as CR LF).
struct LineEndCounts {
  std::size_t crlf = 0, cr = 0, lf = 0;
  // More than one kind.
  bool mixed() const;
  // The kind most lines end with (CR LF on a tie with it); fallback when there are none.
  LineEnd Majority(LineEnd fallback) const;
};

// Why bytes cannot be a document's text.
enum class NotText { kNone, kUtf16, kBinary };

struct DetectedCoding {
  NotText not_text = NotText::kNone;
  FileCoding coding;
  bool mixed_line_ends = false;
  // The bytes hold some of 0x80 or more without a UTF-8 byte order mark: which encoding
  // they are in is still to be found (GuessEncoding).
  bool needs_guess = false;
};

// The coding of a file's bytes. A file without line ends takes line_end_default.
DetectedCoding DetectCoding(std::string_view bytes, LineEnd line_end_default);
// The same short of the guess among the encodings with eight-bit bytes, for a reader that
// tries UTF-8 by reading it.
DetectedCoding DetectLayout(std::string_view bytes, LineEnd line_end_default);
// UTF-8 when the bytes are valid UTF-8, else EUC-JP when they read as its prose, else
// Shift-JIS.
Encoding GuessEncoding(std::string_view bytes);

// Whether the bytes read as each encoding (strictly: every byte part of a character).
bool IsValidUtf8(std::string_view bytes);
bool IsValidEucJp(std::string_view bytes);
bool IsValidShiftJis(std::string_view bytes);

}  // namespace quillet
