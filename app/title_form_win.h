#pragma once
// TTitleForm: the splash window shown while the program loads, reused as the about box
// "ﾊﾞｰｼﾞｮﾝ情報". A silver panel carries the title picture, the logo and an OK button that
// only the about box shows.
#include <functional>
#include <string>

#include "win/form_win.h"
#include "win/handles_win.h"

namespace quillet {

class TTitleForm : public Form {
 public:
  static constexpr int kClientWidth = 383, kClientHeight = 176;

  bool Create();
  // Shows the window as the splash and paints it at once.
  void ShowSplash();
  // Turns the window into the about box for the rest of the run and shows it modally,
  // with the version and the settings file in use.
  void ShowAbout(HWND owner, const std::string& settings_file);
  bool is_about_box() const { return about_; }
  int bevel_width() const { return bevel_; }

  HWND Button1 = nullptr;
  HWND VersionLabel = nullptr, SettingsLabel = nullptr;  // shown in the about box only
  // Whenever the window becomes active (splash or about box).
  std::function<void()> on_activate;

 protected:
  int DefaultButtonId() const override { return IDOK; }
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void FormActivate() override;

 private:
  void Paint(HDC dc);
  int bevel_ = 3;
  BrushHandle silver_;
  bool about_ = false;
};

}  // namespace quillet
