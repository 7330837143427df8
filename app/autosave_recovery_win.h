#pragma once
// The run's own record of its autosave copies, and the start-up offer of the copies that
// ended runs left behind (document/autosave_recovery.h says why a record is kept).
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "document/autosave_recovery.h"
#include "win/handles_win.h"

namespace quillet {

class Messages;
class TMainForm;

// This run's record, in the temporary directory. It is made with the run's first copy and
// held open without write sharing until the run ends, so that a start that can open a
// record for reading alone knows its run has ended. It goes when the run ends with its
// documents closed (their copies are gone then); a run that ends any other way leaves it
// for the next start to offer.
class AutoSaveRecordFile {
 public:
  explicit AutoSaveRecordFile(std::string settings_file) : settings_file_(std::move(settings_file)) {}
  AutoSaveRecordFile(const AutoSaveRecordFile&) = delete;
  AutoSaveRecordFile& operator=(const AutoSaveRecordFile&) = delete;

  const std::string& settings_file() const { return settings_file_; }
  const std::string& path() const { return path_; }
  // copy now holds the text of document (its full name, or its untitled caption).
  void Note(const AutoSaveEntry& entry);
  // Puts what was noted since the last time on the disk (after a pass, not per copy).
  void Flush();
  // The run ends: the record goes when the documents were closed or none of its copies
  // is left.
  void End(bool documents_closed);

 private:
  std::string settings_file_;
  std::string path_;
  FileHandle file_;
  std::vector<AutoSaveEntry> noted_;
  bool unflushed_ = false;
};

// At start-up: offers the copies that ended runs with the same settings left and that are
// newer than their documents. Yes opens each as a modified document under its
// document's name and this run keeps the copy from then on; either answer leaves every
// copy and document where it is, and the question is not asked again. before_asking runs
// just before the question is shown.
void OfferAutoSaveRecovery(TMainForm& main, Messages& messages, AutoSaveRecordFile& record,
                           const std::function<void()>& before_asking);

}  // namespace quillet
