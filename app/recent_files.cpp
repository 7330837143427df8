#include "app/recent_files.h"

#include "core/sjis.h"

namespace quillet {

void RecentFiles::Push(const std::string& incoming) {
  slots_[0] = incoming;
  for (int i = 5; i >= 1; --i) slots_[static_cast<std::size_t>(i)] = slots_[static_cast<std::size_t>(i - 1)];
  for (std::size_t dup = 2; dup <= 4; ++dup) {
    if (SameFileName(slots_[dup], slots_[1])) {
      for (std::size_t i = dup; i < 5; ++i) slots_[i] = slots_[i + 1];
      break;
    }
  }
}

void RecentFiles::Load(const std::array<std::string, kShown>& files) {
  slots_ = {};
  for (std::size_t i = 1; i < files.size(); ++i) slots_[i] = files[i];
  Push(files[0]);
}

std::string RecentFiles::Caption(int n) const {
  std::string caption = "&";
  caption += std::to_string(n);
  caption += ' ';
  caption += entry(n);
  return caption;
}

bool RecentFiles::AnyShown() const {
  for (int n = 1; n <= kShown; ++n) {
    if (!entry(n).empty()) return true;
  }
  return false;
}

}  // namespace quillet
