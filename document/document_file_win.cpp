#include "document/document_file_win.h"

#include <string_view>

#include "core/byte_scan.h"
#include "win/file_io_win.h"

namespace quillet {

bool ReadDocumentFile(const std::string& name, TextBlock& block, std::string& refusal) {
  ReadStatus status = ReadFileBlock(name, block, kDocumentLimit);
  if (status == ReadStatus::TooLarge) {
    refusal = "ﾌｧｲﾙ " + name + " は大きすぎて開けません";
  } else if (status != ReadStatus::Ok) {
    refusal = "ﾌｧｲﾙ " + name + " は開けません";
  } else if (ContainsNul(std::string_view(block.data.get(), block.size))) {
    refusal = "ﾌｧｲﾙ " + name + " はﾃｷｽﾄﾌｧｲﾙではありません";
  } else {
    return true;
  }
  return false;
}

}  // namespace quillet
