// Documents in every coding users keep: opened through the real program, shown in the
// status bar, saved back byte for byte, edited bytes only changed, and what cannot be
// read or written told before anything is lost.
#include <windows.h>

#include <richedit.h>
#include <gtest/gtest.h>

#include "core/command_ids.h"
#include "document/mdi_child_win.h"
#include "tests/win/support/app_harness.h"
#include "win/file_io_win.h"

namespace quillet::test {
namespace {

std::string U8(const char8_t* text) { return reinterpret_cast<const char*>(text); }
std::string Hex(std::string_view hex) {
  std::string bytes;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2) bytes += static_cast<char>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16));
  return bytes;
}

struct CodingFixture : ::testing::Test {
  AppHarness h;
  TMDIChild* Active() { return h.main().ActiveChild(); }
  // Types "あ" at the start of the active document and saves it.
  void TypeAtStartAndSave() {
    SendMessageA(Active()->Memo, EM_SETSEL, 0, 0);
    Type(Active()->Memo, "あ");
    ASSERT_TRUE(h.main().FileSaveItemClick(*Active()));
  }
};

TEST_F(CodingFixture, EveryCodingOpensShowsItselfAndSavesBackByteForByte) {
  struct Row {
    const char* name;
    std::string bytes;
    const char* panel;
    std::string typed;  // the file after typing あ at the start and saving
  } rows[] = {
      {"sjis.tex", "表ソ\r\nabc\x82\r\nxyz", "SJIS CRLF", "\x82\xA0表ソ\r\nabc\x82\r\nxyz"},
      {"ascii.tex", "\\section{a}\n", "SJIS LF", "\x82\xA0\\section{a}\n"},
      {"cr.tex", "a\rb\r", "SJIS CR", "\x82\xA0\x61\rb\r"},
      {"utf8.tex", U8(u8"①髙𠮷😀表\n〜∥−¢£¬—\n"), "UTF-8 LF", U8(u8"あ①髙𠮷😀表\n〜∥−¢£¬—\n")},
      {"bom.tex", U8(u8"\uFEFF見出し\r\n"), "UTF-8 BOM CRLF", U8(u8"\uFEFFあ見出し\r\n")},
      {"euc.tex", Hex("c6fccbdcb8eca4ce8fb0a1a5c6a5ada5b9a5c80a"), "EUC LF",
       Hex("a4a2c6fccbdcb8eca4ce8fb0a1a5c6a5ada5b9a5c80a")},
      {"jis.tex", Hex("1b2442467c4b5c386c1b28420d0a6162630d0a1b2442242b244a1b28420d0a"), "JIS CRLF",
       Hex("1b24422422467c4b5c386c1b28420d0a6162630d0a1b2442242b244a1b28420d0a")},
  };
  h.Start();
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    std::string path = h.MakeFile(row.name, row.bytes);
    ASSERT_TRUE(h.main().OpenDocument(path));
    EXPECT_EQ(h.Panel(kCodingPanel), row.panel);
    ASSERT_TRUE(h.main().FileSaveItemClick(*Active()));
    EXPECT_EQ(ReadFileBytes(path), row.bytes);
    TypeAtStartAndSave();
    EXPECT_EQ(ReadFileBytes(path), row.typed);
  }
  EXPECT_EQ(h.messages.Texts(), "");
}

TEST_F(CodingFixture, WhatCannotBeReadOrWrittenIsToldAndNothingIsLost) {
  std::string mixed = h.MakeFile("mixed.tex", "a\r\nb\nc\r\n");
  std::string utf16 = h.MakeFile("utf16.tex", std::string("\xFF\xFE" "a\0\r\0\n\0", 8));
  std::string euc = h.MakeFile("euc.tex", Hex("c6fccbdca4ce0a"));
  h.Start({mixed});
  EXPECT_EQ(h.Panel(kCodingPanel), "SJIS CRLF");
  ASSERT_TRUE(h.main().FileSaveItemClick(*Active()));
  EXPECT_EQ(ReadFileBytes(mixed), "a\r\nb\r\nc\r\n");
  EXPECT_FALSE(h.main().OpenDocument(utf16));
  EXPECT_EQ(h.main().Children().size(), 1u);
  // 髙 typed into an EUC-JP document: EUC-JP has no code for it, so the save stops.
  ASSERT_TRUE(h.main().OpenDocument(euc));
  SendMessageA(Active()->Memo, EM_SETSEL, 6, 6);
  Type(Active()->Memo, "髙");
  EXPECT_FALSE(h.main().FileSaveItemClick(*Active()));
  EXPECT_EQ(ReadFileBytes(euc), Hex("c6fccbdca4ce0a"));
  EXPECT_TRUE(Active()->modified());
  EXPECT_EQ(h.messages.Texts(),
            mixed + " は改行ｺｰﾄﾞが混在しています。\r保存すると改行ｺｰﾄﾞはすべて CRLF になります (ｽﾃｰﾀｽﾊﾞｰに表示しています)。\n" +
                "ﾌｧｲﾙ " + utf16 + " は UTF-16 のﾃｷｽﾄなので開けません。UTF-8 か Shift-JIS で保存し直してください\n" +
                "1 行 7 桁目の文字「髙」(U+9AD9) は EUC-JP で保存できません。\r文字を直すか、別の文字ｺｰﾄﾞを選んで名前を付けて保存してください。\n");
}

TEST_F(CodingFixture, MoreCharactersThanADocumentHasCodesForOpenReadOnly) {
  std::string many;
  for (char32_t c = 0x20000; c < 0x20000 + 1883; ++c) {
    many += static_cast<char>(0xF0 | c >> 18);
    many += static_cast<char>(0x80 | (c >> 12 & 0x3F));
    many += static_cast<char>(0x80 | (c >> 6 & 0x3F));
    many += static_cast<char>(0x80 | (c & 0x3F));
  }
  std::string path = h.MakeFile("many.tex", many);
  h.Start({path});
  Type(Active()->Memo, "x");
  EXPECT_FALSE(Active()->modified());
  EXPECT_FALSE(h.main().FileSaveItemClick(*Active()));
  EXPECT_EQ(ReadFileBytes(path), many);
  EXPECT_EQ(h.messages.Texts(), path + " には Shift-JIS にない文字が 1883 種類ありますが、扱えるのは 1880 種類までです。\r"
                                       "残りの文字は〓で表示し、文書は読み取り専用で開きます。\n" +
                                    path + " は読み取り専用で開いているので保存できません。\n");
}

TEST_F(CodingFixture, ADocumentReopensAsAnotherEncodingAskingFirstWhenModified) {
  // Half-width katakana in Shift-JIS are also valid EUC-JP bytes: the guess stays
  // Shift-JIS, and the user can say otherwise.
  std::string path = h.MakeFile("guess.tex", "ﾃﾞｰﾀ\r\n");
  h.Start({path});
  EXPECT_TRUE(h.Item("ReopenItem").enabled());
  h.Command(kReopenEucItem);
  EXPECT_EQ(h.Panel(kCodingPanel), "EUC CRLF");
  EXPECT_EQ(EditorText(Active()->Memo), Hex("927d88be0d0a"));  // the two kanji those bytes are in EUC-JP
  Type(Active()->Memo, "x");
  h.messages.answers = {MsgResult::No};
  h.Command(kReopenSjisItem);
  EXPECT_EQ(h.Panel(kCodingPanel), "EUC CRLF");
  h.messages.answers = {MsgResult::Yes};
  h.Command(kReopenSjisItem);
  EXPECT_EQ(h.Panel(kCodingPanel), "SJIS CRLF");
  EXPECT_EQ(EditorText(Active()->Memo), "ﾃﾞｰﾀ\r\n");
  EXPECT_FALSE(Active()->modified());
  h.NewBlankDocument();
  EXPECT_EQ(h.Panel(kCodingPanel), "SJIS CRLF");
  EXPECT_FALSE(h.Item("ReopenItem").enabled());
}

TEST_F(CodingFixture, SaveAsWritesTheChosenCodingOrNamesWhatItCannotHold) {
  std::string utf8 = h.MakeFile("utf8.tex", U8(u8"表\n𠮷\n"));
  std::string sjis_copy = h.dir() / "copy.tex", utf8_copy = h.dir() / "copy8.tex";
  h.Start({utf8});
  h.app().env_settings().editor.new_coding = {Encoding::kUtf8, false, LineEnd::kLf};
  h.dialogs.answers = {sjis_copy, utf8_copy};
  h.dialogs.coding_answers = {{Encoding::kShiftJis, false, LineEnd::kCrLf}, {Encoding::kUtf8, true, LineEnd::kCrLf}};
  EXPECT_FALSE(h.main().FileSaveAsItemClick(*Active()));
  EXPECT_FALSE(FileExists(sjis_copy));
  EXPECT_EQ(Active()->FileName(), utf8);
  EXPECT_EQ(h.messages.Texts(), "2 行 1 桁目の文字 U+20BB7 は Shift-JIS で保存できません。\r"
                                "文字を直すか、別の文字ｺｰﾄﾞを選んで名前を付けて保存してください。\n");
  EXPECT_TRUE(h.main().FileSaveAsItemClick(*Active()));
  EXPECT_EQ(ReadFileBytes(utf8_copy), Hex("efbbbfe8a1a80d0af0a0aeb70d0a"));  // BOM, 表, 𠮷
  EXPECT_EQ(h.Panel(kCodingPanel), "UTF-8 BOM CRLF");
  // A new document takes the coding of the settings, and its Save As shows it.
  h.NewBlankDocument();
  EXPECT_EQ(h.Panel(kCodingPanel), "UTF-8 LF");
  h.main().FileSaveAsItemClick(*Active());
  ASSERT_EQ(h.dialogs.codings_shown.size(), 3u);
  EXPECT_EQ(h.dialogs.codings_shown[2], (FileCoding{Encoding::kUtf8, false, LineEnd::kLf}));
}

TEST_F(CodingFixture, BeforeAPLaTeXRunWhatPLaTeXDropsIsNamedAndUpLaTeXOffered) {
  WriteFileBytes(h.wintex_path(), "[TeXMode]\r\npLaTeX=platex\r\nupLaTeX=uplatex\r\n[TeXModeDefault]\r\nTeXModeDefault=0\r\n");
  std::string path = h.MakeFile("kanji.tex", U8(u8"\\section{吉野家}\n𠮷野家①\n"));
  h.Start({path});
  h.messages.answers = {MsgResult::Cancel};
  h.Command(kTeX1Item);
  ASSERT_EQ(h.messages.shown.size(), 1u);  // the run stopped there
  EXPECT_EQ(h.messages.shown[0].buttons, kMsgYes | kMsgNo | kMsgCancel);
  EXPECT_EQ(h.messages.shown[0].text,
            "この文書には pLaTeX が組めない文字 (JIS X 0208 にない文字) があります:\r"
            "  2 行 1 桁目の文字 U+20BB7\r  2 行 7 桁目の文字「①」(U+2460)\r"
            "pLaTeX はこれらの文字を落とすか、ｴﾗｰにします。\r"
            "upLaTeX に切り替えて組版しますか?\r(「いいえ」ならこのまま pLaTeX で組版します)");
  EXPECT_EQ(h.main().run().CurrentTeXMode, 0);
  h.messages.answers = {MsgResult::Yes};
  h.Command(kTeX1Item);
  EXPECT_EQ(h.main().run().CurrentTeXMode, 1);
  // With upLaTeX chosen nothing is asked.
  std::size_t shown = h.messages.shown.size();
  h.Command(kTeX1Item);
  for (std::size_t i = shown; i < h.messages.shown.size(); ++i) {
    EXPECT_EQ(h.messages.shown[i].text.find("pLaTeX が組めない"), std::string::npos);
  }
}

TEST_F(CodingFixture, InsertTakesAFileOfAnyCodingIntoTheDocumentsOwn) {
  std::string doc = h.MakeFile("doc.tex", "本文\r\n");
  std::string euc = h.MakeFile("part.tex", Hex("c6fccbdcb8ec0a"));
  std::string utf8 = h.MakeFile("emoji.tex", U8(u8"a😀\n"));
  h.Start({doc});
  h.dialogs.answers = {euc, utf8};
  h.Command(kFileInsertItem);
  EXPECT_EQ(EditorText(Active()->Memo), "日本語\r\n\r\n本文\r\n");
  h.Command(kFileInsertItem);
  EXPECT_EQ(EditorText(Active()->Memo), "日本語\r\n\r\n本文\r\n");
  EXPECT_EQ(h.messages.Texts(),
            utf8 + " の 1 行 2 桁目の文字 U+1F600 は、この文書の文字ｺｰﾄﾞ (Shift-JIS) では表せないので挿入しません。\n");
  // A UTF-8 document takes the character under a code of its own and writes it back.
  std::string utf8_doc = h.MakeFile("doc8.tex", U8(u8"♥\n"));
  ASSERT_TRUE(h.main().OpenDocument(utf8_doc));
  h.dialogs.answers = {utf8};
  h.Command(kFileInsertItem);
  ASSERT_TRUE(h.main().FileSaveItemClick(*Active()));
  EXPECT_EQ(ReadFileBytes(utf8_doc), Hex("61f09f98800a0ae299a50a"));  // "a😀", an empty line, "♥"
}

TEST_F(CodingFixture, AnAutosaveCopyKeepsItsDocumentsCoding) {
  std::string path = h.MakeFile("copy.tex", U8(u8"表\n"));
  h.Start({path});
  SendMessageA(Active()->Memo, EM_SETSEL, 0, 0);
  Type(Active()->Memo, "x");
  h.main().TimerTimer();
  EXPECT_EQ(ReadFileBytes(Active()->AutoSaveFileName()), U8(u8"x表\n"));
}

}  // namespace
}  // namespace quillet::test
