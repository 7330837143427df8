#pragma once
// Names derived from a document's caption: untitled captions, autosave and backup names.
#include <string>
#include <string_view>

namespace quillet {

// "文書" + counter + ".tex".
std::string UntitledCaption(int counter);
// A caption that begins with the bytes of "文書" marks a document never saved.
bool IsUntitledCaption(std::string_view caption);

// The autosave file of a document: a caption with a drive ("C:...") or an absolute UNC
// path ("\\server\share\...") keeps its place, any other is put in temp_dir (which ends
// in "\"); then the extension becomes ".$$$" (a document named "*.$$$" gets ".$$$"
// added, so the copy is never the document itself).
std::string AutoSaveNameFor(std::string_view caption, std::string_view temp_dir);

// The backup of a document: its extension replaced by ".bak".
std::string BackupNameFor(std::string_view caption);

}  // namespace quillet
