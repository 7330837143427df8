#pragma once
// Asks the engine bridge, once per program start, which of the wizard's classes the
// installed TeX has: "<bridge> --classes FILE" writes them to FILE. Under Wine only the
// bridge can ask TeX Live, a Linux program.
#include <windows.h>

#include <string>

#include "aids/document_classes.h"
#include "win/handles_win.h"

namespace quillet {

class ClassListQuery {
 public:
  // Starts the bridge (its command line as the settings hold it) on the first call;
  // later calls do nothing.
  void Start(const std::string& bridge_command, const std::string& list_file);
  // Whether a started bridge has not been waited for yet.
  bool Pending() const { return static_cast<bool>(bridge_); }
  // Waits up to ms for the bridge to end and reads its list; none when it failed or did
  // not end in time. It is not waited for again.
  InstalledClasses Finish(DWORD ms);

 private:
  bool started_ = false;
  KernelHandle bridge_;
  std::string list_file_;
};

}  // namespace quillet
