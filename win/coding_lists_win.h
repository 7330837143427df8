#pragma once
// The pair of drop-down lists that choose a document's encoding and line ends.
#include <windows.h>

#include "core/text_encoding.h"

namespace quillet {

struct CodingLists {
  HWND encoding = nullptr, line_end = nullptr;
};

// Puts the entries into both lists (once, right after they are made).
void FillCodingLists(const CodingLists& lists);
void ShowCoding(const CodingLists& lists, const FileCoding& coding);
// The coding the lists show; a list with nothing chosen keeps that part of shown.
FileCoding ChosenCoding(const CodingLists& lists, const FileCoding& shown);

}  // namespace quillet
