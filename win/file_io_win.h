#pragma once
// Reading and writing whole files. Writes never leave less on disk than before: the new
// bytes go to a temporary file in the same directory, are flushed, and only then take
// the place of the old file.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <span>
#include <string_view>

#include "core/text_gap.h"

namespace quillet {

bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);

enum class ReadStatus { Ok, Missing, CannotOpen, TooLarge };
// Reads the whole file into a block with room for the editor to grow it; TooLarge when it
// holds more than limit bytes.
ReadStatus ReadFileBlock(const std::string& path, TextBlock& block, std::uint64_t limit);

// The bytes of a file to write, in pieces written one after the other.
using ByteParts = std::span<const std::string_view>;

// Bytes made a piece at a time while the piece before is written, so that making them
// (converting a document to its file's coding) costs little beside writing them. Next
// gives the next piece, valid through the call after it; an empty piece ends them; false
// stops the write, and the file being written is dropped.
class ByteMaker {
 public:
  virtual bool Next(std::string_view& piece) = 0;

 protected:
  ~ByteMaker() = default;
};

// Writes a file's new bytes from its start; false (with the platform's error) on failure.
using WriteBytes = std::function<bool(HANDLE)>;

// Writes the parts at the file's position; false on failure, the platform's error then
// the last error.
bool WriteFileParts(HANDLE file, ByteParts parts);

// Replaces path by the file temp (a rename in the same directory).
bool ReplaceWith(const std::string& temp, const std::string& path);

// Both steps above; on failure the old file is untouched. A read-only file is not
// replaced.
bool WriteFileSafely(const std::string& path, ByteParts parts);

struct SaveReport {
  bool saved = false;
  // Why the old file could not become the backup; 0 when it did or none was asked for.
  DWORD backup_error = 0;
  // Why it was not saved: the platform's error of the step that failed, as WhyNotWritten
  // tells it (ERROR_FILE_READ_ONLY for a read-only file).
  DWORD error = 0;
};
// Writes the parts as the new content of path. With a backup name, the old file becomes the
// backup once the new text is in place; a program killed at any moment of the save
// leaves path and the backup whole, old or new. On failure the old file and the previous
// backup are as they were.
SaveReport SaveFileWithBackup(const std::string& path, ByteParts parts, const std::string& backup);
SaveReport SaveFileWithBackup(const std::string& path, ByteMaker& maker, const std::string& backup);
bool WriteFileSafely(const std::string& path, ByteMaker& maker);

bool IsReadOnlyFile(const std::string& path);
// True when another program has the file open without letting it be replaced.
bool HeldByAnotherProgram(const std::string& path);
// Why path could not be written, just after the call that failed: the platform's error,
// or ERROR_FILE_READ_ONLY / ERROR_SHARING_VIOLATION where the platform says only that
// access was refused.
DWORD WhyNotWritten(const std::string& path);
// Makes from the backup (moved, or copied when it must stay): 0, or why not. A read-only
// backup is left as it is, as the platform leaves one on Windows.
DWORD PutBackup(const std::string& from, const std::string& backup, bool move);

// The file's last-write time as a packed DOS date-time (local time), -1 when missing.
std::int32_t FileAge(const std::string& path);

// GetFullPathNameA.
std::string FullPathName(const std::string& name);
// GetTempPathA (ends in "\").
std::string TempDirectory();
// The folder of the running program's file, ending in "\".
std::string ProgramFolder();
// The first bytes of a small file (a status a script wrote, say); empty when missing.
std::string ReadSmallFile(const std::string& path);
// A file's bytes, at most limit of them; empty when missing or unreadable.
std::string ReadFileUpTo(const std::string& path, std::size_t limit);

}  // namespace quillet
