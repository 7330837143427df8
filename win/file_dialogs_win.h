#pragma once
// The platform's file dialogs behind one small interface, so tests can answer them.
#include <windows.h>

#include <memory>
#include <string>

#include "core/text_encoding.h"
#include "win/printing_win.h"

namespace quillet {

struct FileDialogArgs {
  std::string file_name{};    // preset of the name field
  std::string filter{};       // "description|patterns|description|patterns"
  std::string title{};        // empty: the platform's title
  std::string initial_dir{};
  std::string default_ext{};  // without dot; empty: none
  DWORD flags = 0;          // OFN_* options
  bool old_style = false;   // no OFN_EXPLORER
  // Set for a save: the dialog also offers the encoding and line ends, shows these, and
  // writes the chosen ones back when the user confirms. Null: no such choice.
  FileCoding* coding = nullptr;
};

class FileDialogs {
 public:
  virtual ~FileDialogs() = default;
  // True with the chosen full path when the user confirms.
  virtual bool Open(HWND owner, const FileDialogArgs& args, std::string& chosen) = 0;
  virtual bool Save(HWND owner, const FileDialogArgs& args, std::string& chosen) = 0;
  // The print dialog with the number of copies preset to 1: the printer chosen (null when
  // cancelled) and the number of copies asked for.
  virtual std::unique_ptr<PrintTarget> ChoosePrinter(HWND owner, int& copies) = 0;
};

class CommonFileDialogs : public FileDialogs {
 public:
  bool Open(HWND owner, const FileDialogArgs& args, std::string& chosen) override;
  bool Save(HWND owner, const FileDialogArgs& args, std::string& chosen) override;
  std::unique_ptr<PrintTarget> ChoosePrinter(HWND owner, int& copies) override;
};

// "a|b|c|d" -> "a\0b\0c\0d\0\0", stepping over double-byte characters.
std::string FilterForDialog(const std::string& filter);

}  // namespace quillet
