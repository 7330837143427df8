#include "win/coding_lists_win.h"

#include "core/coding_choices.h"

namespace quillet {

namespace {
void Add(HWND list, const char* caption) { SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(caption)); }
int Chosen(HWND list) { return static_cast<int>(SendMessageA(list, CB_GETCURSEL, 0, 0)); }
}  // namespace

void FillCodingLists(const CodingLists& lists) {
  for (const EncodingChoice& choice : kEncodingChoices) Add(lists.encoding, choice.caption);
  for (const LineEndChoice& choice : kLineEndChoices) Add(lists.line_end, choice.caption);
}

void ShowCoding(const CodingLists& lists, const FileCoding& coding) {
  SendMessageA(lists.encoding, CB_SETCURSEL, static_cast<WPARAM>(EncodingChoiceOf(coding)), 0);
  SendMessageA(lists.line_end, CB_SETCURSEL, static_cast<WPARAM>(LineEndChoiceOf(coding.line_end)), 0);
}

FileCoding ChosenCoding(const CodingLists& lists, const FileCoding& shown) {
  return CodingOfChoices(Chosen(lists.encoding), Chosen(lists.line_end), shown);
}

}  // namespace quillet
