#include "document/autosave_recovery.h"

#include <gtest/gtest.h>

#include <cctype>
#include <map>

namespace quillet {
namespace {

using Entries = std::vector<AutoSaveEntry>;

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

TEST(AutoSaveRecoveryTest, RecordsReadBackWhatWasAppendedAndIgnoreACutLastLine) {
  std::string whole = AutoSaveRecordHeader("C:\\WINDOWS\\quillet.ini") +
                      AutoSaveRecordLine({"C:\\doc\\a.$$$", "C:\\doc\\a.tex"}) +
                      AutoSaveRecordLine({"C:\\TEMP\\文書1.$$$", "文書1.tex", "UTF-8 BOM LF"}) +
                      AutoSaveRecordLine({"C:\\doc\\A.$$$", "C:\\doc\\a.sty"});  // the same copy, last for a.sty
  auto record = ReadAutoSaveRecord(whole);
  ASSERT_TRUE(record);
  EXPECT_EQ(record->settings_file, "C:\\WINDOWS\\quillet.ini");
  Entries expected{{"C:\\TEMP\\文書1.$$$", "文書1.tex", "UTF-8 BOM LF"}, {"C:\\doc\\A.$$$", "C:\\doc\\a.sty"}};
  EXPECT_EQ(record->entries, expected);
  // A run killed while appending: every cut leaves what was whole before it.
  std::string two = AutoSaveRecordHeader("q.ini") + AutoSaveRecordLine({"C:\\b.$$$", "C:\\b.tex"});
  for (std::size_t cut = 0; cut <= two.size(); ++cut) {
    auto read = ReadAutoSaveRecord(std::string_view(two).substr(0, cut));
    std::size_t header = AutoSaveRecordHeader("q.ini").size();
    EXPECT_EQ(read.has_value(), cut >= header) << cut;
    if (read) {
      EXPECT_EQ(read->entries.size(), cut == two.size() ? 1u : 0u) << cut;
    }
  }
  // Not a record, or lines that name nothing.
  EXPECT_FALSE(ReadAutoSaveRecord("a.$$$\ta.tex\r\n"));
  EXPECT_FALSE(ReadAutoSaveRecord(""));
  auto odd = ReadAutoSaveRecord(AutoSaveRecordHeader("q.ini") + "\r\nno tab\r\n\ta.tex\r\na.$$$\t\r\n");
  ASSERT_TRUE(odd);
  EXPECT_TRUE(odd->entries.empty());
}

TEST(AutoSaveRecoveryTest, OffersCopiesNewerThanTheirDocumentsOnceEach) {
  std::map<std::string, std::int64_t> times = {
      {"C:\\d\\newer.$$$", 200},  {"C:\\d\\newer.tex", 100},   // edited after the last save
      {"C:\\d\\older.$$$", 100},  {"C:\\d\\older.tex", 200},   // saved after the copy
      {"C:\\d\\same.$$$", 100},   {"C:\\d\\same.tex", 100},    // saved as the copy was written
      {"C:\\d\\gone.$$$", 100},                                 // the document was removed
      {"C:\\T\\文書3.$$$", 50},                                 // untitled: no file of its own
      {"C:\\d\\run.$$$", 300},    {"C:\\d\\run.tex", 100},     // a running program's copy
      {"C:\\d\\two.$$$", 300},    {"C:\\d\\two.tex", 100},     // one document, two copies
      {"C:\\T\\two.$$$", 400},
  };
  Entries recorded = {
      {"C:\\d\\newer.$$$", "C:\\d\\newer.tex"}, {"C:\\d\\older.$$$", "C:\\d\\older.tex"},
      {"C:\\d\\same.$$$", "C:\\d\\same.tex"},   {"C:\\d\\gone.$$$", "C:\\d\\gone.tex"},
      {"C:\\d\\closed.$$$", "C:\\d\\newer.sty"},  // closed normally: the copy is gone
      {"C:\\T\\文書3.$$$", "文書3.tex"},           {"C:\\d\\run.$$$", "C:\\d\\run.tex"},
      {"C:\\d\\two.$$$", "C:\\d\\two.tex"},     {"C:\\T\\two.$$$", "C:\\D\\TWO.TEX"},
      {"C:\\d\\NEWER.$$$", "C:\\d\\newer.tex"},  // listed by a second record
  };
  // File names are found without regard to ASCII letter case.
  auto time_of = [&](const std::string& name) {
    for (auto& [file, time] : times) {
      if (Lower(file) == Lower(name)) return time;
    }
    return std::int64_t{-1};
  };
  Entries expected = {{"C:\\d\\newer.$$$", "C:\\d\\newer.tex"},
                      {"C:\\d\\gone.$$$", "C:\\d\\gone.tex"},
                      {"C:\\T\\文書3.$$$", "文書3.tex"},
                      {"C:\\T\\two.$$$", "C:\\D\\TWO.TEX"}};
  EXPECT_EQ(CopiesToOffer(recorded, {"c:\\D\\RUN.$$$"}, time_of), expected);
  EXPECT_TRUE(CopiesToOffer({}, {}, time_of).empty());
}

TEST(AutoSaveRecoveryTest, TheQuestionNamesEachDocumentWithItsCopy) {
  Entries many;
  for (int i = 1; i <= 11; ++i) {
    std::string n = std::to_string(i);
    many.push_back({"C:\\d\\" + n + ".$$$", i == 2 ? "文書2.tex" : "C:\\d\\" + n + ".tex"});
  }
  // Each document, then its copy; as many as fit, then how many more there are.
  std::string text = RecoveryQuestion(many);
  std::size_t at = 0;
  for (int i = 0; i < 8; ++i) {
    at = text.find(many[i].document + "\r", at);
    ASSERT_NE(at, std::string::npos) << i;
    std::size_t copy = text.find(many[i].copy + "\r", at);
    ASSERT_NE(copy, std::string::npos) << i;
    EXPECT_LT(copy, text.find("\r", at + many[i].document.size() + 1)) << i;  // on the next line
    at = copy;
  }
  EXPECT_EQ(text.find("C:\\d\\9.tex"), std::string::npos);
  EXPECT_NE(text.find("\rほか 3 個\r"), std::string::npos);
  EXPECT_NE(text.find("開きますか?"), std::string::npos);
  EXPECT_EQ(RecoveryQuestion({many[0]}).find("ほか"), std::string::npos);
}

TEST(AutoSaveRecoveryTest, UntitledNumbersComeFromUntitledCaptionsOnly) {
  struct Row { const char* caption; int number; } rows[] = {
      {"文書1.tex", 1}, {"文書27.tex", 27}, {"文書.tex", 0}, {"文書1.sty", 0}, {"文書x.tex", 0},
      {"C:\\文書1.tex", 0}, {"文書1234567890.tex", 0}, {"a.tex", 0},
  };
  for (auto r : rows) EXPECT_EQ(UntitledNumber(r.caption), r.number) << r.caption;
}

}  // namespace
}  // namespace quillet
