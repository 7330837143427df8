#pragma once
// The texts the program hands to the TeX engine, the DVI viewers and the outside editor.
#include <string>
#include <string_view>

namespace quillet {

// "[virtex(" + source name + "," + decimal index + ")]"
std::string EngineCommand(std::string_view source_name, int format_index);

// The DDE service (and topic) of a viewer kind: "yaWinDVI" for kind 4, else "WinDVI".
const char* ViewerService(int viewer_kind);

// "[FileOpen(" + name + ")]", the name in double quotes for kinds 0 to 2, bare otherwise.
std::string ViewerOpenCommand(std::string_view dvi_name, int viewer_kind);

// Whether a viewer kind takes the file name in double quotes.
bool ViewerQuotesName(int viewer_kind);

// The online manual below a viewer's program path: the directory part, its last four
// characters (a three-letter program folder and its "\") dropped, then
// "Digital\Windig.dvi". C:\WINDVI\BIN\WINDVI.EXE gives C:\WINDVI\Digital\Windig.dvi.
std::string DigitalManualPath(std::string_view viewer_path);

// Whether a file name can be put into a command: names over 254 bytes are TooLong; a bare
// name (quoted == false) must not hold, outside double-byte characters, a byte that would
// end or split the command: "]", ")" or ","; a quoted name must not hold '"'.
enum class CommandName { Ok, TooLong, BreaksCommand };
CommandName CheckCommandName(std::string_view name, bool quoted);

// The command line that shows a log in the outside editor: editor + " " + log name, the
// log name in double quotes when it contains a blank.
std::string EditorCommandLine(std::string_view editor, std::string_view log_name);

}  // namespace quillet
