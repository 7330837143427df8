#pragma once
// wintex.ini through the platform's private-profile functions, the TeX directories
// through the file system, and the screen fonts for the font-mapping page.
#include <optional>
#include <string>
#include <vector>

#include "tex/tex_config.h"
#include "win/profile_win.h"

namespace quillet {

class WinProfileStore : public ProfileStore {
 public:
  // A bare name (kTeXConfigFile) lives in the Windows directory.
  explicit WinProfileStore(std::string path) : file_(std::move(path)) {}
  // Another file from now on (nothing held back is written).
  void UseFile(std::string path) {
    pass_.reset();
    changes_.reset();
    file_ = ProfileFile(std::move(path));
  }
  std::string Read(const std::string& section, const std::string& key, const std::string& def) const override;
  std::vector<std::string> Keys(const std::string& section) const override;
  bool Write(const std::string& section, const std::string& key, const std::string& value) override;
  bool EraseSection(const std::string& section) override;
  // A 10 MB file written whole per key would take seconds for one page of the dialog.
  void BeginChanges() override;
  bool CommitChanges() override;

  // While the returned pass lives, values and key lists come from the file read once,
  // whole (start-up reads many keys); a write ends it.
  class Pass {
   public:
    explicit Pass(WinProfileStore& store) : store_(store) { store_.pass_.emplace(store_.file_); }
    ~Pass() { store_.pass_.reset(); }
    Pass(const Pass&) = delete;
    Pass& operator=(const Pass&) = delete;

   private:
    WinProfileStore& store_;
  };

 private:
  ProfileFile file_;
  std::optional<ProfileReader> pass_;
  std::optional<ProfileWriter> changes_;
};

class WinDirectoryLister : public DirectoryLister {
 public:
  std::vector<std::string> List(const std::string& dir, const std::string& pattern) const override;
};

// The screen fonts with kNoSubstitute first, for the dialog's font list.
std::vector<std::string> DisplayFontList();

}  // namespace quillet
