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

// Asks the viewer to show where a source line was set: "[ForwardSearch(\"" + source +
// "\"," + line + "," + page + ")]", the page (from 1) as the program's own SyncTeX reader
// found it, for a viewer that cannot look the line up itself.
std::string ViewerForwardSearchCommand(std::string_view source, int line, int page);

// Whether a viewer kind takes the file name in double quotes.
bool ViewerQuotesName(int viewer_kind);

// The online manual below a viewer's program path: the directory part, its last four
// characters (a three-letter program folder and its "\") dropped, then
// "Digital\Windig.dvi". C:\WINDVI\BIN\WINDVI.EXE gives C:\WINDVI\Digital\Windig.dvi.
std::string DigitalManualPath(std::string_view viewer_path);

// Who a file name is handed to.
enum class NameTaker {
  kEngine,        // an outside engine, the name bare in "[virtex(NAME,N)]"
  kEngineBridge,  // the shipped engine bridge: it reads that command from both ends
  kViewerBare,    // a viewer taking "[FileOpen(NAME)]"
  kViewerQuoted,  // a viewer taking the name in double quotes
};

// Whether an engine command starts the shipped engine bridge, quillet-tex.exe.
bool IsEngineBridge(std::string_view engine_command);

// Whether a file name can be handed over, and else why, with the characters found:
// TooLong, a name over 254 bytes, for the outside programs' command buffers;
// BreaksCommand, outside double-byte characters a byte that would end or split the
// command: "]", ")" or "," in a bare name, '"' in a quoted one;
// TeXCannotRead, for the bridge, which runs TeX on the name without its folder: TeX reads
// that name as the first line of its input, so "%" begins a comment, "~" is an active
// character, "^^" writes another character, and blanks in a row become one blank in the
// names of the files it writes.
enum class CommandName { Ok, TooLong, BreaksCommand, TeXCannotRead };
struct NameCheck {
  CommandName problem = CommandName::Ok;
  std::string found;  // the character or characters that are the problem
};
NameCheck CheckCommandName(std::string_view name, NameTaker taker);

// The command line that shows a log in the outside editor: editor + " " + log name, the
// log name in double quotes when it contains a blank.
std::string EditorCommandLine(std::string_view editor, std::string_view log_name);

// What the run panel says after a run without errors: "TeX 終了 (1.2 秒)", the time in
// tenths of a second.
std::string RunEndedText(unsigned long milliseconds);

}  // namespace quillet
