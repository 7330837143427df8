#include "win/printing_win.h"

namespace quillet {

PrinterTarget::~PrinterTarget() { DeleteDC(dc_); }

bool PrinterTarget::StartJob(const std::string& title) {
  DOCINFOA info{};
  info.cbSize = sizeof(info);
  info.lpszDocName = title.c_str();
  return StartDocA(dc_, &info) > 0;
}

bool PrinterTarget::StartPage() { return ::StartPage(dc_) > 0; }
bool PrinterTarget::EndPage() { return ::EndPage(dc_) > 0; }
bool PrinterTarget::EndJob() { return EndDoc(dc_) > 0; }

}  // namespace quillet
