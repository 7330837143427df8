#pragma once
// TInput, the command palette "ｺﾏﾝﾄﾞ入力": a floating window with the list of TeX commands
// above a splitter and the selected command's description below it.
#include <functional>

#include "win/form_win.h"

namespace quillet {

// The palette's size when the settings give none, and its gap above the screen's bottom.
inline constexpr int kPaletteWidth = 170, kPaletteHeight = 190, kPaletteBottomGap = 16;

class TInput : public Form {
 public:
  bool Create(HWND owner);
  HWND ListView1 = nullptr, Panel1 = nullptr, Memo = nullptr;
  // Share of the client height given to the list, in percent.
  int list_ratio = 75;
  // Told whenever the palette is shown or hidden.
  std::function<void(bool shown)> on_visibility;

  // Lays the list, splitter and description out for the current size and ratio.
  void FormResize();

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  bool restacked_ = false;
};

}  // namespace quillet
