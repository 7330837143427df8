#include "app/autosave_recovery_win.h"

#include <windows.h>

#include <algorithm>

#include "app/main_form_win.h"
#include "core/sjis.h"
#include "document/document_file_win.h"
#include "document/mdi_child_win.h"
#include "editor/editor_win.h"
#include "win/file_io_win.h"
#include "win/save_in_place_win.h"
#include "win/message_dialog_win.h"

namespace quillet {

namespace {

constexpr char kRecordPrefix[] = "quillet-autosave-";
constexpr char kRecordPattern[] = "quillet-autosave-*.txt";
// A record holds a line per copy a run wrote: far less than this.
constexpr DWORD kRecordLimit = 4u << 20;

// Last-write times at the file system's own resolution: a copy written a second after
// a save is newer, which whole DOS seconds could not tell.
std::int64_t LastWriteTime(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return -1;
  if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return -1;
  return static_cast<std::int64_t>((static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                                   data.ftLastWriteTime.dwLowDateTime);
}

std::string ReadRecordBytes(HANDLE file) {
  std::string bytes;
  char buffer[16384];
  DWORD got = 0;
  while (bytes.size() < kRecordLimit && ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) {
    bytes.append(buffer, got);
  }
  return bytes;
}

struct FoundRecords {
  std::vector<std::string> ended;   // records of ended runs with these settings
  std::vector<AutoSaveEntry> left;  // the copies they list
  std::vector<std::string> in_use;  // copies that running programs keep
};

FoundRecords FindRecords(const std::string& settings_file, const std::string& own) {
  FoundRecords found;
  std::string temp = TempDirectory();
  WIN32_FIND_DATAA fd;
  HANDLE search = FindFirstFileA((temp + kRecordPattern).c_str(), &fd);
  if (search == INVALID_HANDLE_VALUE) return found;
  do {
    std::string path = temp + fd.cFileName;
    if ((fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || SameFileName(path, own)) continue;
    // A running program holds its record open for writing, so that the record opens
    // only for a reader who lets writes go on.
    FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    bool running = !file && GetLastError() == ERROR_SHARING_VIOLATION;
    if (running) {
      file.reset(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                             nullptr));
    }
    if (!file) continue;
    std::optional<AutoSaveRecord> record = ReadAutoSaveRecord(ReadRecordBytes(file.get()));
    // Runs with other settings (another setup, a test) keep to their own copies.
    if (!record || !SameFileName(record->settings_file, settings_file)) continue;
    if (running) {
      for (const AutoSaveEntry& entry : record->entries) found.in_use.push_back(entry.copy);
    } else {
      found.ended.push_back(path);
      found.left.insert(found.left.end(), record->entries.begin(), record->entries.end());
    }
  } while (FindNextFileA(search, &fd));
  FindClose(search);
  return found;
}

// The copy's text as a modified document under its document's name; the copy stays
// until that document is closed, as any document's copy does.
void OpenCopy(TMainForm& main, Messages& messages, AutoSaveRecordFile& record, const AutoSaveEntry& entry) {
  // The copy is read in the coding it was written in, so the document keeps its own.
  FileCoding coding;
  bool coding_known = ParseCodingName(entry.coding, coding);
  ReadOptions options;
  if (coding_known) options.encoding = coding.encoding;
  DocumentContent content;
  std::string refusal;
  if (!ReadDocumentFile(entry.copy, options, content, refusal)) {
    messages.Error(main.MessageOwner(), refusal);
    return;
  }
  if (coding_known) content.coding = coding;
  TMDIChild* doc = main.CreateDocumentWindow(entry.document);
  if (!doc) return;
  doc->LoadContent(std::move(content));
  SendMessageA(doc->Memo, EM_SETSEL, 0, 0);
  doc->SetModified(true);
  main.ShowModified(true);
  main.status_bar().SetText(kSizePanel, std::to_string(doc->TextLength()) + "ﾊﾞｲﾄ");
  main.ShowCoding(doc);
  main.UpdateCaretPosition();
  // New untitled documents must not take the recovered one's name (and copy).
  if (int n = UntitledNumber(entry.document); n >= main.UntitledCounter) main.UntitledCounter = n + 1;
  record.Note(entry);
}

}  // namespace

void AutoSaveRecordFile::Note(const AutoSaveEntry& entry) {
  const std::string& copy = entry.copy;
  auto noted = std::ranges::find_if(noted_, [&](const AutoSaveEntry& e) { return SameFileName(e.copy, copy); });
  if (noted != noted_.end() && SameFileName(noted->document, entry.document) && noted->coding == entry.coding) return;
  std::string bytes;
  if (!file_) {
    std::string temp = TempDirectory();
    std::string stem = std::string(kRecordPrefix).append(std::to_string(GetCurrentProcessId())).append("-");
    for (int n = 1; n <= 100 && !file_; ++n) {
      std::string path = temp + stem + std::to_string(n) + ".txt";
      file_.reset(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                              nullptr));
      if (file_) {
        path_ = path;
      } else if (GetLastError() != ERROR_FILE_EXISTS) {
        return;  // no record this time: the copies are still written
      }
    }
    if (!file_) return;
    bytes = AutoSaveRecordHeader(settings_file_);
  }
  bytes += AutoSaveRecordLine(entry);
  DWORD written = 0;
  if (!WriteFile(file_.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
      written != bytes.size()) {
    return;
  }
  unflushed_ = true;
  if (noted != noted_.end()) {
    *noted = entry;
  } else {
    noted_.push_back(entry);
  }
}

void AutoSaveRecordFile::Flush() {
  if (unflushed_ && file_) FlushFileBuffers(file_.get());
  unflushed_ = false;
}

void AutoSaveRecordFile::End(bool documents_closed) {
  file_.reset();
  bool copies_left = std::ranges::any_of(noted_, [](const AutoSaveEntry& e) { return FileExists(e.copy); });
  if (!path_.empty() && (documents_closed || !copies_left)) DeleteFileA(path_.c_str());
  path_.clear();
  noted_.clear();
}

void OfferAutoSaveRecovery(TMainForm& main, Messages& messages, AutoSaveRecordFile& record,
                           const std::function<void()>& before_asking) {
  FoundRecords found = FindRecords(record.settings_file(), record.path());
  std::vector<AutoSaveEntry> offered = CopiesToOffer(found.left, found.in_use, LastWriteTime);
  // The old text of a save into the document's own file that did not end is offered
  // whatever the document's age: the document may hold part of the new text.
  std::vector<KeptText> kept = KeptTexts();
  for (const KeptText& text : kept) offered.push_back({text.copy, text.document});
  if (!offered.empty()) {
    before_asking();
    if (messages.Show(main.MessageOwner(), MsgKind::Confirmation, RecoveryQuestion(offered), kMsgYes | kMsgNo) ==
        MsgResult::Yes) {
      for (const AutoSaveEntry& entry : offered) OpenCopy(main, messages, record, entry);
      record.Flush();
    }
  }
  // Their copies are now this run's, declined, or past offering: the records have done
  // their work, while every copy stays where it is.
  for (const std::string& path : found.ended) DeleteFileA(path.c_str());
  for (const KeptText& text : kept) DeleteFileA(text.record.c_str());
}

}  // namespace quillet
