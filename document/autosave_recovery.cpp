#include "document/autosave_recovery.h"

#include <algorithm>

#include "core/sjis.h"
#include "document/document_names.h"

namespace quillet {

namespace {
constexpr std::string_view kHeader = "TeX Quillet autosave\t";
constexpr std::string_view kLineEnd = "\r\n";
// More names than this make the question taller than the screen.
constexpr std::size_t kNamesShown = 8;
}  // namespace

std::string AutoSaveRecordHeader(std::string_view settings_file) {
  std::string line(kHeader);
  return line.append(settings_file).append(kLineEnd);
}

std::string AutoSaveRecordLine(const AutoSaveEntry& entry) {
  std::string line = entry.copy;
  line.append("\t").append(entry.document);
  if (!entry.coding.empty()) line.append("\t").append(entry.coding);
  return line.append(kLineEnd);
}

std::optional<AutoSaveRecord> ReadAutoSaveRecord(std::string_view bytes) {
  std::optional<AutoSaveRecord> record;
  // Names never hold a tab, CR or LF, and no Shift-JIS trail byte is one of them.
  for (std::size_t end; (end = bytes.find(kLineEnd)) != std::string_view::npos; bytes.remove_prefix(end + 2)) {
    std::string_view line = bytes.substr(0, end);
    if (!record) {
      if (!StartsWith(line, kHeader)) return std::nullopt;
      record.emplace();
      record->settings_file = line.substr(kHeader.size());
      continue;
    }
    std::size_t tab = line.find('\t');
    if (tab == 0 || tab == std::string_view::npos || tab + 1 == line.size()) continue;
    std::string_view document = line.substr(tab + 1), coding;
    if (std::size_t second = document.find('\t'); second != std::string_view::npos) {
      coding = document.substr(second + 1);
      document = document.substr(0, second);
    }
    AutoSaveEntry entry{std::string(line.substr(0, tab)), std::string(document), std::string(coding)};
    auto same_copy = [&](const AutoSaveEntry& e) { return SameFileName(e.copy, entry.copy); };
    std::erase_if(record->entries, same_copy);  // a later line tells who wrote the copy last
    record->entries.push_back(std::move(entry));
  }
  return record;
}

std::vector<AutoSaveEntry> CopiesToOffer(const std::vector<AutoSaveEntry>& recorded,
                                         const std::vector<std::string>& in_use, const FileTimeLookup& time_of) {
  struct Candidate {
    std::size_t index;
    std::int64_t time;
  };
  std::vector<Candidate> candidates;
  for (std::size_t i = 0; i < recorded.size(); ++i) {
    const AutoSaveEntry& entry = recorded[i];
    if (std::ranges::any_of(in_use, [&](const std::string& copy) { return SameFileName(copy, entry.copy); })) continue;
    std::int64_t copy_time = time_of(entry.copy);
    if (copy_time < 0) continue;  // closed normally, or saved under another name
    if (!IsUntitledCaption(entry.document) && time_of(entry.document) >= copy_time) continue;  // saved since
    candidates.push_back({i, copy_time});
  }
  std::ranges::stable_sort(candidates, std::ranges::greater{}, &Candidate::time);
  std::vector<std::size_t> chosen;
  for (const Candidate& c : candidates) {
    const AutoSaveEntry& entry = recorded[c.index];
    bool taken = std::ranges::any_of(chosen, [&](std::size_t i) {
      return SameFileName(recorded[i].copy, entry.copy) || SameFileName(recorded[i].document, entry.document);
    });
    if (!taken) chosen.push_back(c.index);
  }
  std::ranges::sort(chosen);
  std::vector<AutoSaveEntry> offered;
  for (std::size_t i : chosen) offered.push_back(recorded[i]);
  return offered;
}

std::string RecoveryQuestion(const std::vector<AutoSaveEntry>& offered) {
  std::string text = "前回TeX Quilletが正しく終了しなかったため、\r保存されていない変更が自動保存ﾌｧｲﾙに残っています。\r\r";
  for (std::size_t i = 0; i < offered.size() && i < kNamesShown; ++i) {
    text.append(offered[i].document).append("\r    自動保存ﾌｧｲﾙ: ").append(offered[i].copy).append("\r");
  }
  if (offered.size() > kNamesShown) text.append("ほか ").append(std::to_string(offered.size() - kNamesShown)).append(" 個\r");
  text.append("\r自動保存ﾌｧｲﾙを開きますか?\r");
  text.append("[はい]を選ぶと、変更された文書として元の名前で開きます。\r[いいえ]を選んでも、ﾌｧｲﾙは削除されません。");
  return text;
}

int UntitledNumber(std::string_view caption) {
  constexpr std::string_view kPrefix = "文書", kExt = ".tex";
  if (!StartsWith(caption, kPrefix) || caption.size() < kPrefix.size() + kExt.size() + 1 ||
      caption.substr(caption.size() - kExt.size()) != kExt) {
    return 0;
  }
  std::string_view digits = caption.substr(kPrefix.size(), caption.size() - kPrefix.size() - kExt.size());
  if (digits.size() > 9 || !std::ranges::all_of(digits, [](char c) { return c >= '0' && c <= '9'; })) return 0;
  int n = 0;
  for (char c : digits) n = n * 10 + (c - '0');
  return n;
}

}  // namespace quillet
