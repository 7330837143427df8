// Stand-in for a DVI viewer, or for SumatraPDF, in the tests.
// Usage: stand_in_viewer --service NAME [--topic TOPIC] --record FILE [--record-args FILE]
//        [--ready EVENT]
// Offers the DDE service NAME with the topic TOPIC (NAME when not given), appends every
// execute string and a LF to FILE, and keeps running until it is ended (or the process
// that started it ends). With --record-args it first writes the words of its own command
// line, as a Unicode program such as SumatraPDF reads them, each and a LF, to that file.
// Usage: stand_in_viewer [--print] FILE
// As the PDF program Windows starts for a file (by its program file, or the file's open
// or print command): writes its words so to FILE.shown (with --print, FILE.printed), ends.
#include <vector>

#include "tests/standins/stand_in_common.h"
#include "win/system_dll_win.h"

namespace {

std::vector<std::string> Words() {
  using Split = LPWSTR*(WINAPI*)(LPCWSTR, int*);
  auto split = quillet::SystemFunction<Split>("shell32.dll", "CommandLineToArgvW");
  int count = 0;
  LPWSTR* words = split ? split(GetCommandLineW(), &count) : nullptr;
  std::vector<std::string> result;
  for (int i = 0; i < count; ++i) {
    int length = lstrlenW(words[i]);
    int n = WideCharToMultiByte(CP_ACP, 0, words[i], length, nullptr, 0, nullptr, nullptr);
    std::string word(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, words[i], length, word.data(), n, nullptr, nullptr);
    result.push_back(std::move(word));
  }
  if (words) LocalFree(words);
  return result;
}

void RecordWords(const std::vector<std::string>& words, const std::string& file) {
  for (const std::string& word : words) quillet::standin::AppendRecord(file, word);
}

}  // namespace

int main() {
  using namespace quillet;
  using namespace quillet::standin;
  CommandOptions options = Options();
  std::string record = options.Value("--record");
  std::string service = options.Value("--service");
  std::string topic = options.Value("--topic");
  std::vector<std::string> words = Words();
  if (record.empty() && service.empty() && words.size() > 1 && !words.back().starts_with("--")) {
    RecordWords(words, words.back() + (options.Flag("--print") ? ".printed" : ".shown"));
    return 0;
  }
  if (record.empty() || service.empty()) return 2;
  if (!options.Value("--record-args").empty()) RecordWords(words, options.Value("--record-args"));
  CreateRecord(record);
  // DdeServer takes as topics the names it offers, so another topic is offered too.
  std::vector<std::string> names{service};
  if (!topic.empty() && topic != service) names.push_back(topic);
  DdeServer dde(names, [&](const std::string& text) { AppendRecord(record, text); });
  if (!dde.offered()) return 1;
  SignalReady(options.Value("--ready"));
  RunLoopWhileParentLives([] { return INFINITE; });
  return 0;
}
