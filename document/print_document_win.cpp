#include "document/print_document_win.h"

#include <richedit.h>

namespace quillet {

bool PrintEditorText(HWND editor, PrintTarget& target, const std::string& title) {
  HDC dc = target.dc();
  RECT page{0, 0, MulDiv(GetDeviceCaps(dc, HORZRES), 1440, GetDeviceCaps(dc, LOGPIXELSX)),
            MulDiv(GetDeviceCaps(dc, VERTRES), 1440, GetDeviceCaps(dc, LOGPIXELSY))};
  FORMATRANGE range{};
  range.hdc = dc;
  range.hdcTarget = dc;
  range.rc = page;
  range.rcPage = page;
  LONG length = static_cast<LONG>(SendMessageA(editor, WM_GETTEXTLENGTH, 0, 0));
  if (!target.StartJob(title)) return false;
  bool ok = true;
  LONG start = 0;
  do {
    range.chrg = {start, -1};
    ok = target.StartPage();
    LONG next = ok ? static_cast<LONG>(SendMessageA(editor, EM_FORMATRANGE, TRUE, reinterpret_cast<LPARAM>(&range))) : start;
    ok = target.EndPage() && ok;
    if (next <= start) break;  // nothing more fits: never loop on the same place
    start = next;
  } while (ok && start < length);
  SendMessageA(editor, EM_FORMATRANGE, FALSE, 0);
  return target.EndJob() && ok;
}

}  // namespace quillet
