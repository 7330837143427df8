#pragma once
// The recent-file list of the File menu: four places shown, most recent first, plus the
// name about to be pushed (slot 0) and the one pushed off the end (slot 5), which comes
// back when the push removed a duplicate.
#include <array>
#include <string>

namespace quillet {

class RecentFiles {
 public:
  static constexpr int kShown = 4;

  // Puts incoming at the top; the first later entry equal to it (without regard to ASCII
  // case) leaves the list and the entry pushed off the end comes back.
  void Push(const std::string& incoming);
  // The start-up load: File1..File4 go to slots 0..3 and one push puts them in place, so
  // a File1 equal to a later entry removes that entry.
  void Load(const std::array<std::string, kShown>& files);

  // Slot 1..4 as shown ("" for an empty place).
  const std::string& entry(int n) const { return slots_[static_cast<std::size_t>(n)]; }
  // "&n " + entry n.
  std::string Caption(int n) const;
  bool AnyShown() const;

 private:
  std::array<std::string, 6> slots_;
};

}  // namespace quillet
