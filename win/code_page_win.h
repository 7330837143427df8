#pragma once
// Code page 932 as this system converts it, read once from the platform's own tables.
#include <string>

#include "core/code_page_932.h"

namespace quillet {

const CodePage932& SystemCodePage();

// UTF-16 text of the platform and UTF-8, for the names Linux programs take.
std::wstring WideFromUtf8(const std::string& utf8);
// UTF-16 text in the program's code page (a character it lacks becomes "?").
std::string AnsiFromWide(const wchar_t* wide);

}  // namespace quillet
