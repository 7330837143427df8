#pragma once
// TSectionDlg, the heading search dialog "見出しの検索": each showing scans the active
// document for its headings, keyword by keyword, lists them and jumps to the one chosen.
#include <windows.h>

#include <cstddef>
#include <memory>
#include <vector>

#include "aids/heading_index.h"
#include "win/form_win.h"
#include "win/page_control_win.h"

namespace quillet {

class TSectionDlg : public Form {
 public:
  bool Create();
  // The editor whose text the next showing lists.
  void SetEditor(HWND editor) { editor_ = editor; }
  void EnsureContents() override;

  HWND Label1 = nullptr, SectionNum = nullptr, ListView = nullptr, Button1 = nullptr, Button2 = nullptr,
       Button3 = nullptr, Label2 = nullptr, ProgressBar = nullptr, StopBtn = nullptr;
  TabPage Panel;  // over everything while a scan runs
  const std::vector<HeadingRow>& rows() const { return rows_; }

  void StopBtnClick();
  void ListViewChange();
  void Button1Click();
  void ListViewColumnClick(int column);

 protected:
  void BuildContents() override;
  int DefaultButtonId() const override;
  void FormActivate() override;
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void Scan();
  // Handles the messages queued meanwhile, the dialog's keys included.
  void PumpDuringScan();
  void ShowRows();
  void Layout();
  void OnNotify(const NMHDR& header, LPARAM lp);

  HWND editor_ = nullptr;
  std::vector<HeadingRow> rows_;
  bool scan_pending_ = false, scanning_ = false;
  std::size_t scan_keyword_ = 0, scan_position_ = 0;
};

}  // namespace quillet
