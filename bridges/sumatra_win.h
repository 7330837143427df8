#pragma once
// Showing the PDF, or a place in it, in SumatraPDF over DDE. When no SumatraPDF answers,
// it is started from the viewer command with inverse search to quillet_exe (Quillet.exe's
// full name); names are full Windows names.
#include <string>

namespace quillet {

// Opens the PDF and shows the place: first our page (from 1; 0 when none was found),
// then SumatraPDF's own forward search of source and line, which moves on to the exact
// place when its lookup finds it (it may not for a Japanese name or vertical writing).
// A SumatraPDF started now is waited for up to 10 seconds. True when it took the PDF.
bool ShowPlaceInSumatra(const std::string& viewer_command, const std::string& pdf, const std::string& source, int line,
                        int page, const std::string& quillet_exe);

// Opens the PDF in the running SumatraPDF, or starts one on it. True when either happened.
bool ShowPdfInSumatra(const std::string& viewer_command, const std::string& pdf, const std::string& quillet_exe);

}  // namespace quillet
