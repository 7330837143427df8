#pragma once
// Autosave copies that a run left behind when it ended without closing its documents
// (killed, crashed, the session ended), and what the next start offers to do with them.
//
// A copy's name does not tell its document: "a.tex" and "a.sty" share "a.$$$", and the
// copies of untitled and relatively named documents lie in the temporary directory. So a
// run that writes copies also keeps a small record of its own in the temporary
// directory: a header naming the run's settings file, then one line per copy naming the
// document whose text it holds. The copies themselves stay plain text, as users and
// other programs read them, and nothing else the program writes changes. Lines are only
// ever appended, so a run killed while it adds one leaves a last line without its line
// end, which is ignored. A line may end with a third field, the coding the copy is
// written in ("UTF-8 LF"), which its bytes alone cannot always tell (pure ASCII so far).
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

struct AutoSaveEntry {
  std::string copy;      // the copy's full name
  std::string document;  // the document's full name, or its untitled caption
  std::string coding{};  // the copy's coding as CodingName gives it; empty: found from its bytes
  bool operator==(const AutoSaveEntry&) const = default;
};

// The record's first line, and the line that says a copy holds a document's text.
std::string AutoSaveRecordHeader(std::string_view settings_file);
std::string AutoSaveRecordLine(const AutoSaveEntry& entry);

struct AutoSaveRecord {
  std::string settings_file;
  std::vector<AutoSaveEntry> entries;  // one per copy, with the document last written to it
};
// Reads a record's bytes; nullopt when they do not begin with a whole header.
std::optional<AutoSaveRecord> ReadAutoSaveRecord(std::string_view bytes);

// A file's last-write time in any unit that grows with time; -1 for a missing file.
using FileTimeLookup = std::function<std::int64_t(const std::string&)>;

// The copies worth offering: the copy exists, and its document is untitled, missing, or
// older than the copy. A copy that a running program keeps (in_use) is its own. One entry
// per copy and per document: the newest copy.
std::vector<AutoSaveEntry> CopiesToOffer(const std::vector<AutoSaveEntry>& recorded,
                                         const std::vector<std::string>& in_use, const FileTimeLookup& time_of);

// The question asked at start-up, naming each document and its copy.
std::string RecoveryQuestion(const std::vector<AutoSaveEntry>& offered);

// N of an untitled caption "文書" + N + ".tex"; 0 for any other caption.
int UntitledNumber(std::string_view caption);

}  // namespace quillet
