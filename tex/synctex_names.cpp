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
    for (Encoding encoding : {Encoding::kUtf8, Encoding::kEucJp, Encoding::kShiftJis}) {
      bool valid = encoding == Encoding::kUtf8    ? IsValidUtf8(input.name)
                   : encoding == Encoding::kEucJp ? IsValidEucJp(input.name)
                                                  : IsValidShiftJis(input.name);
      if (valid && SameIgnoringAsciiCase(Comparable(ShiftJis(input.name, encoding, code_page), base), wanted)) {
        tags.push_back(input.tag);
        break;
      }
    }
  }
  return tags;
}

}  // namespace quillet
