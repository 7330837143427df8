#include "win/dde_client_win.h"

namespace quillet {

namespace {
// A string handle for the length of a call.
class DdeString {
 public:
  DdeString(DWORD instance, const std::string& text)
      : instance_(instance), handle_(DdeCreateStringHandleA(instance, text.c_str(), CP_WINANSI)) {}
  ~DdeString() {
    if (handle_) DdeFreeStringHandle(instance_, handle_);
  }
  DdeString(const DdeString&) = delete;
  DdeString& operator=(const DdeString&) = delete;
  HSZ get() const { return handle_; }

 private:
  DWORD instance_;
  HSZ handle_;
};
}  // namespace

HDDEDATA CALLBACK DdeClient::Callback(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) { return nullptr; }

DdeClient::DdeClient() {
  if (DdeInitializeA(&instance_, &DdeClient::Callback, APPCMD_CLIENTONLY, 0) != DMLERR_NO_ERROR) instance_ = 0;
}

DdeClient::~DdeClient() {
  Disconnect();
  if (instance_) DdeUninitialize(instance_);
}

bool DdeClient::Connect(const std::string& service, const std::string& topic) {
  Disconnect();
  if (!instance_) return false;
  DdeString s(instance_, service), t(instance_, topic);
  conversation_ = DdeConnect(instance_, s.get(), t.get(), nullptr);
  return conversation_ != nullptr;
}

bool DdeClient::ConnectOrStart(const std::string& service, const std::string& topic) {
  if (Connect(service, topic)) return true;
  std::string command = service + " " + topic;
  if (WinExec(command.c_str(), SW_SHOWMINNOACTIVE) >= 32) Connect(service, topic);
  return connected();
}

bool DdeClient::ExecuteAsync(const std::string& text) {
  if (!conversation_) return false;
  DWORD result = 0;
  HDDEDATA data = DdeCreateDataHandle(instance_, reinterpret_cast<LPBYTE>(const_cast<char*>(text.c_str())),
                                      static_cast<DWORD>(text.size() + 1), 0, nullptr, CF_TEXT, 0);
  if (!data) return false;
  // The data handle belongs to the system once the transaction takes it.
  return DdeClientTransaction(reinterpret_cast<LPBYTE>(data), static_cast<DWORD>(-1), conversation_, nullptr, CF_TEXT,
                              XTYP_EXECUTE, TIMEOUT_ASYNC, &result) != nullptr;
}

bool DdeClient::Execute(const std::string& text, DWORD timeout_ms) {
  if (!conversation_) return false;
  DWORD result = 0;
  return DdeClientTransaction(reinterpret_cast<LPBYTE>(const_cast<char*>(text.c_str())),
                              static_cast<DWORD>(text.size() + 1), conversation_, nullptr, CF_TEXT, XTYP_EXECUTE,
                              timeout_ms, &result) != nullptr;
}

void DdeClient::Disconnect() {
  if (conversation_) DdeDisconnect(conversation_);
  conversation_ = nullptr;
}

}  // namespace quillet
