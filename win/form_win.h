#pragma once
// A top-level window of the program that is created once and kept: dialogs are shown
// modally and hidden again, never destroyed.
#include <windows.h>

#include <functional>

#include "win/handles_win.h"
#include "win/window_win.h"

namespace quillet {

class Form : public Window {
 public:
  // Shows the window modally over owner (disabled meanwhile) and hides it again.
  // Returns the modal result (IDOK, IDCANCEL, ...).
  int ShowModal(HWND owner);
  void EndModal(int result);
  // Builds the parts of the window that only its showing needs; run before every showing.
  virtual void EnsureContents() {}
  // Makes the controls of a form that builds them late (BuildContents), once; every
  // showing does this first, so start-up does not pay for dialogs never shown.
  void EnsureBuilt();
  HFONT font() const { return font_.get(); }

  // Where every form sends its help requests (WinHelp command and data).
  using HelpRequester = std::function<void(HWND owner, UINT command, ULONG_PTR data)>;
  static void SetHelpRequester(HelpRequester requester);
  static void RequestHelp(HWND owner, UINT command, ULONG_PTR data);

 protected:
  // Creates the window with a client area of the given size and the UI font
  // ("ＭＳ Ｐゴシック", 12 pixels) given to every control created afterwards.
  bool CreateForm(const char* class_name, const char* caption, int client_width, int client_height,
                  DWORD style, DWORD ex_style = 0, HWND owner = nullptr);
  // The same with the window's own place and size (frame included); CW_USEDEFAULT in
  // place lets Windows choose it.
  bool CreateFormAt(const char* class_name, const char* caption, POINT place, SIZE size, DWORD style,
                    DWORD ex_style, HWND owner);
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  virtual void BuildContents() {}
  // Each time the window becomes active (shown or activated).
  virtual void FormActivate() {}
  // The default button's id for Enter (0: none).
  virtual int DefaultButtonId() const { return 0; }

 private:
  FontHandle font_;
  bool built_ = false;
  // The platform puts the focus on the form itself when it is activated, where no key
  // does anything: it goes to the form's choice, else back to the control that had it,
  // else to the first control that takes the keyboard.
  void TakeFocus();
  HWND last_focus_ = nullptr;
  bool modal_ = false;
  bool done_ = false;
  int result_ = 0;
};

}  // namespace quillet
