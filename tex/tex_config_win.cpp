#include "tex/tex_config_win.h"

#include <windows.h>

#include <set>

#include "win/handles_win.h"

namespace quillet {

namespace {

struct FindTraits {
  static HANDLE Null() { return INVALID_HANDLE_VALUE; }
  static void Close(HANDLE h) { FindClose(h); }
};
using FindHandle = Owned<HANDLE, FindTraits>;

// Whether a key list fits the key-list buffer whole, so the platform would give it uncut.
bool FitsKeyBuffer(const std::vector<std::string>& keys) {
  std::size_t size = 1;
  for (const std::string& key : keys) size += key.size() + 1;
  return size < kKeyListBufferSize;
}

}  // namespace

std::string WinProfileStore::Read(const std::string& section, const std::string& key, const std::string& def) const {
  const ProfileSource& source = pass_ ? static_cast<const ProfileSource&>(*pass_) : file_;
  return source.ReadString(section.c_str(), key.c_str(), def);
}

std::vector<std::string> WinProfileStore::Keys(const std::string& section) const {
  if (pass_) {
    std::optional<std::vector<std::string>> keys = pass_->KeyNames(section.c_str());
    if (keys && FitsKeyBuffer(*keys)) return *keys;
  }
  std::vector<char> buffer(kKeyListBufferSize);
  DWORD n = GetPrivateProfileStringA(section.c_str(), nullptr, "", buffer.data(), static_cast<DWORD>(buffer.size()),
                                     file_.path().c_str());
  return SplitKeyList(std::string_view(buffer.data(), n));
}

bool WinProfileStore::Write(const std::string& section, const std::string& key, const std::string& value) {
  pass_.reset();
  if (!changes_) return file_.WriteString(section.c_str(), key.c_str(), value);
  changes_->String(section.c_str(), key.c_str(), value);
  return true;
}

bool WinProfileStore::EraseSection(const std::string& section) {
  pass_.reset();
  if (!changes_) return ProfileWriter(file_).EraseSection(section.c_str()).Commit();
  changes_->EraseSection(section.c_str());
  return true;
}

void WinProfileStore::BeginChanges() { changes_.emplace(file_); }

bool WinProfileStore::CommitChanges() {
  if (!changes_) return true;
  bool written = changes_->Commit();
  changes_.reset();
  return written;
}

std::vector<std::string> WinDirectoryLister::List(const std::string& dir, const std::string& pattern) const {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  FindHandle search(FindFirstFileA((dir + pattern).c_str(), &found));
  if (!search) return names;
  do {
    names.emplace_back(found.cFileName);
  } while (FindNextFileA(search.get(), &found));
  return names;
}

std::vector<std::string> DisplayFontList() {
  std::set<std::string> families = ScreenFontFamilies();
  std::vector<std::string> fonts{kNoSubstitute};
  fonts.insert(fonts.end(), families.begin(), families.end());
  return fonts;
}

}  // namespace quillet
