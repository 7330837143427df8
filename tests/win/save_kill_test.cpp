// The program killed outright (no clean-up of any kind) at many moments while it
// autosaves and then saves a large document with backups on: after every kill the
// document, its backup and its autosave copy are each whole, the old text or the new,
// byte for byte.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <random>
#include <utility>

#include "core/command_ids.h"
#include "editor/editor_win.h"
#include "tests/win/support/linux_run.h"
#include "tests/win/support/standins.h"
#include "tests/win/support/test_support.h"

namespace quillet::test {
namespace {

constexpr int kKills = 30;
constexpr std::size_t kDocumentBytes = 20u << 20;

double Now() {
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// Waits until the moment, to well under a millisecond.
void WaitUntil(double moment) {
  for (double left; (left = moment - Now()) > 0;) {
    if (left > 3) Sleep(static_cast<DWORD>(left - 2));
  }
}

std::string ProgramPath() {
  char exe[MAX_PATH];
  DWORD n = GetModuleFileNameA(nullptr, exe, MAX_PATH);
  std::string path(exe, n);
  return path.substr(0, path.rfind('\\') + 1) + "Quillet.exe";
}

// Shift-JIS TeX text in which every line differs, so that a piece out of place shows.
std::string LargeDocument() {
  std::string text;
  text.reserve(kDocumentBytes + 64);
  char line[96];
  for (int n = 0; text.size() < kDocumentBytes; ++n) {
    int len = std::snprintf(line, sizeof line, n % 20 ? "本文の%07d行目です。\\ref{sec:%d}\r\n" : "\\section{見出し%07d}\r\n", n, n);
    text.append(line, static_cast<std::size_t>(len));
  }
  return text;
}

// The program's process on one document, with a temporary directory of its own: a
// killed run leaves its autosave record there, and the next run must not find it.
class Program {
 public:
  Program(const std::string& document, const std::string& temp) {
    std::string env;
    char* own = GetEnvironmentStringsA();
    for (const char* p = own; *p; p += std::strlen(p) + 1) {
      if (_strnicmp(p, "TEMP=", 5) && _strnicmp(p, "TMP=", 4)) env.append(p).push_back('\0');
    }
    FreeEnvironmentStringsA(own);
    env.append("TEMP=").append(temp).push_back('\0');
    env.append("TMP=").append(temp).push_back('\0');
    env.push_back('\0');
    std::string line = std::string("\"").append(ProgramPath()).append("\" \"").append(document).append("\"");
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, env.data(), nullptr, &startup, &info_)) {
      info_ = {};
    }
  }
  ~Program() { Kill(); }
  void Kill() { KillProcess(info_); }
  // Waits until the document window shows size bytes; its main window and editor then.
  bool WaitForDocument(std::size_t size, DWORD timeout_ms) {
    for (double end = Now() + timeout_ms; Now() < end; Sleep(10)) {
      if (!info_.hProcess) return false;
      main_ = FindMain();
      HWND client = main_ ? FindWindowExA(main_, nullptr, "MDICLIENT", nullptr) : nullptr;
      HWND child = client ? FindWindowExA(client, nullptr, "TMDIChild", nullptr) : nullptr;
      editor_ = child ? FindWindowExA(child, nullptr, kEditorClassName, nullptr) : nullptr;
      DWORD_PTR length = 0;
      if (editor_ && SendMessageTimeoutA(editor_, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 1000, &length) &&
          length == size) {
        return true;
      }
    }
    return false;
  }
  // One typed character at the caret, an autosave pass, then Save, queued in that order
  // as the user's key, the timer and the menu would queue them.
  void TypeAutosaveAndSave(char c, bool autosave = true) {
    PostMessageA(editor_, WM_CHAR, static_cast<unsigned char>(c), 1);
    if (autosave) PostMessageA(main_, WM_TIMER, 1, 0);
    PostMessageA(main_, WM_COMMAND, MAKEWPARAM(kFileSaveItem, 0), 0);
  }

 private:
  HWND FindMain() const {
    struct Search {
      DWORD pid;
      HWND found;
    } search{info_.dwProcessId, nullptr};
    EnumWindows(
        [](HWND w, LPARAM l) -> BOOL {
          auto* s = reinterpret_cast<Search*>(l);
          DWORD pid = 0;
          char name[32] = {};
          GetWindowThreadProcessId(w, &pid);
          GetClassNameA(w, name, sizeof name);
          if (pid != s->pid || std::strcmp(name, "TMainForm")) return TRUE;
          s->found = w;
          return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
  }
  PROCESS_INFORMATION info_{};
  HWND main_ = nullptr;
  HWND editor_ = nullptr;
};

std::int64_t FileSize(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return -1;
  return (static_cast<std::int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// When the file was last written (0 when missing): a file put in place by a rename
// shows as a new time.
std::int64_t WriteTime(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return 0;
  return (static_cast<std::int64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
}

// The whole file with one read (a missing file reads as empty).
std::string ReadWhole(const std::string& path) {
  std::string bytes;
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0,
                            nullptr);
  if (file == INVALID_HANDLE_VALUE) return bytes;
  bytes.resize(static_cast<std::size_t>(std::max<std::int64_t>(FileSize(path), 0)));
  DWORD got = 0;
  if (!ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr)) got = 0;
  bytes.resize(got);
  CloseHandle(file);
  return bytes;
}

// Which of the two texts a file holds: 0 the first, 1 the second, -1 neither.
int Which(const std::string& path, const std::string& first, const std::string& second) {
  std::string bytes = ReadWhole(path);
  return bytes == first ? 0 : bytes == second ? 1 : -1;
}

// The temporary files a killed save left beside the document (a kill between the last
// steps of a save leaves a whole one, one in the instant after it is made an empty one);
// removed, counted, and those that hold part of a text counted apart.
void RemoveLeftovers(const std::string& dir, const std::string& old_text, const std::string& new_text, int& left,
                     int& partial) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((dir + "qlt*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    std::string path = dir + found.cFileName;
    partial += FileSize(path) > 0 && Which(path, old_text, new_text) == -1;
    left += DeleteFileA(path.c_str()) != FALSE;
  } while (FindNextFileA(search, &found));
  FindClose(search);
}

using Text = std::shared_ptr<const std::string>;

// The document typed into: c put at position at.
Text Typed(const Text& text, std::size_t at, char c) {
  auto typed = std::make_shared<std::string>(*text);
  typed->insert(at, 1, c);
  return typed;
}

// The files of the document and what each holds now.
struct Files {
  TempDir dir;
  std::string doc = dir / "large.tex", backup = dir / "large.bak", copy = dir / "large.$$$";
  Text text = std::make_shared<const std::string>(LargeDocument());
  Text backup_text = std::make_shared<const std::string>("the previous backup\r\n");
  Text copy_text = std::make_shared<const std::string>("an earlier copy\r\n");
  Files() {
    WriteFileBytes(doc, *text);
    WriteFileBytes(backup, *backup_text);
    WriteFileBytes(copy, *copy_text);
  }
};

TEST(SaveKill, EveryFileIsWholeWhereverTheProgramIsKilled) {
  Files f;
  std::mt19937 random(13);
  std::uniform_real_distribution<double> share(0, 1);
  int in_save = 0, in_autosave = 0, after = 0, leftovers = 0, partial = 0;
  double autosave_total = 0, save_total = 0;
  for (int kill = 0; kill < kKills; ++kill) {
    TempDir temp;
    Program program(f.doc, temp.path());
    ASSERT_TRUE(program.WaitForDocument(f.text->size(), 60000)) << "kill " << kill;
    // First a change autosaved and saved to the end, which times both as the machine's
    // load is now. The autosave ends when its copy takes its place, the save when the
    // document and the backup both have theirs.
    Text saved = Typed(f.text, 0, static_cast<char>('a' + kill % 26));
    std::int64_t copy_time = WriteTime(f.copy);
    double start = Now();
    program.TypeAutosaveAndSave((*saved)[0]);
    while (WriteTime(f.copy) == copy_time && Now() - start < 60000) {}
    double autosave_ms = Now() - start;
    while ((FileSize(f.backup) != static_cast<std::int64_t>(f.text->size()) ||
            FileSize(f.doc) != static_cast<std::int64_t>(saved->size())) &&
           Now() - start < 60000) {
    }
    double save_ms = Now() - start - autosave_ms;
    // (Texts of this size are compared as a whole: a failure report of their differences
    // would take hours to make.)
    if (kill == 0) {
      ASSERT_TRUE(ReadWhole(f.doc) == *saved) << "the save did not write the document";
      ASSERT_TRUE(ReadWhole(f.backup) == *f.text) << "the save made no backup: backups must be on in its settings";
      ASSERT_TRUE(ReadWhole(f.copy) == *saved) << "the autosave pass wrote no copy";
    }
    f.backup_text = std::exchange(f.text, saved);
    f.copy_text = saved;
    autosave_total += autosave_ms;
    save_total += save_ms;

    // Then the next change, at the caret after the first, killed on the way: every third
    // kill at a moment of the autosave pass from the moment the commands are queued, the
    // others at a moment of the save from the moment the pass has put its copy in place.
    char typed = static_cast<char>('A' + kill % 26);
    Text next = Typed(f.text, 1, typed);
    copy_time = WriteTime(f.copy);
    start = Now();
    program.TypeAutosaveAndSave(typed);
    double at = autosave_ms * share(random);
    if (kill % 3) {
      while (WriteTime(f.copy) == copy_time && Now() - start < 60000) {}
      at = Now() - start + save_ms * share(random);
    }
    WaitUntil(start + at);
    program.Kill();

    int doc_is = Which(f.doc, *f.text, *next), backup_is = Which(f.backup, *f.backup_text, *f.text);
    int copy_is = Which(f.copy, *f.copy_text, *next);
    ASSERT_NE(doc_is, -1) << "kill " << kill << " at " << at << " ms left the document neither old nor new";
    ASSERT_NE(backup_is, -1) << "kill " << kill << " at " << at << " ms left the backup neither old nor new";
    ASSERT_NE(copy_is, -1) << "kill " << kill << " at " << at << " ms left the autosave copy neither old nor new";
    RemoveLeftovers(f.dir.path(), *f.text, *next, leftovers, partial);
    // The pass runs to its end before the save begins; the save ends with the backup.
    if (copy_is == 0) {
      EXPECT_EQ(doc_is, 0) << "kill " << kill;
      ++in_autosave;
    } else if (doc_is == 1 && backup_is == 1) {
      ++after;
    } else {
      ++in_save;
    }
    if (backup_is == 1) f.backup_text = f.text;
    if (doc_is == 1) f.text = next;
    if (copy_is == 1) f.copy_text = next;
  }
  std::printf("%d kills of a program saving %zu bytes (autosave pass %.0f ms, save %.0f ms on average): %d inside "
              "the save, %d before or inside the autosave pass, %d after the save; %d temporary files left behind, %d "
              "of them part-written\n",
              kKills, f.text->size(), autosave_total / kKills, save_total / kKills, in_save, in_autosave, after,
              leftovers, partial);
  EXPECT_EQ(partial, 0) << "a save killed while writing left its part-written temporary file";
  // Only a kill in the instants between a save's last renames may leave a (whole) file;
  // without the deletion mark more than half the kills left one.
  EXPECT_LE(leftovers, kKills / 4) << "saves killed while writing leave their temporary files behind";
  // Kills that all missed the save would prove nothing.
  EXPECT_GE(in_save, kKills / 6);
}

// The old text a save in place keeps in the temporary folder, and its record (empty when
// there is none).
struct KeptOldText {
  std::string text, record;
};
KeptOldText KeptIn(const std::string& temp) {
  KeptOldText kept;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((temp + "quillet-kept-*.txt").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return kept;
  std::string record = temp + found.cFileName;
  FindClose(search);
  kept.record = ReadWhole(record);
  kept.text = ReadWhole(record.substr(0, record.size() - 4) + ".tex");
  return kept;
}

// The byte at index (0 or 1) of the file as it is now.
char ByteAt(const std::string& path, int index) {
  char bytes[2] = {};
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                            nullptr);
  DWORD got = 0;
  if (file != INVALID_HANDLE_VALUE && !ReadFile(file, bytes, 2, &got, nullptr)) got = 0;
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  return bytes[index];
}

bool RecordIsThere(const std::string& temp) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((temp + "quillet-kept-*.txt").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  FindClose(search);
  return true;
}

// A document in a folder that takes no new file is saved into its own file: killed at any
// moment, the document is its old text or its new, or else the old text is whole in the
// temporary folder with the record that names the document, for the next start to offer.
TEST(SaveKill, ASaveInPlaceLeavesTheOldTextWhereverItIsKilled) {
  constexpr int kInPlaceKills = 12;
  Files f;
  FixedFolder fixed(f.dir.path());
  if (!fixed.fixed()) GTEST_SKIP() << "this file system cannot mark a folder to take no new file";
  std::mt19937 random(29);
  std::uniform_real_distribution<double> share(0, 1);
  int before = 0, cut = 0, after = 0;
  for (int kill = 0; kill < kInPlaceKills; ++kill) {
    TempDir temp;
    Program program(f.doc, temp.path());
    ASSERT_TRUE(program.WaitForDocument(f.text->size(), 60000)) << "kill " << kill;
    // A whole save first, timed up to the moment its record is written (the old text is
    // then kept), and from its first new byte in the document to the document's new size
    // (the text written, one byte longer): kills land within those times on any machine.
    Text saved = Typed(f.text, 0, static_cast<char>('a' + kill % 26));
    double start = Now();
    program.TypeAutosaveAndSave((*saved)[0], false);
    while (!RecordIsThere(temp.path()) && Now() - start < 60000) {}
    double kept_ms = Now() - start;
    while (ByteAt(f.doc, 0) != (*saved)[0] && Now() - start < 60000) {}
    double writing = Now();
    while (FileSize(f.doc) != static_cast<std::int64_t>(saved->size()) && Now() - start < 60000) {}
    double write_ms = Now() - writing;
    while (RecordIsThere(temp.path()) && Now() - start < 60000) {}
    ASSERT_TRUE(ReadWhole(f.doc) == *saved) << "kill " << kill << ": the save in place did not write the document";
    f.text = saved;
    // Then the next, killed while the old text is being kept (every fourth) or soon after
    // the new text has begun to go in (its second byte is the typed one).
    Text next = Typed(f.text, 1, static_cast<char>('A' + kill % 26));
    start = Now();
    program.TypeAutosaveAndSave((*next)[1], false);
    if (kill % 4) {
      // At once, or a little later: a kill takes effect some time after it is asked
      // for, and the writing is seen late, so longer waits all land after it.
      while (ByteAt(f.doc, 1) != (*next)[1] && Now() - start < 60000) {}
      if (kill % 4 != 1) WaitUntil(Now() + write_ms / 8 * share(random));
    } else {
      WaitUntil(start + kept_ms * share(random));
    }
    program.Kill();
    int doc_is = Which(f.doc, *f.text, *next);
    KeptOldText kept = KeptIn(temp.path());
    if (doc_is == -1) {
      ASSERT_TRUE(kept.text == *f.text) << "kill " << kill << " cut the document and lost its old text";
      EXPECT_NE(kept.record.find(f.doc), std::string::npos) << "kill " << kill << ": the record says " << kept.record;
      WriteFileBytes(f.doc, *f.text);  // as the user would, from the copy offered at the next start
      ++cut;
    } else {
      if (!kept.record.empty()) {
        EXPECT_TRUE(kept.text == *f.text) << "kill " << kill << ": a record of a part-kept text";
      }
      ++(doc_is == 0 ? before : after);
      if (doc_is == 1) f.text = next;
    }
  }
  std::printf("%d kills of a program saving %zu bytes in place: %d before the document was written, %d while it was, "
              "%d after\n",
              kInPlaceKills, f.text->size(), before, cut, after);
  EXPECT_GE(cut, kInPlaceKills / 4) << "kills that all missed the writing prove nothing";
}

}  // namespace
}  // namespace quillet::test
