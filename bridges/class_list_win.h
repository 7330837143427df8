#pragma once
// quillet-tex --classes FILE: which of the new-document wizard's classes the installed TeX
// has, written to FILE for TeX Quillet, which cannot ask TeX Live itself under Wine.
#include <string>

#include "win/system_dll_win.h"  // UnderWine

namespace quillet {

// Asks kpsewhich (waiting a few seconds at most) for every file the wizard's classes need
// and writes those found to out_file, whole. 0 when the list is written; 1 when kpsewhich
// could not be run or did not answer in time, and nothing is written. linux_tools: the
// Linux kpsewhich, through /bin/sh.
int WriteClassList(const std::string& out_file, bool linux_tools = UnderWine());

}  // namespace quillet
