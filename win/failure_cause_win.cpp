#include "win/failure_cause_win.h"

namespace quillet {

std::string FailureCauseText(DWORD error, bool read_only) {
  if (read_only) return "ﾌｧｲﾙが読み取り専用です。読み取り専用を外すか、別の名前で保存してください。";
  switch (error) {
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return "ﾃﾞｨｽｸがいっぱいです。空きを作ってから、もう一度保存してください。";
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_USER_MAPPED_FILE:
      return "ほかのﾌﾟﾛｸﾞﾗﾑがﾌｧｲﾙを使っています。そのﾌﾟﾛｸﾞﾗﾑで閉じてから、もう一度保存してください。";
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
      return "ﾌｧｲﾙを置くﾌｫﾙﾀﾞがありません。別の場所を選んで保存してください。";
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
      return "この場所に書き込む権限がありません。別の場所を選んで保存してください。";
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_BUFFER_OVERFLOW:
      return "ﾌｧｲﾙ名が長すぎます。短い名前か、浅いﾌｫﾙﾀﾞを選んで保存してください。";
    default:
      return "ｴﾗｰｺｰﾄﾞ " + std::to_string(error) + " で書き込めませんでした。";
  }
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
