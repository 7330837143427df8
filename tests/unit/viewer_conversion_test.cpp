// What the viewer bridge tells the user of a conversion that made no PDF.
#include "bridges/viewer_conversion.h"

#include <gtest/gtest.h>

#include "tests/unit/iconv_code_page.h"

namespace quillet {
namespace {

TEST(ViewerConversionTest, TheLinesThatTellOfAnErrorAreChosen) {
  struct Row { const char* what; const char* messages; const char* chosen; } rows[] = {
      {"damaged dvi",
       "DVI ID = 10\n\ndvipdfmx:fatal: Something is wrong. Are you sure this is a DVI file?\n\n"
       "No output PDF file written.\n",
       "dvipdfmx:fatal: Something is wrong. Are you sure this is a DVI file?\n"},
      {"missing font, CR LF", "a.dvi -> a.pdf\r\n[1\r\ndvipdfmx:warning: Could not locate a virtual/physical font\r\n"
       "dvipdfmx:fatal: Unable to find TFM file \"qzz10\".\r\n",
       "dvipdfmx:warning: Could not locate a virtual/physical font\ndvipdfmx:fatal: Unable to find TFM file \"qzz10\".\n"},
      {"missing program", "sh: 1: dvipdfmx: not found\n", "sh: 1: dvipdfmx: not found\n"},
      {"at most five", "ERROR 1\nx\nerror 2\nerror 3\nCannot 4\ncan't 5\nNo such 6\n",
       "ERROR 1\nerror 2\nerror 3\nCannot 4\ncan't 5\n"},
      {"none: the last lines", "1\n2\n3\n \n4\n5\n6\n\n", "2\n3\n4\n5\n6\n"},
      {"nothing", "", ""},
  };
  for (const auto& r : rows) {
    EXPECT_EQ(ConverterErrorLines(r.messages), r.chosen) << r.what;
  }
}

TEST(ViewerConversionTest, MessagesAreShownInTheCodePageAndNameStepStatusAndPdf) {
  // Plain literals are code page 932 already; 𠮷 has no code there.
  const std::string utf8 = std::string(reinterpret_cast<const char*>(u8"エラー: ファイル「表.dvi」𠮷 ")) + "\xFF";
  EXPECT_EQ(ShiftJisFromUtf8(utf8, IconvCodePage()), std::string("エラー: ファイル「表.dvi」") + "? ?");
  struct Row { int status; const char* lines; const char* text; } rows[] = {
      {1, "fatal: x\n", "dvipdfmx でPDFを作れませんでした (終了ｺｰﾄﾞ 1):\nfatal: x\nPDFﾌｧｲﾙ C:\\表.pdf は前のままです。"},
      {0, "", "dvipdfmx でPDFを作れませんでした (PDFが書かれていません)。\nPDFﾌｧｲﾙ C:\\表.pdf は前のままです。"},
  };
  for (const auto& r : rows) {
    EXPECT_EQ(ConversionFailedText("dvipdfmx", r.status, r.lines, "C:\\表.pdf"), r.text) << r.status;
  }
}

}  // namespace
}  // namespace quillet
