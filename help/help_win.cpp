#include "help/help_win.h"

#include <optional>
#include <vector>

#include "core/sjis.h"
#include "help/help_contents_win.h"
#include "help/help_file.h"
#include "help/help_popup_win.h"
#include "win/handles_win.h"

namespace quillet {

namespace {

bool HasDirectory(std::string_view name) {
  for (std::size_t i = 0; i < name.size(); i += CharLength(name, i)) {
    if (name[i] == '\\' || name[i] == '/' || name[i] == ':') return true;
  }
  return false;
}

std::string WithBackslash(std::string dir) {
  if (!dir.empty() && ExtractFilePath(dir).size() != dir.size()) dir += '\\';
  return dir;
}

// Where a bare name is looked for: beside the program, in the current directory, in
// the Windows directory.
std::vector<std::string> CandidatePaths(const std::string& name) {
  if (HasDirectory(name)) return {name};
  char buffer[MAX_PATH];
  std::vector<std::string> paths;
  DWORD n = GetModuleFileNameA(nullptr, buffer, MAX_PATH);
  if (n > 0 && n < MAX_PATH) paths.push_back(ExtractFilePath(std::string_view(buffer, n)) + name);
  n = GetCurrentDirectoryA(MAX_PATH, buffer);
  if (n > 0 && n < MAX_PATH) paths.push_back(WithBackslash(std::string(buffer, n)) + name);
  n = GetWindowsDirectoryA(buffer, MAX_PATH);
  if (n > 0 && n < MAX_PATH) paths.push_back(WithBackslash(std::string(buffer, n)) + name);
  return paths;
}

std::optional<std::string> ReadWholeFile(const std::string& path) {
  FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  LARGE_INTEGER size{};
  if (!file || !GetFileSizeEx(file.get(), &size) || size.HighPart != 0) return std::nullopt;
  std::string bytes(size.LowPart, '\0');
  DWORD read = 0;
  if (!bytes.empty() && (!ReadFile(file.get(), bytes.data(), size.LowPart, &read, nullptr) || read != size.LowPart)) {
    return std::nullopt;
  }
  return bytes;
}

}  // namespace

struct HelpEngine::Impl {
  std::string file_name;
  std::optional<HelpFile> file;  // kept once read; the windows point into it
  HelpContents contents;
  HelpPopup popup;

  // A missing file is looked for again at the next request.
  bool Load() {
    if (file) return true;
    for (const std::string& path : CandidatePaths(file_name)) {
      if (auto bytes = ReadWholeFile(path)) {
        file = ParseHelpFile(*bytes);
        return true;
      }
    }
    return false;
  }

  HelpResult Finder() {
    if (!Load()) return HelpResult::FileMissing;
    if (file->topics.empty()) return HelpResult::NoTopic;
    return contents.Open(*file) ? HelpResult::Shown : HelpResult::NoTopic;
  }

  HelpResult ContextPopup(HWND owner, ULONG_PTR number) {
    popup.Close();
    if (!Load()) return HelpResult::FileMissing;
    const HelpTopic* topic = number <= UINT32_MAX ? file->Find(static_cast<std::uint32_t>(number)) : nullptr;
    if (!topic) return HelpResult::NoTopic;
    return popup.Show(owner, *topic) ? HelpResult::Shown : HelpResult::NoTopic;
  }
};

HelpEngine::HelpEngine(std::string file_name) : impl_(std::make_unique<Impl>()) {
  impl_->file_name = std::move(file_name);
}

HelpEngine::~HelpEngine() {
  impl_->popup.Close();
  impl_->contents.Close();
}

HelpResult HelpEngine::Request(HWND owner, UINT command, ULONG_PTR data) {
  switch (command) {
    case HELP_FINDER:
      return impl_->Finder();
    case HELP_CONTEXTPOPUP:
      return impl_->ContextPopup(owner, data);
    case HELP_QUIT:
      impl_->popup.Close();
      impl_->contents.Close();
      return HelpResult::Closed;
    default:
      return HelpResult::NoTopic;
  }
}

HWND HelpEngine::contents_window() const { return impl_->contents.hwnd(); }
HWND HelpEngine::popup_window() const { return impl_->popup.hwnd(); }
std::string HelpEngine::popup_text() const { return impl_->popup.text(); }
std::string HelpEngine::shown_topic_text() const { return impl_->contents.shown_text(); }

}  // namespace quillet
