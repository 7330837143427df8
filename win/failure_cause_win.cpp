#include "win/failure_cause_win.h"

namespace quillet {

namespace {

struct Cause {
  const char* what;
  const char* save;   // what to do when a document was being saved
  const char* retry;  // what to do when the program's own file was being written
};

constexpr Cause kReadOnly{"ﾌｧｲﾙが読み取り専用です。", "読み取り専用を外すか、別の名前で保存してください。",
                          "読み取り専用を外してから、もう一度試してください。"};
constexpr Cause kFull{"ﾃﾞｨｽｸがいっぱいです。", "空きを作ってから、もう一度保存してください。",
                      "空きを作ってから、もう一度試してください。"};
constexpr Cause kInUse{"ほかのﾌﾟﾛｸﾞﾗﾑがﾌｧｲﾙを使っています。", "そのﾌﾟﾛｸﾞﾗﾑで閉じてから、もう一度保存してください。",
                       "そのﾌﾟﾛｸﾞﾗﾑで閉じてから、もう一度試してください。"};
constexpr Cause kNoFolder{"ﾌｧｲﾙを置くﾌｫﾙﾀﾞがありません。", "別の場所を選んで保存してください。",
                          "ﾌｫﾙﾀﾞを作ってから、もう一度試してください。"};
constexpr Cause kNoRight{"この場所に書き込む権限がありません。", "別の場所を選んで保存してください。",
                         "書き込みの権限を管理者に求めてください。"};
// The file a copy was to be made of is gone: nothing to do but go on.
constexpr Cause kNotFound{"ﾌｧｲﾙが見つかりません。", "", ""};
constexpr Cause kTooLong{"ﾌｧｲﾙ名が長すぎます。", "短い名前か、浅いﾌｫﾙﾀﾞを選んで保存してください。",
                         "ﾌｧｲﾙを浅いﾌｫﾙﾀﾞに置いてください。"};

const Cause* NamedCause(DWORD error) {
  switch (error) {
    case ERROR_FILE_READ_ONLY: return &kReadOnly;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return &kFull;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_USER_MAPPED_FILE: return &kInUse;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH: return &kNoFolder;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT: return &kNoRight;
    case ERROR_FILE_NOT_FOUND: return &kNotFound;
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_BUFFER_OVERFLOW: return &kTooLong;
    default: return nullptr;
  }
}

std::string CodeText(DWORD error) { return "ｴﾗｰｺｰﾄﾞ " + std::to_string(error) + " で書き込めませんでした。"; }

}  // namespace

std::string FailureCauseText(DWORD error) {
  const Cause* cause = NamedCause(error);
  return cause ? std::string(cause->what) + cause->save : CodeText(error);
}

std::string RetryCauseText(DWORD error) {
  const Cause* cause = NamedCause(error);
  return cause ? std::string(cause->what) + cause->retry : CodeText(error);
}

std::string WithWriteCause(const std::string& first_line) {
  DWORD error = GetLastError();
  return first_line + "\r" + RetryCauseText(error);
}

std::string OpenFailureCauseText(DWORD error) {
  switch (error) {
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      return "ほかのﾌﾟﾛｸﾞﾗﾑがﾌｧｲﾙを使っています。そのﾌﾟﾛｸﾞﾗﾑで閉じてから、もう一度開いてください。";
    case ERROR_ACCESS_DENIED:
      return "このﾌｧｲﾙを読む権限がありません。";
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
      return "ﾌｧｲﾙが見つかりません。";
    default:
      return "ｴﾗｰｺｰﾄﾞ " + std::to_string(error) + " で読み込めませんでした。";
  }
}

}  // namespace quillet
