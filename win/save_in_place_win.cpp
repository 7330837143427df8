#include "win/save_in_place_win.h"

#include <cstdio>

#include "core/sjis.h"
#include "win/handles_win.h"

namespace quillet {

namespace {

constexpr char kKeptPrefix[] = "quillet-kept-";

// The same document always gets the same names, whatever case its name is written in.
std::string KeptBase(const std::string& path) {
  std::uint32_t hash = 2166136261u;
  for (char c : FullPathName(path)) {
    char folded = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    hash = (hash ^ static_cast<unsigned char>(folded)) * 16777619u;
  }
  char hex[9];
  std::snprintf(hex, sizeof hex, "%08X", static_cast<unsigned>(hash));
  return TempDirectory() + kKeptPrefix + hex;
}

bool FlushFile(const std::string& path) {
  FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  return file && FlushFileBuffers(file.get());
}

// Writes into the file's own bytes, cut to what was written and flushed.
bool WriteInto(const std::string& path, const WriteBytes& write) {
  FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  return file && write(file.get()) && SetEndOfFile(file.get()) && FlushFileBuffers(file.get());
}

bool CopyBytesOf(const std::string& from, HANDLE to) {
  TextBlock block;
  if (ReadFileBlock(from, block, std::uint64_t{1} << 32) != ReadStatus::Ok) return false;
  std::string_view parts[] = {{block.data.get(), block.size}};
  return WriteFileParts(to, parts);
}

}  // namespace

SaveReport SaveInPlace(const std::string& path, const WriteBytes& write, const std::string& backup) {
  SaveReport report;
  const std::string base = KeptBase(path), kept = base + ".tex", record = base + ".txt";
  const std::string full_name = FullPathName(path);
  std::string_view name[] = {full_name};
  // The old text and then its record are whole on the disk before the document changes.
  if (!CopyFileA(path.c_str(), kept.c_str(), FALSE) || !FlushFile(kept) || !WriteFileSafely(record, name)) {
    report.error = GetLastError();
    DeleteFileA(kept.c_str());
    return report;
  }
  report.saved = WriteInto(path, write);
  if (!report.saved) {
    report.error = GetLastError();
    // Put back what was there; only when that fails too is the old text left for the
    // next start.
    if (!WriteInto(path, [&kept](HANDLE file) { return CopyBytesOf(kept, file); })) return report;
  } else if (!backup.empty() && !SameFileName(backup, path)) {
    report.backup_error = PutBackup(kept, backup, false);
  }
  DeleteFileA(record.c_str());
  DeleteFileA(kept.c_str());
  return report;
}

std::vector<KeptText> KeptTexts() {
  std::vector<KeptText> found;
  const std::string temp = TempDirectory();
  WIN32_FIND_DATAA fd;
  HANDLE search = FindFirstFileA((temp + kKeptPrefix + "*.txt").c_str(), &fd);
  if (search == INVALID_HANDLE_VALUE) return found;
  do {
    KeptText text{.copy = temp + ChangeFileExt(fd.cFileName, ".tex"), .document = {}, .record = temp + fd.cFileName};
    TextBlock block;
    if (ReadFileBlock(text.record, block, MAX_PATH * 2) != ReadStatus::Ok || !FileExists(text.copy)) continue;
    text.document.assign(block.data.get(), block.size);
    found.push_back(std::move(text));
  } while (FindNextFileA(search, &fd));
  FindClose(search);
  return found;
}

}  // namespace quillet
