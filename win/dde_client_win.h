#pragma once
// The client side of a DDE conversation (DDEML), as the TeX engine and the DVI viewers
// are spoken to: connect to a service and topic, send execute strings, disconnect.
#include <windows.h>

#include <ddeml.h>

#include <string>

namespace quillet {

class DdeClient {
 public:
  DdeClient();
  ~DdeClient();
  DdeClient(const DdeClient&) = delete;
  DdeClient& operator=(const DdeClient&) = delete;

  bool connected() const { return conversation_ != nullptr; }
  // Closes any open conversation, then DdeConnect to service and topic.
  bool Connect(const std::string& service, const std::string& topic);
  // A connect attempt: Connect; when that fails, start "service topic" with WinExec
  // (minimized, not activated) and, when it started, Connect once more.
  bool ConnectOrStart(const std::string& service, const std::string& topic);
  // Sends text (with its NUL, CF_TEXT) as an execute transaction without waiting for its
  // outcome. False when there is no conversation or the transaction cannot be started.
  bool ExecuteAsync(const std::string& text);
  // Sends text the same way and waits up to timeout_ms for the server's answer (messages
  // are handled meanwhile): true when it took the command. A conversation ends with its
  // pending transactions, so a client that leaves right after sending waits so.
  bool Execute(const std::string& text, DWORD timeout_ms);
  void Disconnect();

 private:
  static HDDEDATA CALLBACK Callback(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR);
  DWORD instance_ = 0;
  HCONV conversation_ = nullptr;
};

}  // namespace quillet
