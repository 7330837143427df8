#include <windows.h>

#include <cstdlib>

#include "app/application_win.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  quillet::AppOptions options;
  for (int i = 1; i < __argc; ++i) options.args.emplace_back(__argv[i]);
  quillet::Application app(std::move(options));
  return app.Run();
}
