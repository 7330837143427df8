#include "tex/run_inputs.h"

#include "core/sjis.h"
#include "win/file_io_win.h"

namespace quillet {

namespace {
// A list longer than this is no list the bridge wrote: the run goes ahead.
constexpr std::uint64_t kListLimit = 4u << 20;
}  // namespace

bool DviUpToDate(const std::string& source) {
  std::vector<std::int32_t> ages;
  TextBlock list;
  ReadStatus read = ReadFileBlock(RunInputsPath(source), list, kListLimit);
  if (read == ReadStatus::TooLarge || read == ReadStatus::CannotOpen) return false;
  if (read == ReadStatus::Ok) {
    for (const std::string& name : ParseRunInputs({list.data.get(), list.size}, ExtractFilePath(source))) {
      ages.push_back(FileAge(name));
    }
  }
  return DviIsCurrent(FileAge(ChangeFileExt(source, ".dvi")), FileAge(source), ages);
}

}  // namespace quillet
