#pragma once
// The server side of DDE (DDEML), as the TeX engine and the DVI viewers offer it: one or
// more services, each with one topic of the service's own name, handing every execute
// string (up to its NUL, or all of it when it has none) to on_execute. One per process:
// DDEML callbacks carry no context of their own.
#include <windows.h>

#include <ddeml.h>

#include <functional>
#include <string>
#include <vector>

namespace quillet {

class DdeServer {
 public:
  using OnExecute = std::function<void(const std::string& text)>;

  DdeServer(const std::vector<std::string>& services, OnExecute on_execute);
  ~DdeServer();
  DdeServer(const DdeServer&) = delete;
  DdeServer& operator=(const DdeServer&) = delete;

  // Every service is offered.
  bool offered() const { return offered_ == names_.size() && !names_.empty(); }

 private:
  static HDDEDATA CALLBACK Callback(UINT type, UINT, HCONV, HSZ topic, HSZ, HDDEDATA data, ULONG_PTR, ULONG_PTR);
  static std::string ExecuteText(HDDEDATA data);
  bool IsOurTopic(HSZ topic) const;

  static inline DdeServer* current_ = nullptr;
  OnExecute on_execute_;
  DWORD instance_ = 0;
  std::vector<HSZ> names_;
  std::size_t offered_ = 0;
};

}  // namespace quillet
