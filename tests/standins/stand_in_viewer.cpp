// Stand-in for a DVI viewer in the tests.
// Usage: stand_in_viewer --service WinDVI|yaWinDVI --record FILE [--ready EVENT]
// Offers the DDE service and topic of that name, appends every execute string and a LF to
// FILE, and keeps running until it is ended (or the process that started it ends).
#include "tests/standins/stand_in_common.h"

int main() {
  using namespace quillet;
  using namespace quillet::standin;
  CommandOptions options = Options();
  std::string record = options.Value("--record");
  std::string service = options.Value("--service");
  if (record.empty() || service.empty()) return 2;
  CreateRecord(record);
  DdeServer dde({service}, [&](const std::string& text) { AppendRecord(record, text); });
  if (!dde.offered()) return 1;
  SignalReady(options.Value("--ready"));
  RunLoopWhileParentLives([] { return INFINITE; });
  return 0;
}
