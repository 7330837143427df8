#include "tex/synctex_names.h"

#include "core/sjis.h"
#include "core/text_decode.h"
#include "core/text_encoding.h"

namespace quillet {

namespace {

std::string ShiftJis(std::string_view bytes, Encoding encoding, const CodePage932& code_page) {
  if (encoding == Encoding::kShiftJis) return std::string(bytes);
  DecodedText decoded;
  DecodeText(bytes, encoding, code_page, decoded);
  return std::string(decoded.text.data.get(), decoded.text.size);
}

bool IsFull(std::string_view name) {
  return (!name.empty() && (name[0] == '\\' || name[0] == '/')) || (name.size() >= 2 && name[1] == ':');
}

// The parts between "\" or "/"; a Shift-JIS trail byte 0x5C is no separator.
std::vector<std::string> Parts(std::string_view name) {
  std::vector<std::string> parts(1);
  for (std::size_t i = 0; i < name.size();) {
    std::size_t n = CharLength(name, i);
    if (n == 1 && (name[i] == '\\' || name[i] == '/')) parts.emplace_back();
    else parts.back().append(name.substr(i, n));
    i += n;
  }
  return parts;
}

// Each part between "/" (no byte of a character in any of the codes) in its own code.
std::string ShiftJisByParts(std::string_view name, const CodePage932& code_page) {
  std::string out;
  for (bool first = true; first || !name.empty(); first = false) {
    std::size_t slash = name.find('/');
    std::string_view part = name.substr(0, slash);
    out.append(first ? "" : "/").append(ShiftJis(part, SynctexPartEncoding(part), code_page));
    name.remove_prefix(slash == std::string_view::npos ? name.size() : slash + 1);
  }
  return out;
}

// Whether the comparable data name ends in the part of source after its drive letter.
bool EndsInPathOf(const std::string& data_name, const std::string& source) {
  if (data_name.empty() || data_name[0] != '\\' || source.size() < 3 || source[1] != ':') return false;
  std::string_view path = std::string_view(source).substr(2);
  for (std::size_t i = 0; i < data_name.size(); i += CharLength(data_name, i)) {
    if (data_name.size() - i == path.size()) return SameIgnoringAsciiCase(std::string_view(data_name).substr(i), path);
  }
  return false;
}

std::string Comparable(std::string_view name, std::string_view folder) {
  std::string full;
  if (!IsFull(name) && !folder.empty()) full.append(folder).append("\\");
  full.append(name);
  std::vector<std::string> kept;
  bool first = true;
  for (std::string& part : Parts(full)) {
    if (part == "..") {
      if (kept.size() > 1) kept.pop_back();
    } else if ((part != "." && !part.empty()) || first) {
      kept.push_back(std::move(part));
    }
    first = false;
  }
  std::string out;
  for (std::size_t i = 0; i < kept.size(); ++i) out.append(i ? "\\" : "").append(kept[i]);
  return out;
}

}  // namespace

Encoding SynctexPartEncoding(std::string_view part) {
  return IsValidUtf8(part) ? Encoding::kUtf8 : IsValidEucJp(part) ? Encoding::kEucJp : Encoding::kShiftJis;
}

std::string SynctexComparableName(std::string_view name, std::string_view folder, const CodePage932& code_page) {
  Encoding encoding = IsValidUtf8(name) ? Encoding::kUtf8 : Encoding::kShiftJis;
  Encoding folder_encoding = IsValidUtf8(folder) ? Encoding::kUtf8 : Encoding::kShiftJis;
  return Comparable(ShiftJis(name, encoding, code_page), ShiftJis(folder, folder_encoding, code_page));
}

std::vector<std::int32_t> SynctexTagsOf(const SynctexData& data, std::string_view source, std::string_view folder,
                                        const CodePage932& code_page) {
  const std::string wanted = SynctexComparableName(source, folder, code_page);
  const std::string base = SynctexComparableName(folder, "", code_page);
  std::vector<std::int32_t> tags;
  for (const SynctexInput& input : data.inputs) {
    auto names_source = [&](const std::string& shift_jis) {
      std::string name = Comparable(shift_jis, base);
      return SameIgnoringAsciiCase(name, wanted) || EndsInPathOf(name, wanted);
    };
    bool found = names_source(ShiftJisByParts(input.name, code_page));
    for (Encoding encoding : {Encoding::kUtf8, Encoding::kEucJp, Encoding::kShiftJis}) {
      bool valid = encoding == Encoding::kUtf8    ? IsValidUtf8(input.name)
                   : encoding == Encoding::kEucJp ? IsValidEucJp(input.name)
                                                  : IsValidShiftJis(input.name);
      found = found || (valid && names_source(ShiftJis(input.name, encoding, code_page)));
    }
    if (found) tags.push_back(input.tag);
  }
  return tags;
}

}  // namespace quillet
