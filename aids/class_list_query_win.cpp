#include "aids/class_list_query_win.h"

#include "win/file_io_win.h"

namespace quillet {

void ClassListQuery::Start(const std::string& bridge_command, const std::string& list_file) {
  if (started_) return;
  started_ = true;
  list_file_ = list_file;
  DeleteFileA(list_file.c_str());  // a list of an earlier start is not taken for this one's
  std::string line = bridge_command + " --classes \"" + list_file + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &startup,
                      &process)) {
    return;
  }
  CloseHandle(process.hThread);
  bridge_.reset(process.hProcess);
}

InstalledClasses ClassListQuery::Finish(DWORD ms) {
  KernelHandle bridge = std::move(bridge_);
  DWORD status = 1;
  if (!bridge || WaitForSingleObject(bridge.get(), ms) != WAIT_OBJECT_0 || !GetExitCodeProcess(bridge.get(), &status) ||
      status != 0) {
    return std::nullopt;
  }
  TextBlock block;
  if (ReadFileBlock(list_file_, block, 1u << 20) != ReadStatus::Ok) return std::nullopt;
  return ParseClassList(std::string_view(block.data.get(), block.size));
}

}  // namespace quillet
