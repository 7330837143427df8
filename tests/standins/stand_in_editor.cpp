// Stand-in for the outside editor in the tests.
// Usage: stand_in_editor --record FILE <anything>
// Appends its whole command line, as it received it, and a LF to FILE, and exits.
#include "tests/standins/stand_in_common.h"

int main() {
  using namespace quillet::standin;
  std::string record = Options().Value("--record");
  if (record.empty()) return 2;
  AppendRecord(record, GetCommandLineA());
  return 0;
}
