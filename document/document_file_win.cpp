#include "document/document_file_win.h"

#include <string_view>

#include "win/code_page_win.h"
#include "win/failure_cause_win.h"
#include "win/file_io_win.h"

namespace quillet {

bool ReadDocumentFile(const std::string& name, const ReadOptions& options, DocumentContent& content,
                      std::string& refusal) {
  TextBlock block;
  ReadStatus status = ReadFileBlock(name, block, kDocumentLimit);
  DWORD error = status == ReadStatus::Ok ? 0 : GetLastError();
  if (status == ReadStatus::TooLarge) {
    refusal = "ﾌｧｲﾙ " + name + " は大きすぎて開けません";
    return false;
  }
  if (status != ReadStatus::Ok) {
    refusal = "ﾌｧｲﾙ " + name + " は開けません\r" + OpenFailureCauseText(error);
    return false;
  }
  std::string_view bytes(block.data.get(), block.size);
  DetectedCoding detected = DetectLayout(bytes, options.line_end_default);
  if (detected.not_text == NotText::kUtf16) {
    refusal = "ﾌｧｲﾙ " + name + " は UTF-16 のﾃｷｽﾄなので開けません。UTF-8 か Shift-JIS で保存し直してください";
    return false;
  }
  if (detected.not_text == NotText::kBinary) {
    refusal = "ﾌｧｲﾙ " + name + " はﾃｷｽﾄﾌｧｲﾙではありません";
    return false;
  }
  content.coding = detected.coding;
  content.mixed_line_ends = detected.mixed_line_ends;
  if (options.encoding && *options.encoding != content.coding.encoding) {
    content.coding.encoding = *options.encoding;
    content.coding.bom = *options.encoding == Encoding::kUtf8 && bytes.starts_with("\xEF\xBB\xBF");
  } else if (detected.needs_guess && !options.encoding) {
    // Most documents today are UTF-8: reading them as such is also the test of it.
    if (DecodeIfUtf8(bytes, SystemCodePage(), content.decoded)) {
      content.coding.encoding = Encoding::kUtf8;
      return true;
    }
    content.coding.encoding = GuessEncoding(bytes);
  }
  if (content.coding.encoding == Encoding::kShiftJis) {
    content.decoded.text = std::move(block);  // the editor makes its breaks CR LF
  } else {
    DecodeText(WithoutBom(bytes, content.coding), content.coding.encoding, SystemCodePage(), content.decoded);
  }
  return true;
}

std::string TooManyCharactersText(const std::string& name, const ForeignChars& chars) {
  if (chars.overflow() == 0) return {};
  return name + " には Shift-JIS にない文字が " + std::to_string(chars.size() + chars.overflow()) +
         " 種類ありますが、扱えるのは " + std::to_string(ForeignChars::kCapacity) +
         " 種類までです。\r残りの文字は〓で表示し、文書は読み取り専用で開きます。";
}

std::string MixedLineEndsText(const std::string& name, const FileCoding& coding) {
  return name + " は改行ｺｰﾄﾞが混在しています。\r保存すると改行ｺｰﾄﾞはすべて " + LineEndName(coding.line_end) +
         " になります (ｽﾃｰﾀｽﾊﾞｰに表示しています)。";
}

}  // namespace quillet
