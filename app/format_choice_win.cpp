// The format choice: format items in the Option menu and the current format index, and
// the offer of upLaTeX when pLaTeX would drop characters.
#include "app/application_win.h"
#include "app/run_commands_win.h"
#include "app/main_form_win.h"
#include "core/command_ids.h"
#include "document/mdi_child_win.h"
#include "tex/platex_characters.h"
#include "win/code_page_win.h"
#include "win/message_dialog_win.h"

namespace quillet {

UINT RunCommands::AddFormatMenuItem(const std::string& menu_string) {
  MenuNode& option = main_.menu().Item(kOption1);
  UINT id = next_format_command_++;
  main_.menu().Append(option, {.name = "", .caption = menu_string.c_str(), .id = id, .hint = "使用するﾌｫｰﾏｯﾄﾌｧｲﾙ", .radio = true});
  main_.menu().Item(kN8).SetVisible(true);
  return id;
}

void RunCommands::RemoveFormatMenuItems() {
  MenuNode& option = main_.menu().Item(kOption1);
  while (option.children().size() > static_cast<std::size_t>(OptionMenuBase)) main_.menu().Remove(*option.children().back());
  main_.menu().Item(kN8).SetVisible(false);
  FormatCommandIds.clear();
}

void RunCommands::CheckFormatItem(int index) {
  const auto& items = main_.menu().Item(kOption1).children();
  for (std::size_t i = static_cast<std::size_t>(OptionMenuBase); i < items.size(); ++i) {
    items[i]->SetChecked(static_cast<int>(i) == OptionMenuBase + index);
  }
}

void RunCommands::ChooseFormat(int index) {
  CurrentTeXMode = index;
  CheckFormatItem(index);
}

void RunCommands::SetFormatItems(const std::vector<std::string>& menu_strings, int stored_default) {
  if (menu_strings.empty()) return;  // no format: CurrentTeXMode stays -1
  for (const auto& s : menu_strings) FormatCommandIds.push_back(AddFormatMenuItem(s));
  int last = static_cast<int>(menu_strings.size()) - 1;
  CurrentTeXMode = stored_default < 0 || stored_default > last ? 0 : stored_default;
  CheckFormatItem(CurrentTeXMode);
}

void RunCommands::RebuildFormatItems(const std::vector<std::string>& menu_strings) {
  RemoveFormatMenuItems();
  if (CurrentTeXMode > static_cast<int>(menu_strings.size()) - 1) CurrentTeXMode = 0;
  for (const auto& s : menu_strings) FormatCommandIds.push_back(AddFormatMenuItem(s));
  if (!menu_strings.empty() && CurrentTeXMode != -1) CheckFormatItem(CurrentTeXMode);
}

bool RunCommands::AcceptPLaTeXCharacters(const TMDIChild& doc) {
  const TeXConfiguration& config = main_.app().tex_config();
  auto is = [&config](std::size_t i, bool (*test)(std::string_view)) {
    return i < config.format_names.size() && (test(config.format_names[i]) || test(config.menu_strings[i]));
  };
  if (CurrentTeXMode < 0 || !is(static_cast<std::size_t>(CurrentTeXMode), IsPTeXFormat)) return true;
  std::string storage;
  std::string_view text = doc.ContiguousText(storage);
  std::vector<Unholdable> found = CharactersPLaTeXDrops(text, doc.foreign_chars(), 3);
  if (found.empty()) return true;
  std::size_t uplatex = 0;
  while (uplatex < config.format_names.size() && !is(uplatex, IsUpLaTeXFormat)) ++uplatex;
  bool offer = uplatex < config.format_names.size();
  MsgResult answer = messages().Show(MessageOwner(), MsgKind::Confirmation, PLaTeXDropsText(found, SystemCodePage(), offer, UpLaTeXClassAdvice(text)),
                                     offer ? kMsgYes | kMsgNo | kMsgCancel : kMsgOk | kMsgCancel);
  if (answer == MsgResult::Cancel) return false;
  if (answer == MsgResult::Yes) ChooseFormat(static_cast<int>(uplatex));
  return true;
}

bool RunCommands::OfferFormatCommand(UINT id) {
  for (std::size_t i = 0; i < FormatCommandIds.size(); ++i) {
    if (FormatCommandIds[i] == id) {
      ChooseFormat(static_cast<int>(i));
      return true;
    }
  }
  return false;
}

}  // namespace quillet
