#pragma once
// What the stand-ins for outside programs share: reading their command line, appending to
// the record file the tests read, offering a DDE service that hands over every execute
// string, and a message loop that ends with the process that started them (so a test that
// fails half way never leaves one running to hold its output pipes open).
#include <windows.h>

#include <ddeml.h>
#include <tlhelp32.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "win/handles_win.h"

namespace quillet::standin {

// The words of a command line: blanks separate words, double quotes group blanks into a
// word and are dropped. Backslashes are always literal, so a name whose last character
// ends in the byte 0x5C can stand before a closing quote (blank and quote bytes are never
// the second byte of a double-byte character).
inline std::vector<std::string> SplitCommandLine(std::string_view line) {
  std::vector<std::string> words;
  std::string word;
  bool in_word = false, quoted = false;
  for (char c : line) {
    if (c == '"') {
      quoted = !quoted;
      in_word = true;
    } else if ((c == ' ' || c == '\t') && !quoted) {
      if (in_word) words.push_back(std::move(word));
      word.clear();
      in_word = false;
    } else {
      word += c;
      in_word = true;
    }
  }
  if (in_word) words.push_back(std::move(word));
  return words;
}

// Options of the form "--name" or "--name value" after the program's own name.
class Options {
 public:
  Options() : words_(SplitCommandLine(GetCommandLineA())) {}
  bool Flag(std::string_view name) const { return Find(name) < words_.size(); }
  std::string Value(std::string_view name) const {
    std::size_t i = Find(name);
    return i + 1 < words_.size() ? words_[i + 1] : std::string();
  }
  DWORD Milliseconds(std::string_view name) const {
    std::string text = Value(name);
    DWORD ms = 0;
    for (char c : text) {
      if (c < '0' || c > '9') return 0;
      ms = ms * 10 + static_cast<DWORD>(c - '0');
    }
    return ms;
  }

 private:
  std::size_t Find(std::string_view name) const {
    for (std::size_t i = 1; i < words_.size(); ++i) {
      if (words_[i] == name) return i;
    }
    return words_.size();
  }
  std::vector<std::string> words_;
};

// Appends text and a LF to the record file (created when missing).
inline void AppendRecord(const std::string& file, std::string_view text) {
  FileHandle out(CreateFileA(file.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                             nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!out) return;
  std::string line(text);
  line += '\n';
  DWORD written = 0;
  WriteFile(out.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

// Creates the record file when it is missing, so a test can see the stand-in is up.
inline void CreateRecord(const std::string& file) {
  FileHandle created(CreateFileA(file.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                 nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
}

// Sets the named event a test waits on; no name, nothing to do.
inline void SignalReady(const std::string& name) {
  if (name.empty()) return;
  KernelHandle event(OpenEventA(EVENT_MODIFY_STATE, FALSE, name.c_str()));
  if (event) SetEvent(event.get());
}

// The process that started this one: found and still there (a handle to wait on), found
// but already gone, or not found (the snapshot failed).
struct Parent {
  bool found = false;
  KernelHandle process;
};

inline Parent FindParent() {
  KernelHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot || snapshot.get() == INVALID_HANDLE_VALUE) return {};
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(snapshot.get(), &entry); more; more = Process32Next(snapshot.get(), &entry)) {
    if (entry.th32ProcessID == GetCurrentProcessId()) {
      return {true, KernelHandle(OpenProcess(SYNCHRONIZE, FALSE, entry.th32ParentProcessID))};
    }
  }
  return {};
}

// Runs the message loop until WM_QUIT or until the parent process ends. after_wake runs
// after every wake-up and returns how long the loop may sleep before it must run again.
inline void RunLoop(const std::function<DWORD()>& after_wake) {
  Parent parent = FindParent();
  if (parent.found && !parent.process) return;
  HANDLE handles[1] = {parent.process.get()};
  DWORD count = parent.process ? 1 : 0;
  for (DWORD wait = after_wake();; wait = after_wake()) {
    if (MsgWaitForMultipleObjects(count, handles, FALSE, wait, QS_ALLINPUT) == WAIT_OBJECT_0 && count) return;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) return;
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
}

// A DDE service whose one topic has the service's name, handing every execute string
// (up to its NUL, or all of it when it has none) to on_execute. One per process: DDEML
// callbacks carry no context of their own.
class DdeService {
 public:
  using OnExecute = std::function<void(const std::string&)>;

  DdeService(const std::string& name, OnExecute on_execute) : on_execute_(std::move(on_execute)) {
    current_ = this;
    DWORD flags = APPCLASS_STANDARD | APPCMD_FILTERINITS | CBF_FAIL_POKES | CBF_FAIL_REQUESTS | CBF_FAIL_ADVISES |
                  CBF_SKIP_ALLNOTIFICATIONS;
    if (DdeInitializeA(&instance_, &DdeService::Callback, flags, 0) != DMLERR_NO_ERROR) {
      instance_ = 0;
      return;
    }
    name_ = DdeCreateStringHandleA(instance_, name.c_str(), CP_WINANSI);
    offered_ = name_ && DdeNameService(instance_, name_, nullptr, DNS_REGISTER);
  }
  ~DdeService() {
    if (offered_) DdeNameService(instance_, name_, nullptr, DNS_UNREGISTER);
    if (name_) DdeFreeStringHandle(instance_, name_);
    if (instance_) DdeUninitialize(instance_);
    current_ = nullptr;
  }
  DdeService(const DdeService&) = delete;
  DdeService& operator=(const DdeService&) = delete;

  bool offered() const { return offered_; }

 private:
  static HDDEDATA CALLBACK Callback(UINT type, UINT, HCONV, HSZ topic, HSZ, HDDEDATA data, ULONG_PTR, ULONG_PTR) {
    DdeService* self = current_;
    if (!self) return nullptr;
    switch (type) {
      case XTYP_CONNECT:
        return reinterpret_cast<HDDEDATA>(static_cast<ULONG_PTR>(DdeCmpStringHandles(topic, self->name_) == 0));
      case XTYP_EXECUTE:
        self->on_execute_(ExecuteText(data));
        return reinterpret_cast<HDDEDATA>(static_cast<ULONG_PTR>(DDE_FACK));
      default:
        return nullptr;
    }
  }

  static std::string ExecuteText(HDDEDATA data) {
    std::string text(DdeGetData(data, nullptr, 0, 0), '\0');
    text.resize(DdeGetData(data, reinterpret_cast<LPBYTE>(text.data()), static_cast<DWORD>(text.size()), 0));
    if (std::size_t nul = text.find('\0'); nul != std::string::npos) text.resize(nul);
    return text;
  }

  static inline DdeService* current_ = nullptr;
  OnExecute on_execute_;
  DWORD instance_ = 0;
  HSZ name_ = nullptr;
  bool offered_ = false;
};

}  // namespace quillet::standin
