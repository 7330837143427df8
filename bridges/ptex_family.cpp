#include "bridges/ptex_family.h"

#include <vector>

#include "core/command_line.h"
#include "core/jis_codes.h"
#include "core/sjis.h"

namespace quillet {

std::string ProgramName(std::string_view command) {
  std::vector<std::string> words = SplitCommandLine(command);
  std::string name = words.empty() ? std::string() : ExtractFileName(words[0]);
  name.erase(0, name.rfind('/') + 1);
  for (char& c : name) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  for (std::string_view suffix : {".exe", "-dev"}) {
    if (name.ends_with(suffix)) name.resize(name.size() - suffix.size());
  }
  return name;
}

EngineFamily FamilyOf(std::string_view engine_command) {
  std::string name = ProgramName(engine_command);
  for (int e_form = 0; e_form < 2; ++e_form) {
    if (name == "ptex" || name == "platex") return EngineFamily::kPTeX;
    if (name == "uptex" || name == "uplatex") return EngineFamily::kUpTeX;
    if (!name.starts_with('e')) break;
    name.erase(0, 1);
  }
  return EngineFamily::kOther;
}

namespace {

bool SetsKanji(std::string_view engine_command) {
  for (std::string_view word : SplitCommandLine(engine_command)) {
    if (word.starts_with("--")) word.remove_prefix(1);
    // -kanji-internal= names the engine's inner code, not the input's.
    if (word == "-kanji" || word.starts_with("-kanji=")) return true;
  }
  return false;
}

}  // namespace

const char* KanjiName(Encoding encoding) {
  switch (encoding) {
    case Encoding::kUtf8:
      return "utf8";
    case Encoding::kEucJp:
      return "euc";
    case Encoding::kIso2022Jp:
      return "jis";
    case Encoding::kShiftJis:
      break;
  }
  return "sjis";
}

std::string WithKanjiOption(const std::string& engine_command, Encoding encoding) {
  if (FamilyOf(engine_command) == EngineFamily::kOther || SetsKanji(engine_command)) return engine_command;
  return engine_command + " -kanji=" + KanjiName(encoding);
}

std::string CharEngineCannotTake(std::string_view engine_command, std::string_view file_name) {
  if (FamilyOf(engine_command) != EngineFamily::kPTeX) return {};
  for (std::size_t i = 0; i < file_name.size();) {
    std::size_t n = CharLength(file_name, i);
    auto lead = static_cast<unsigned char>(file_name[i]);
    auto code = static_cast<std::uint16_t>(n == 2 ? lead << 8 | static_cast<unsigned char>(file_name[i + 1]) : lead);
    if (!IsJisX0208Code(code)) return std::string(file_name.substr(i, n));
    i += n;
  }
  return {};
}

}  // namespace quillet
