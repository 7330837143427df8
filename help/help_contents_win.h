#pragma once
// The help contents window: the topics grouped by chapter in a tree on the left, the
// chosen topic's title and text on the right.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "help/help_file.h"
#include "win/handles_win.h"
#include "win/window_win.h"

namespace quillet {

class HelpContents : public Window {
 public:
  ~HelpContents() override;

  // Opens the window on the file's topics with the first topic chosen, or brings the
  // open window forward as it is. The file must outlive the window. False when the
  // window cannot be made.
  bool Open(const HelpFile& file);
  void Close();

  // Title, CR LF and text of what the right pane shows.
  std::string shown_text() const;

 private:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void Detached() override;
  bool CreateChildren();
  HTREEITEM AddItem(HTREEITEM parent, const std::string& text, LPARAM param, bool bold);
  HTREEITEM FillTree();
  void ShowSelection();
  void LayoutChildren();
  void Paint();
  RECT TitleRect() const;
  static LRESULT CALLBACK KeyProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR self);
  static LRESULT HandleKey(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR self);

  const HelpFile* file_ = nullptr;
  HWND tree_ = nullptr;
  HWND body_ = nullptr;
  HWND focus_ = nullptr;  // the child that had the focus when the window was left
  std::string title_;
  FontHandle font_;
  FontHandle title_font_;
};

}  // namespace quillet
