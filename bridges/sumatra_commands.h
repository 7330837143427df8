#pragma once
// SumatraPDF as the viewer of the PDF: known by the program file of the Show setting,
// spoken to over DDE (service "SUMATRA", topic "control") with execute strings, and
// started with an inverse search that brings a double-click in the PDF back to
// Quillet.exe. Names are Shift-JIS and never hold a double quote.
#include <string>
#include <string_view>

namespace quillet {

inline constexpr char kSumatraService[] = "SUMATRA";
inline constexpr char kSumatraTopic[] = "control";

// True when the viewer command's program file (quoted or not, in any folder, with any
// arguments after it) is SumatraPDF.exe, in any ASCII case.
bool IsSumatraViewer(std::string_view viewer_command);

// "[Open("PDF",0,1,1)]": in the window already open, focused, read again.
std::string SumatraOpenCommand(std::string_view pdf);
// "[GotoPage("PDF",PAGE)]".
std::string SumatraGotoPageCommand(std::string_view pdf, int page);
// "[ForwardSearch("PDF","SOURCE",LINE,0,0,1)]": column 0, no new window, focused.
std::string SumatraForwardSearchCommand(std::string_view pdf, std::string_view source, int line);

// The viewer command (its program quoted) with the arguments that reuse a running
// SumatraPDF, make inverse search run "QUILLET_EXE" -line %l "%f", and open the PDF.
std::string SumatraStartCommandLine(std::string_view viewer_command, std::string_view pdf,
                                    std::string_view quillet_exe);

}  // namespace quillet
