#pragma once
// TDocExpDlg, the new-document wizard "文書作成ｳｨｻﾞｰﾄﾞ": three pages that collect the style,
// options and title data of a new document, then the document is written from them.
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "aids/class_list_query_win.h"
#include "aids/doc_skeleton.h"
#include "win/form_win.h"
#include "win/page_control_win.h"

namespace quillet {

class Messages;

// How the wizard ended.
enum WizardResult : int { kWizardCancelled = 0, kWizardBlank = 1, kWizardSkeleton = 2 };

// The engine that will typeset the new document, as the settings name it.
struct WizardEngine {
  std::string command{};          // the engine's command line
  std::string format_name{};      // the chosen format's name in wintex.ini ("platex"); empty for none
  std::string class_list_file{};  // where the engine bridge lists the installed classes
};

class TDocExpDlg : public Form {
 public:
  // Asked at each opening: the chosen format's engine is the one offered first, and with
  // the engine bridge only the classes the installed TeX has are offered. Unset, every
  // class is offered with its usual engine first.
  std::function<WizardEngine()> engine;

  // The confirmation of a cancel is asked through messages.
  bool Create(Messages& messages);
  // Each showing starts on the first page with the fields that are not kept emptied.
  void EnsureContents() override;

  int result() const { return result_; }
  // What the pages hold, for the document to write.
  DocChoices Choices() const;

  TabPage Page1, Page2, Page3;
  HWND BackBtn = nullptr, NextBtn = nullptr, CancelBtn = nullptr;
  HWND NoUse = nullptr, NoUseNext = nullptr;
  HWND ListBox1 = nullptr, StyleExp = nullptr, EngineBox = nullptr, StrSize = nullptr, Useidx = nullptr,
       OtherOpt = nullptr, PaperSize = nullptr, RadioGroup1[3] = {};
  HWND Title = nullptr, Author1 = nullptr, Author2 = nullptr, Date = nullptr, Thanks = nullptr,
       TitleExist = nullptr, TitlePage = nullptr, Contents = nullptr, FigContents = nullptr,
       TableContents = nullptr;

  void NoUseClick();
  void TitleExistClick();
  void NextBtnClick();
  void BackBtnClick();
  void ListBox1Click();
  // Whether the wizard may close now: at once once something is chosen, else when the
  // user confirms.
  bool FormCloseQuery();

 protected:
  void BuildContents() override;
  int DefaultButtonId() const override { return IDOK; }
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void CreatePage1();
  void CreatePage2();
  void CreatePage3();
  void ShowPage(int index);
  void OfferClasses();
  const OfferedClass* SelectedClass() const;
  void Close();
  void OnCommand(int id, int code);

  Messages* messages_ = nullptr;
  int page_ = 0;
  int result_ = kWizardCancelled;
  ClassListQuery class_query_;
  InstalledClasses installed_;
  std::vector<OfferedClass> offered_;
  std::optional<TeXEngine> usual_engine_;
};

}  // namespace quillet
