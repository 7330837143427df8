#include "core/iso2022_jp.h"

#include "core/jis_codes.h"
#include "core/sjis.h"

namespace quillet {

namespace {

struct Designation {
  std::string_view escape;
  JisSet set;
};
constexpr Designation kDesignations[] = {
    {"\x1b(B", JisSet::kAscii},   {"\x1b(J", JisSet::kRoman},   {"\x1b(I", JisSet::kKatakana},
    {"\x1b$@", JisSet::kJis1978}, {"\x1b$B", JisSet::kJis1983}, {"\x1b$(D", JisSet::kJis0212},
};

std::string_view EscapeOf(JisSet set) {
  for (const Designation& d : kDesignations) {
    if (d.set == set) return d.escape;
  }
  return {};
}

bool SingleByteSet(JisSet set) { return set == JisSet::kAscii || set == JisSet::kRoman; }
bool DoubleByteSet(JisSet set) { return set >= JisSet::kJis1978; }
bool JisByte(unsigned char c) { return c >= 0x21 && c <= 0x7E; }

class LineEncoder {
 public:
  LineEncoder(const ForeignChars& chars, JisSet set) : chars_(chars), set_(set) {}

  // One character of the editor's text; false when ISO-2022-JP cannot hold it.
  bool Put(std::uint16_t code, std::string& out) {
    unsigned char lead = static_cast<unsigned char>(code >> 8), low = static_cast<unsigned char>(code);
    if (code < 0x80) {
      if (!SingleByteSet(set_)) Switch(JisSet::kAscii, out);
      out += static_cast<char>(low);
    } else if (code >= 0xA1 && code <= 0xDF) {
      Switch(JisSet::kKatakana, out);
      out += static_cast<char>(low - 0x80);
    } else if (code >= 0x100 && IsGridShiftJis(lead, low)) {
      if (set_ != JisSet::kJis1978) Switch(JisSet::kJis1983, out);
      JisCell jis = JisFromShiftJis(lead, low);
      out += static_cast<char>(jis.row + 0x20);
      out += static_cast<char>(jis.cell + 0x20);
    } else if (char32_t c = code >= 0x100 ? chars_.CharOf(code) : 0; IsKeptByte(c)) {
      out += static_cast<char>(c - kKeptByteBase);
    } else if (IsJis0212(c)) {
      Switch(JisSet::kJis0212, out);
      out += static_cast<char>(((c - kJis0212Base) >> 8) + 0x20);
      out += static_cast<char>(((c - kJis0212Base) & 0xFF) + 0x20);
    } else {
      return false;
    }
    return true;
  }
  // Back in ASCII at the line's end.
  void EndLine(std::string& out) {
    if (!SingleByteSet(set_)) Switch(JisSet::kAscii, out);
  }
  JisSet set() const { return set_; }
  void set_set(JisSet set) { set_ = set; }

 private:
  void Switch(JisSet set, std::string& out) {
    if (set_ == set) return;
    out += EscapeOf(set);
    set_ = set;
  }

  const ForeignChars& chars_;
  JisSet set_;
};

// The program's own form of one line of text (no break inside), from the set in force.
bool EncodeLine(std::string_view line, LineEncoder& encoder, std::string& out) {
  for (TextWalker walk(line); !walk.done(); walk.Next()) {
    if (!encoder.Put(walk.Code(), out)) return false;
  }
  encoder.EndLine(out);
  return true;
}

class Decoder {
 public:
  Decoder(std::string_view bytes, BlockWriter& out, ForeignChars& chars) : bytes_(bytes), out_(out), chars_(chars) {}

  // Reads up to the next line end (or the end); answers the position after the line's bytes.
  std::size_t ReadLine(std::size_t i) {
    while (i < bytes_.size() && bytes_[i] != '\r' && bytes_[i] != '\n') i = ReadOne(i);
    return i;
  }
  JisSet set() const { return set_; }

 private:
  std::size_t ReadOne(std::size_t i) {
    unsigned char c = static_cast<unsigned char>(bytes_[i]);
    if (c == 0x1b) {
      for (const Designation& d : kDesignations) {
        if (bytes_.substr(i).starts_with(d.escape)) {
          set_ = d.set;
          return i + d.escape.size();
        }
      }
    }
    if (c >= 0x80) {
      PutForeign(KeptByte(c));
      return i + 1;
    }
    if (set_ == JisSet::kKatakana && c >= 0x21 && c <= 0x5F) {
      out_.Put(static_cast<char>(c + 0x80));
      return i + 1;
    }
    if (DoubleByteSet(set_) && JisByte(c)) {
      unsigned char next = i + 1 < bytes_.size() ? static_cast<unsigned char>(bytes_[i + 1]) : 0;
      if (!JisByte(next)) {
        PutForeign(KeptByte(c));
        return i + 1;
      }
      JisCell jis{c - 0x20, next - 0x20};
      if (set_ == JisSet::kJis0212) {
        PutForeign(Jis0212Char(jis.row, jis.cell));
      } else {
        out_.PutCode(ShiftJisFromJis(jis));
      }
      return i + 2;
    }
    out_.Put(static_cast<char>(c));
    return i + 1;
  }

  void PutForeign(char32_t c) {
    std::uint16_t code = chars_.CodeFor(c);
    out_.PutCode(code != 0 ? code : kGetaCode);
  }

  std::string_view bytes_;
  BlockWriter& out_;
  ForeignChars& chars_;
  JisSet set_ = JisSet::kAscii;
};

}  // namespace

void JisLineForms::Note(std::string_view text, const Form* own) {
  std::vector<std::optional<Form>>& forms = lines_[std::string(text)];
  if (own) {
    forms.push_back(*own);
  } else {
    forms.emplace_back();
  }
}

void JisLineForms::Finish() {
  std::erase_if(lines_, [](const auto& entry) {
    for (const std::optional<Form>& form : entry.second) {
      if (form) return false;
    }
    return true;
  });
}

const JisLineForms::Form* JisLineForms::Writer::Next(std::string_view text) {
  if (!forms_ || forms_->lines_.empty()) return nullptr;
  auto found = forms_->lines_.find(std::string(text));
  if (found == forms_->lines_.end()) return nullptr;
  std::size_t n = seen_[found->first]++;
  return n < found->second.size() && found->second[n] ? &*found->second[n] : nullptr;
}

void DecodeIso2022Jp(std::string_view bytes, BlockWriter& out, ForeignChars& chars, JisLineForms& forms) {
  Decoder decoder(bytes, out, chars);
  std::string own;
  for (std::size_t i = 0;;) {
    JisSet before = decoder.set();
    std::size_t text_start = out.size();
    std::size_t end = decoder.ReadLine(i);
    std::string_view text = out.Since(text_start);
    // The line as the program would write it from the same set.
    LineEncoder encoder(chars, before);
    own.clear();
    bool same = EncodeLine(text, encoder, own) && own == bytes.substr(i, end - i) && encoder.set() == decoder.set();
    JisLineForms::Form form{std::string(bytes.substr(i, end - i)), before, decoder.set()};
    forms.Note(text, same ? nullptr : &form);
    if (end == bytes.size()) break;
    out.PutBreak();
    i = end + (bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n' ? 2 : 1);
  }
  forms.Finish();
}

bool EncodeIso2022Jp(std::string_view text, const ForeignChars& chars, const JisLineForms* forms,
                     LineEnd line_end, std::string& out, Unholdable& bad) {
  JisLineForms::Writer writer(forms);
  LineEncoder encoder(chars, JisSet::kAscii);
  std::string_view end_bytes = LineEndBytes(line_end);
  std::size_t line = 1;
  for (std::size_t start = 0;; ++line) {
    std::size_t stop = text.find("\r\n", start);
    std::string_view line_text = text.substr(start, stop == std::string_view::npos ? stop : stop - start);
    if (const JisLineForms::Form* form = writer.Next(line_text)) {
      if (encoder.set() != form->before) out += EscapeOf(form->before);
      out += form->bytes;
      encoder.set_set(form->after);
    } else if (!EncodeLine(line_text, encoder, out)) {
      // Found again character by character, for its place.
      LineEncoder probe(chars, JisSet::kAscii);
      std::string scratch;
      for (TextWalker walk(line_text); !walk.done(); walk.Next()) {
        if (!probe.Put(walk.Code(), scratch)) {
          bad = walk.Here(walk.Code(), chars.CharOf(walk.Code()));
          bad.line = line;
          return false;
        }
      }
    }
    if (stop == std::string_view::npos) return true;
    out += end_bytes;
    start = stop + 2;
  }
}

}  // namespace quillet
