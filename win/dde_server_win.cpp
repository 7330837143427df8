#include "win/dde_server_win.h"

#include "win/guard_win.h"

namespace quillet {

DdeServer::DdeServer(const std::vector<std::string>& services, OnExecute on_execute)
    : on_execute_(std::move(on_execute)) {
  current_ = this;
  DWORD flags = APPCLASS_STANDARD | APPCMD_FILTERINITS | CBF_FAIL_POKES | CBF_FAIL_REQUESTS | CBF_FAIL_ADVISES |
                CBF_SKIP_ALLNOTIFICATIONS;
  if (DdeInitializeA(&instance_, &DdeServer::Callback, flags, 0) != DMLERR_NO_ERROR) {
    instance_ = 0;
    return;
  }
  for (const std::string& service : services) {
    HSZ name = DdeCreateStringHandleA(instance_, service.c_str(), CP_WINANSI);
    if (!name) continue;
    names_.push_back(name);
    if (DdeNameService(instance_, name, nullptr, DNS_REGISTER)) ++offered_;
  }
}

DdeServer::~DdeServer() {
  for (HSZ name : names_) {
    DdeNameService(instance_, name, nullptr, DNS_UNREGISTER);
    DdeFreeStringHandle(instance_, name);
  }
  if (instance_) DdeUninitialize(instance_);
  current_ = nullptr;
}

bool DdeServer::IsOurTopic(HSZ topic) const {
  for (HSZ name : names_) {
    if (DdeCmpStringHandles(topic, name) == 0) return true;
  }
  return false;
}

HDDEDATA CALLBACK DdeServer::Callback(UINT type, UINT, HCONV, HSZ topic, HSZ, HDDEDATA data, ULONG_PTR, ULONG_PTR) {
  DdeServer* self = current_;
  if (!self) return nullptr;
  return Guarded<HDDEDATA>(nullptr, nullptr, [&]() -> HDDEDATA {
    switch (type) {
      case XTYP_CONNECT:
        return reinterpret_cast<HDDEDATA>(static_cast<ULONG_PTR>(self->IsOurTopic(topic)));
      case XTYP_EXECUTE:
        self->on_execute_(ExecuteText(data));
        return reinterpret_cast<HDDEDATA>(static_cast<ULONG_PTR>(DDE_FACK));
      default:
        return nullptr;
    }
  });
}

std::string DdeServer::ExecuteText(HDDEDATA data) {
  std::string text(DdeGetData(data, nullptr, 0, 0), '\0');
  text.resize(DdeGetData(data, reinterpret_cast<LPBYTE>(text.data()), static_cast<DWORD>(text.size()), 0));
  if (std::size_t nul = text.find('\0'); nul != std::string::npos) text.resize(nul);
  return text;
}

}  // namespace quillet
