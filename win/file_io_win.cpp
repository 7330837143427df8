#include "win/file_io_win.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "core/dos_time.h"
#include "core/sjis.h"
#include "win/handles_win.h"
#include "win/save_in_place_win.h"
#include "win/system_dll_win.h"

namespace quillet {

bool FileExists(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

ReadStatus ReadFileBlock(const std::string& path, TextBlock& block, std::uint64_t limit) {
  block = {};
  if (!FileExists(path)) return ReadStatus::Missing;
  FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file) return ReadStatus::CannotOpen;
  LARGE_INTEGER size;
  if (!GetFileSizeEx(file.get(), &size)) return ReadStatus::CannotOpen;
  if (static_cast<std::uint64_t>(size.QuadPart) > limit) return ReadStatus::TooLarge;
  std::size_t wanted = static_cast<std::size_t>(size.QuadPart);
  block.capacity = GapText::CapacityFor(wanted);
  block.data = std::make_unique_for_overwrite<char[]>(block.capacity);
  while (block.size < wanted) {
    DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(wanted - block.size, 1u << 30));
    DWORD got = 0;
    if (!ReadFile(file.get(), block.data.get() + block.size, chunk, &got, nullptr)) return ReadStatus::CannotOpen;
    if (got == 0) break;  // the file shrank meanwhile
    block.size += got;
  }
  return ReadStatus::Ok;
}

namespace {
bool WriteAll(HANDLE file, std::string_view bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
    DWORD written = 0;
    // A full disk can report success after a short write: the count is what counts.
    if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0) return false;
    done += written;
  }
  return true;
}


bool MarkForDeletion(HANDLE file, bool deleted) {
  FILE_DISPOSITION_INFO info{deleted};
  return SetFileInformationByHandle(file, FileDispositionInfo, &info, sizeof info) != FALSE;
}

// A new file in dir named "qlt" + hex digits + ".tmp", made by the one call that opens it
// (the platform's temporary-name call makes the file and closes it first, which a kill
// in between would leave behind empty); name receives its name.
FileHandle CreateTemporaryIn(const std::string& dir, std::string& name) {
  static std::uint32_t counter = 0;
  std::uint32_t seed = GetCurrentProcessId() * 2654435761u ^ GetTickCount();
  for (int attempt = 0; attempt < 100; ++attempt) {
    char digits[9];
    std::snprintf(digits, sizeof digits, "%08X", seed + ++counter * 40503u);
    name = (dir.empty() ? std::string(".\\") : dir) + "qlt" + digits + ".tmp";
    FileHandle file(CreateFileA(name.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file || GetLastError() != ERROR_FILE_EXISTS) return file;
  }
  return FileHandle();
}

// write(file) puts the bytes into a fresh temporary file beside path, flushed; its name,
// or "" (no file left behind, the platform's error in error) when that fails. made: whether
// the file could be made at all (false: write left untouched).
std::string WriteTemporary(const std::string& path, const WriteBytes& write, DWORD& error, bool& made) {
  std::string temp;
  bool ok = true;
  {
    FileHandle file = CreateTemporaryIn(ExtractFilePath(FullPathName(path)), temp);
    made = static_cast<bool>(file);
    if (!file) {
      error = GetLastError();
      return {};
    }
    // Marked for deletion while its bytes are written, so a program killed mid-write (most
    // of a large save) leaves no part-written file behind; the mark comes off once they
    // are all on the disk. A file system without marks is written all the same.
    bool marked = MarkForDeletion(file.get(), true);
    ok = write(file.get()) && FlushFileBuffers(file.get());
    ok = ok && (!marked || MarkForDeletion(file.get(), false));
  }
  if (!ok) {
    error = GetLastError();
    DeleteFileA(temp.c_str());
    return {};
  }
  return temp;
}

// One writer thread writes each piece while the maker makes the next (a thread for each
// piece would cost more than it saves: starting one takes the best part of a millisecond
// under Wine). A piece is handed over only once the one before it is written, so the
// maker never reuses the room of a piece still being written.
class PieceWriter {
 public:
  explicit PieceWriter(HANDLE file) : file_(file), thread_([this] { Run(); }) {}
  ~PieceWriter() {
    {
      std::unique_lock lock(mutex_);
      changed_.wait(lock, [this] { return !pending_; });
      ended_ = true;
    }
    changed_.notify_all();
    thread_.join();
  }
  // False when a write before it failed.
  bool Hand(std::string_view piece) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !pending_; });
    if (failed_) return false;
    piece_ = piece;
    pending_ = true;
    changed_.notify_all();
    return true;
  }
  bool Finish() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !pending_; });
    return !failed_;
  }
  // The platform's error of the write that failed (it happened on the writer's thread).
  DWORD error() {
    std::unique_lock lock(mutex_);
    return error_;
  }

 private:
  void Run() {
    std::unique_lock lock(mutex_);
    for (;;) {
      changed_.wait(lock, [this] { return pending_ || ended_; });
      if (!pending_) return;
      std::string_view piece = piece_;
      lock.unlock();
      bool written = WriteAll(file_, piece);
      DWORD error = written ? 0 : GetLastError();
      lock.lock();
      if (!written && !failed_) error_ = error;
      failed_ = failed_ || !written;
      pending_ = false;
      changed_.notify_all();
    }
  }

  HANDLE file_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::string_view piece_;
  bool pending_ = false, ended_ = false, failed_ = false;
  DWORD error_ = 0;
  std::thread thread_;  // last: it starts once the rest is ready
};

bool WriteMadeWith(PieceWriter& writer, ByteMaker& maker) {
  std::string_view piece;
  while (maker.Next(piece)) {
    if (piece.empty()) return writer.Finish();
    if (!writer.Hand(piece)) return false;
  }
  return false;
}

// A failed write leaves its error as this thread's last error.
bool WriteMade(HANDLE file, ByteMaker& maker) {
  bool written = false;
  DWORD error = 0;
  {
    PieceWriter writer(file);
    written = WriteMadeWith(writer, maker);
    error = writer.error();
  }
  if (!written && error) SetLastError(error);
  return written;
}
}  // namespace

bool WriteFileParts(HANDLE file, ByteParts parts) {
  for (std::string_view part : parts) {
    if (!WriteAll(file, part)) return false;
  }
  return true;
}

bool HeldByAnotherProgram(const std::string& path) {
  FileHandle file(CreateFileA(path.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, 0, nullptr));
  return !file && GetLastError() == ERROR_SHARING_VIOLATION;
}

bool IsReadOnlyFile(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
}

DWORD WhyNotWritten(const std::string& path) {
  DWORD error = GetLastError();
  if (IsReadOnlyFile(path)) return ERROR_FILE_READ_ONLY;
  if (HeldByAnotherProgram(path)) return ERROR_SHARING_VIOLATION;
  return error ? error : ERROR_WRITE_FAULT;
}

DWORD PutBackup(const std::string& from, const std::string& backup, bool move) {
  if (IsReadOnlyFile(backup)) return ERROR_FILE_READ_ONLY;
  bool put = move ? MoveFileExA(from.c_str(), backup.c_str(), MOVEFILE_REPLACE_EXISTING)
                  : CopyFileA(from.c_str(), backup.c_str(), FALSE);
  return put ? 0 : WhyNotWritten(backup);
}

namespace {
// The new file takes the old one's attributes and creation time before the rename.
void TakeOver(const std::string& temp, const WIN32_FILE_ATTRIBUTE_DATA& old) {
  FileHandle file(CreateFileA(temp.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, 0, nullptr));
  if (file) SetFileTime(file.get(), &old.ftCreationTime, nullptr, nullptr);
  file.reset();
  SetFileAttributesA(temp.c_str(), old.dwFileAttributes & ~(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY));
}
}  // namespace

// On Windows the platform's ReplaceFile gives the new file all that made the old one that
// file: attributes, creation time, owner and access list, alternate streams. Under Wine it
// drops the attributes and leaves, for a moment, no file by the name: there the attributes
// and the creation time are handed over before a rename. A ReplaceFile that fails for any
// reason is followed by the rename, which puts the flushed new text in place.
bool ReplaceWith(const std::string& temp, const std::string& path) {
  // Renaming over a read-only file is refused, as writing to it would be. The new bytes
  // were flushed before: should the rename itself be lost, the old file is still there.
  if (IsReadOnlyFile(path)) return false;
  WIN32_FILE_ATTRIBUTE_DATA old{};
  if (GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &old)) {
    if (!UnderWine() &&
        ReplaceFileA(path.c_str(), temp.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)) {
      return true;
    }
    TakeOver(temp, old);
  }
  return MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
}

bool WriteFileSafely(const std::string& path, ByteParts parts) { return SaveFileWithBackup(path, parts, "").saved; }

namespace {
// A second name for the file's present bytes beside it: a hard link where the file system
// has them (no bytes move), else a copy. Empty when the file cannot be reached, error
// then saying why.
std::string KeepAside(const std::string& path, const std::string& temp, DWORD& error) {
  std::string aside = temp + ".bak";
  if (CreateHardLinkA(aside.c_str(), path.c_str(), nullptr)) return aside;
  if (CopyFileA(path.c_str(), aside.c_str(), TRUE)) return aside;
  error = WhyNotWritten(aside);
  DeleteFileA(aside.c_str());
  return {};
}

// temp (empty when it could not be written, for the error written_error) takes path's place.
SaveReport ReplaceWithBackup(const std::string& path, const std::string& temp, DWORD written_error,
                             const std::string& backup) {
  SaveReport report;
  if (temp.empty()) {
    report.error = written_error;
    return report;
  }
  // The document's and the backup's names change only by renames that replace one whole
  // file by another, so a program killed between any two steps leaves the document as the
  // old text or the new and the backup as the previous one or the old text, never a name
  // without its file. The old text gets a second name first, the new text takes the
  // document's name, and only then does the second name become the backup.
  std::string aside;
  if (!backup.empty() && !SameFileName(backup, path)) aside = KeepAside(path, temp, report.backup_error);
  report.saved = ReplaceWith(temp, path);
  if (!report.saved) {
    report.error = WhyNotWritten(path);
    DeleteFileA(temp.c_str());
  }
  if (!aside.empty()) {
    if (report.saved) report.backup_error = PutBackup(aside, backup, true);
    DeleteFileA(aside.c_str());  // still there when the save or the backup failed
  }
  return report;
}
}  // namespace

namespace {
// Where the folder refuses a new file but the document is there to be written, the new
// text goes into it in place.
SaveReport Save(const std::string& path, const WriteBytes& write, const std::string& backup) {
  if (IsReadOnlyFile(path)) {
    SaveReport refused;
    refused.error = ERROR_FILE_READ_ONLY;
    return refused;
  }
  DWORD error = 0;
  bool made = false;
  std::string temp = WriteTemporary(path, write, error, made);
  if (!made && error == ERROR_ACCESS_DENIED && FileExists(path)) return SaveInPlace(path, write, backup);
  return ReplaceWithBackup(path, temp, error, backup);
}
}  // namespace

SaveReport SaveFileWithBackup(const std::string& path, ByteParts parts, const std::string& backup) {
  return Save(path, [parts](HANDLE file) { return WriteFileParts(file, parts); }, backup);
}

SaveReport SaveFileWithBackup(const std::string& path, ByteMaker& maker, const std::string& backup) {
  return Save(path, [&maker](HANDLE file) { return WriteMade(file, maker); }, backup);
}

bool WriteFileSafely(const std::string& path, ByteMaker& maker) { return SaveFileWithBackup(path, maker, "").saved; }

std::int32_t FileAge(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return kMissingFileAge;
  if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return kMissingFileAge;
  FILETIME local;
  WORD date = 0, time = 0;
  if (!FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) || !FileTimeToDosDateTime(&local, &date, &time)) {
    return kMissingFileAge;
  }
  return static_cast<std::int32_t>((static_cast<std::uint32_t>(date) << 16) | time);
}

std::string FullPathName(const std::string& name) {
  char buffer[MAX_PATH * 4];
  DWORD n = GetFullPathNameA(name.c_str(), sizeof(buffer), buffer, nullptr);
  if (n == 0 || n >= sizeof(buffer)) return name;
  return std::string(buffer, n);
}

std::string ProgramFolder() {
  char path[MAX_PATH * 2] = {};
  DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
  return ExtractFilePath(std::string_view(path, n));
}

std::string ReadSmallFile(const std::string& path) {
  FileHandle in(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, 0, nullptr));
  char buffer[256] = {};
  DWORD got = 0;
  if (in) ReadFile(in.get(), buffer, sizeof buffer, &got, nullptr);
  return std::string(buffer, got);
}

std::string ReadFileUpTo(const std::string& path, std::size_t limit) {
  FileHandle in(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  LARGE_INTEGER size;
  if (!in || !GetFileSizeEx(in.get(), &size) || size.QuadPart < 0) return {};
  std::string bytes(static_cast<std::size_t>(std::min<std::uint64_t>(static_cast<std::uint64_t>(size.QuadPart), limit)),
                    '\0');
  DWORD got = 0;
  if (!bytes.empty() && !ReadFile(in.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr)) return {};
  bytes.resize(got);
  return bytes;
}

std::string TempDirectory() {
  char buffer[MAX_PATH + 1];
  DWORD n = GetTempPathA(sizeof(buffer), buffer);
  return n && n < sizeof(buffer) ? std::string(buffer, n) : std::string();
}

}  // namespace quillet
