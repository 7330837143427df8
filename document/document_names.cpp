#include "document/document_names.h"

#include "core/sjis.h"

namespace quillet {

namespace {
constexpr std::string_view kUntitledPrefix = "文書";
}

std::string UntitledCaption(int counter) { return std::string(kUntitledPrefix) + std::to_string(counter) + ".tex"; }

bool IsUntitledCaption(std::string_view caption) { return StartsWith(caption, kUntitledPrefix); }

std::string AutoSaveNameFor(std::string_view caption, std::string_view temp_dir) {
  bool has_drive = caption.size() >= 2 && caption[1] == ':';
  bool is_unc = StartsWith(caption, "\\\\");
  std::string place = has_drive || is_unc ? std::string(caption) : std::string(temp_dir) + std::string(caption);
  std::string copy = ChangeFileExt(place, ".$$$");
  // A document whose own extension is ".$$$" would be its copy, overwritten by autosave
  // and deleted when it closes: its copy takes a second extension instead.
  if (SameFileName(copy, place)) copy += ".$$$";
  return copy;
}

std::string BackupNameFor(std::string_view caption) { return ChangeFileExt(caption, ".bak"); }

}  // namespace quillet
