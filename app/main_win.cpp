#include <windows.h>

#include <cstdlib>

#include "app/application_win.h"
#include "app/second_start_win.h"
#include "core/command_line.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  quillet::AppOptions options;
  for (int i = 1; i < __argc; ++i) options.args.emplace_back(__argv[i]);
  // Read from the line itself: a name ending in the byte 0x5C keeps its closing quote.
  options.line_request = quillet::ParseLineRequest(quillet::SplitCommandLine(GetCommandLineA()));
  if (options.line_request) {
    options.line_request->file = quillet::WindowsFileName(options.line_request->file);
    // A viewer's inverse search goes to the program already running, which shows the line.
    if (quillet::HandOverLineRequest(*options.line_request)) return 0;
  }
  quillet::Application app(std::move(options));
  return app.Run();
}
