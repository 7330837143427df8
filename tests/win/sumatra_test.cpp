// SumatraPDF as the viewer, played by the viewer stand-in: the DDE commands that show a
// place in a PDF, the start of a SumatraPDF that is not running, and one that never answers.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bridges/sumatra_win.h"
#include "tests/win/support/standins.h"
#include "tests/win/support/test_support.h"

namespace quillet::test {
namespace {

constexpr char kSumatraExe[] = "SumatraPDF.exe";
constexpr char kQuillet[] = "C:\\Program Files\\TeX Quillet 表\\Quillet.exe";

std::string Quoted(const std::string& word) { return std::string("\"") + word + "\""; }

class SumatraTest : public ::testing::Test {
 protected:
  void TearDown() override { EndStartedProcesses(kSumatraExe); }

  // The stand-in, copied as SumatraPDF.exe into a folder whose name has a blank and 表.
  std::string CopyAsSumatra() {
    std::string folder = dir_ / "表 viewer\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    std::string sumatra = folder + kSumatraExe;
    EXPECT_TRUE(CopyFileA(StandInPath(kViewerExe).c_str(), sumatra.c_str(), FALSE));
    return sumatra;
  }

  // What SumatraPDF is sent for line 42 of the source, found on page 3.
  std::vector<std::string> PlaceCommands() const {
    return {std::string("[Open(\"") + pdf_ + "\",0,1,1)]", std::string("[GotoPage(\"") + pdf_ + "\",3)]",
            std::string("[ForwardSearch(\"") + pdf_ + "\",\"" + source_ + "\",42,0,0,1)]"};
  }

  TempDir dir_;
  std::string record_ = dir_ / "dde.txt", args_ = dir_ / "args.txt";
  std::string pdf_ = dir_ / "論文 表.pdf", source_ = dir_ / "第1章 表.tex";
};

TEST_F(SumatraTest, RunningSumatraIsSentThePdfOurPageAndItsForwardSearchInOrder) {
  ReadyEvent ready;
  StandInProcess viewer(Quoted(StandInPath(kViewerExe)) + " --service SUMATRA --topic control --record " +
                        Quoted(record_) + " --ready " + ready.name());
  ASSERT_TRUE(ready.Wait(10000));
  EXPECT_TRUE(ShowPlaceInSumatra(kSumatraExe, pdf_, source_, 42, 3, kQuillet));
  EXPECT_EQ(ReadRecord(record_), PlaceCommands());
  // The PDF alone: opened in the same window.
  EXPECT_TRUE(ShowPdfInSumatra(kSumatraExe, pdf_, kQuillet));
  std::vector<std::string> sent = PlaceCommands();
  sent.push_back(sent.front());
  EXPECT_EQ(ReadRecord(record_), sent);
}

TEST_F(SumatraTest, SumatraNotRunningIsStartedWithInverseSearchAndThenSentThePlace) {
  std::string sumatra = CopyAsSumatra();
  std::string viewer = Quoted(sumatra) + " --service SUMATRA --topic control --record " + Quoted(record_) +
                       " --record-args " + Quoted(args_);
  EXPECT_TRUE(ShowPlaceInSumatra(viewer, pdf_, source_, 42, 3, kQuillet));
  std::vector<std::string> words = {sumatra, "--service", "SUMATRA", "--topic", "control", "--record", record_,
                                    "--record-args", args_, "-reuse-instance", "-inverse-search",
                                    Quoted(kQuillet) + " -line %l \"%f\"", pdf_};
  EXPECT_EQ(ReadRecord(args_), words);
  EXPECT_EQ(ReadRecord(record_), PlaceCommands());
}

TEST_F(SumatraTest, SumatraThatNeverAnswersIsGivenUpWithinTheBound) {
  std::string viewer = Quoted(CopyAsSumatra()) + " --service Quiet --record " + Quoted(record_);
  DWORD start = GetTickCount();
  EXPECT_FALSE(ShowPlaceInSumatra(viewer, pdf_, source_, 42, 3, kQuillet));
  EXPECT_LT(GetTickCount() - start, 15000u);
  EXPECT_TRUE(FileExists(record_));  // it was started, and waited for
}

}  // namespace
}  // namespace quillet::test
