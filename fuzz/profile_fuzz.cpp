// Settings files on any bytes. The input is a file's text, then NUL-separated a section,
// a key and a value. A key set in the text reads back, through the platform's key read
// and through a section read, as the value set; every other key reads as before and
// bytes outside the section's lines stay; an erased section is gone and the rest stays
// byte for byte. Integer values read as their number whatever zeros lead, booleans as
// non-zero integers, and strings are cut on a character boundary.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/profile_section.h"
#include "core/profile_text.h"
#include "core/profile_values.h"
#include "fuzz/fuzz_checks.h"
#include "fuzz/profile_model.h"

namespace {

using fuzz_checks::Require;
using fuzz_checks::SplitAtNul;

using namespace quillet;
namespace model = profile_model;

// The integer rules stated another way: leading zeros dropped, then at most 8 hex or 10
// decimal digits, in range.
std::optional<int> IntAsStored(std::string_view text) {
  bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
  std::string_view digits = hex ? text.substr(2) : text;
  bool negative = false;
  if (!hex && !digits.empty() && (digits[0] == '-' || digits[0] == '+')) {
    negative = digits[0] == '-';
    digits.remove_prefix(1);
  }
  if (digits.empty()) return std::nullopt;
  for (char c : digits) {
    bool ok = (c >= '0' && c <= '9') || (hex && ((c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F')));
    if (!ok) return std::nullopt;
  }
  while (digits.size() > 1 && digits.front() == '0') digits.remove_prefix(1);
  if (digits.size() > (hex ? 8u : 10u)) return std::nullopt;
  long long value = std::strtoll(std::string(digits).c_str(), nullptr, hex ? 16 : 10);
  if (hex) return static_cast<int>(static_cast<std::uint32_t>(value));
  if (negative) value = -value;
  if (value < INT32_MIN || value > INT32_MAX) return std::nullopt;
  return static_cast<int>(value);
}

void CheckValueRules(std::string_view text, int def) {
  std::optional<int> stored = IntAsStored(text);
  Require(ParseProfileInt(text, def) == stored.value_or(def));
  Require(ParseProfileBool(text, def & 1) == (stored ? *stored != 0 : (def & 1) != 0));
  std::string cut = CutProfileString(text);
  Require(cut.size() <= kProfileStringLimit && text.substr(0, cut.size()) == cut);
  Require(cut.size() == text.size() || cut.size() + CharLength(text, cut.size()) > kProfileStringLimit);
}

void CheckNumberRoundTrip(int value) {
  std::string text = FormatProfileInt(value);
  Require(ParseProfileInt(text, ~value) == value);
  std::string digits = value < 0 ? text.substr(1) : text;
  Require(ParseProfileInt((value < 0 ? "-" : "+") + std::string(12, '0') + digits, ~value) == value);
  static const char kHex[] = "0123456789abcdef";
  std::string hex;
  for (auto v = static_cast<std::uint32_t>(value); v; v >>= 4) hex.insert(hex.begin(), kHex[v & 15]);
  Require(ParseProfileInt("0X" + std::string(9, '0') + hex, ~value) == value);
}

// Every key of every section (the first of its name) reads the same in both texts, but
// for the one changed or erased.
void CheckOthersRead(const std::vector<model::Section>& before, const std::vector<model::Section>& after,
                     std::string_view section, std::optional<std::string_view> key) {
  int checked = 0;
  for (const model::Section& s : before) {
    if (model::FindSection(before, s.name) != &s) continue;
    bool same_section = SameIgnoringAsciiCase(s.name, section);
    if (same_section && !key) continue;
    for (const model::Entry& e : s.entries) {
      if (same_section && SameIgnoringAsciiCase(e.name, *key)) continue;
      if (++checked > 64) return;
      Require(model::Read(after, s.name, e.name) == model::Read(before, s.name, e.name));
    }
  }
}

// The program's own reading of a whole file gives each section as the platform's section
// read does, and finds in it what the platform's key and key-list reads find.
void CheckSectionReads(std::string_view text, const std::vector<model::Section>& sections, std::string_view asked) {
  if (text.find('\0') != std::string_view::npos) return;
  ProfileText whole{text};
  if (!model::Trim(asked).empty()) {  // the program names no section ""
    Require(whole.SectionEntries(asked).has_value() == (model::FindSection(sections, asked) != nullptr));
  }
  int checked = 0;
  for (const model::Section& s : sections) {
    if (&s == &sections.front() || model::FindSection(sections, s.name) != &s) continue;
    Require(whole.SectionEntries(s.name) == model::SectionRead(s));
    ProfileSection read(model::SectionRead(s));
    Require(read.KeyNames() == model::KeyNames(s));
    for (const model::Entry& e : s.entries) {
      if (e.name.empty() || e.name.front() == ';') continue;  // a section read leaves comments out
      if (++checked > 64) return;
      Require(read.Find(e.name) == model::Read(sections, s.name, e.name));
    }
  }
}

// What the program stores reads back, through the platform's key read and through a
// section read; what it refuses leaves the text as it was.
void CheckSet(std::string_view before_text, std::string_view section, std::string_view key, std::string_view value) {
  ProfileText text{std::string(before_text)};
  bool stored = text.Set(section, key, value);
  const std::string& after_text = text.text();
  if (!stored) {
    Require(after_text == before_text);
    return;
  }
  std::vector<model::Section> before = model::Parse(before_text), after = model::Parse(after_text);
  const std::string read = model::WrittenValueAsRead(value);
  Require(model::Read(after, section, key) == read);
  const model::Section* changed = model::FindSection(after, section);
  Require(changed && ProfileSection(model::SectionRead(*changed)).Find(key) == read);
  if (!model::HoldableSection(section) || !model::HoldableKey(key) || !model::HoldableValue(value)) return;
  CheckOthersRead(before, after, section, key);
  if (const model::Section* old = model::FindSection(before, section)) {
    std::string_view head = before_text.substr(0, old->begin), tail = before_text.substr(old->end);
    Require(after_text.size() >= head.size() + tail.size() && after_text.starts_with(head) && after_text.ends_with(tail));
  } else {
    Require(after_text.starts_with(before_text));
  }
}

void CheckErase(std::string_view before_text, std::string_view section) {
  ProfileText text{std::string(before_text)};
  text.EraseSection(section);
  if (!model::HoldableSection(section)) return;
  std::vector<model::Section> before = model::Parse(before_text), after = model::Parse(text.text());
  Require(!model::FindSection(after, section));
  CheckOthersRead(before, after, section, std::nullopt);
  std::string kept;
  for (const model::Section& s : before) {
    if (&s == &before.front() || !SameIgnoringAsciiCase(s.name, model::Trim(section))) {
      kept.append(before_text.substr(s.begin, s.end - s.begin));
    }
  }
  Require(text.text() == kept);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  std::vector<std::string_view> parts = SplitAtNul(input);
  int def = size >= 4 ? static_cast<int>(data[0] | data[1] << 8 | data[2] << 16 | static_cast<unsigned>(data[3]) << 24)
                      : 7;
  for (std::string_view part : parts) CheckValueRules(part, def);
  CheckNumberRoundTrip(def);

  std::string_view file = parts[0];
  CheckSectionReads(file, model::Parse(file), parts.size() >= 2 ? parts[1] : std::string_view("s"));
  if (parts.size() >= 3) {
    std::string_view value = parts.size() >= 4 ? parts[3] : std::string_view();
    CheckSet(file, parts[1], parts[2], value);
    CheckErase(file, parts[1]);
  }
  return 0;
}
