// The format choice: format items in the Option menu and the current format index.
#include "app/main_form_win.h"
#include "core/command_ids.h"

namespace quillet {

UINT TMainForm::AddFormatMenuItem(const std::string& menu_string) {
  MenuNode& option = menu().Item(kOption1);
  UINT id = next_format_command_++;
  menu().Append(option, {.name = "", .caption = menu_string.c_str(), .id = id, .hint = "使用するﾌｫｰﾏｯﾄﾌｧｲﾙ", .radio = true});
  menu().Item(kN8).SetVisible(true);
  return id;
}

void TMainForm::RemoveFormatMenuItems() {
  MenuNode& option = menu().Item(kOption1);
  while (option.children().size() > static_cast<std::size_t>(OptionMenuBase)) menu().Remove(*option.children().back());
  menu().Item(kN8).SetVisible(false);
  FormatCommandIds.clear();
}

void TMainForm::CheckFormatItem(int index) {
  const auto& items = menu().Item(kOption1).children();
  for (std::size_t i = static_cast<std::size_t>(OptionMenuBase); i < items.size(); ++i) {
    items[i]->SetChecked(static_cast<int>(i) == OptionMenuBase + index);
  }
}

void TMainForm::SetFormatItems(const std::vector<std::string>& menu_strings, int stored_default) {
  if (menu_strings.empty()) return;  // no format: CurrentTeXMode stays -1
  for (const auto& s : menu_strings) FormatCommandIds.push_back(AddFormatMenuItem(s));
  int last = static_cast<int>(menu_strings.size()) - 1;
  CurrentTeXMode = stored_default < 0 || stored_default > last ? 0 : stored_default;
  CheckFormatItem(CurrentTeXMode);
}

void TMainForm::RebuildFormatItems(const std::vector<std::string>& menu_strings) {
  RemoveFormatMenuItems();
  if (CurrentTeXMode > static_cast<int>(menu_strings.size()) - 1) CurrentTeXMode = 0;
  for (const auto& s : menu_strings) FormatCommandIds.push_back(AddFormatMenuItem(s));
  if (!menu_strings.empty() && CurrentTeXMode != -1) CheckFormatItem(CurrentTeXMode);
}

bool TMainForm::OfferFormatCommand(UINT id) {
  for (std::size_t i = 0; i < FormatCommandIds.size(); ++i) {
    if (FormatCommandIds[i] == id) {
      CurrentTeXMode = static_cast<int>(i);
      CheckFormatItem(CurrentTeXMode);
      return true;
    }
  }
  return false;
}

}  // namespace quillet
