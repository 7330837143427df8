#pragma once
// Prints an editor's whole text as one job: pages laid out by the editor's page formatter
// over the whole printable area of the device, no margins added.
#include <windows.h>

#include <string>

#include "win/printing_win.h"

namespace quillet {

bool PrintEditorText(HWND editor, PrintTarget& target, const std::string& title);

}  // namespace quillet
