#pragma once
// Saving where the folder takes no new file (an access list an administrator set) but the
// document itself may be written: the new text goes into the document's own file. Until
// it is on the disk, the old text is kept in the user's temporary folder under a name
// fixed for the document, with a record naming the document, so that a failure or a kill
// at any moment leaves the old text there; the next start offers it as it offers
// autosave copies.
#include <windows.h>

#include <string>
#include <vector>

#include "win/file_io_win.h"

namespace quillet {

// The in-place save. With a backup name the old text also becomes the backup, where it
// can be written.
SaveReport SaveInPlace(const std::string& path, const WriteBytes& write, const std::string& backup);

// The old texts that in-place saves left because they did not end.
struct KeptText {
  std::string copy;      // the old text
  std::string document;  // the document's full name
  std::string record;    // the record naming it
};
std::vector<KeptText> KeptTexts();

}  // namespace quillet
