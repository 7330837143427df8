#include "app/command_table_win.h"

#include <algorithm>
#include <string>

#include "app/main_form_win.h"
#include "core/command_ids.h"
#include "document/mdi_child_win.h"

namespace quillet {

namespace {

using R = CommandRule;
using G = ToolGlyph;

// Commands on the active document that need it as such.
void SaveActive(TMainForm& f, UINT) {
  if (TMDIChild* doc = f.ActiveChild()) f.FileSaveItemClick(*doc);
}
void SaveActiveAs(TMainForm& f, UINT) {
  if (TMDIChild* doc = f.ActiveChild()) f.FileSaveAsItemClick(*doc);
}
// A copy: opening moves the entry within the list.
void OpenRecent(TMainForm& f, UINT id) {
  std::string name = f.recent_files.entry(static_cast<int>(id - kFileName1 + 1));
  f.OpenDocument(name);
}
template <Encoding E>
void Reopen(TMainForm& f, UINT) { f.ReopenItemClick(E); }

const CommandRow kRows[] = {
    {.menu = {.name = "File1", .caption = "ﾌｧｲﾙ(&F)", .id = kFile1, .hint = "ﾌｧｲﾙの操作に関するｺﾏﾝﾄﾞ", .depth = 0}},
    {.menu = {.name = "FileNewItem", .caption = "新規作成(&N)", .id = kFileNewItem, .hint = "新しい文書の作成"},
     .run = [](TMainForm& f, UINT) { f.FileNewItemClick(); },
     .button = {NewBtn, "NewBtn", 10, G::New, "新規作成|"}},
    {.menu = {.name = "FileOpenItem", .caption = "開く(&O)...", .id = kFileOpenItem, .hint = "既存の文書を開く",
              .shortcut = "Ctrl+O"},
     .run = [](TMainForm& f, UINT) { f.FileOpenItemClick(); },
     .button = {OpenBtn, "OpenBtn", 32, G::Open, "開く|"}},
    {.menu = {.name = "ReopenItem", .caption = "文字ｺｰﾄﾞを指定して開き直す(&K)", .id = kReopenItem,
              .hint = "文書を別の文字ｺｰﾄﾞで読み込み直す"},
     .rule = R::kFile},
    {.menu = {.name = "ReopenSjisItem", .caption = "Shift-JIS(&S)", .id = kReopenSjisItem,
              .hint = "Shift-JISの文書として読み込み直す", .depth = 2},
     .run = Reopen<Encoding::kShiftJis>},
    {.menu = {.name = "ReopenUtf8Item", .caption = "UTF-8(&U)", .id = kReopenUtf8Item,
              .hint = "UTF-8の文書として読み込み直す", .depth = 2},
     .run = Reopen<Encoding::kUtf8>},
    {.menu = {.name = "ReopenEucItem", .caption = "EUC-JP(&E)", .id = kReopenEucItem,
              .hint = "EUC-JPの文書として読み込み直す", .depth = 2},
     .run = Reopen<Encoding::kEucJp>},
    {.menu = {.name = "ReopenJisItem", .caption = "JIS (ISO-2022-JP)(&J)", .id = kReopenJisItem,
              .hint = "JIS (ISO-2022-JP)の文書として読み込み直す", .depth = 2},
     .run = Reopen<Encoding::kIso2022Jp>},
    {.menu = {.name = "FileInsertItem", .caption = "ｶｰｿﾙ位置に挿入(&I)...", .id = kFileInsertItem,
              .hint = "ﾌｧｲﾙの内容をｶｰｿﾙ位置に挿入"},
     .rule = R::kDocument, .run = [](TMainForm& f, UINT) { f.FileInsertItemClick(); }},
    {.menu = {.name = "FileSaveItem", .caption = "保存(&S)", .id = kFileSaveItem, .hint = "文書を上書き保存",
              .shortcut = "Ctrl+S"},
     .rule = R::kModified, .run = SaveActive, .button = {SaveBtn, "SaveBtn", 54, G::Save, "保存|"}},
    {.menu = {.name = "FileSaveAsItem", .caption = "名前を付けて保存(&A)...", .id = kFileSaveAsItem,
              .hint = "文書に名前を付けて保存"},
     .rule = R::kDocument, .run = SaveActiveAs},
    {.menu = {.name = "N2"}},
    {.menu = {.name = "FilePrintItem", .caption = "印刷(&P)...", .id = kFilePrintItem, .hint = "文書を印刷"},
     .rule = R::kDocument, .run = [](TMainForm& f, UINT) { f.FilePrintItemClick(); },
     .button = {PrintBtn, "PrintBtn", 76, G::Print, "印刷|"}},
    {.menu = {.name = "N1"}},
    {.menu = {.name = "FileExitItem", .caption = "終了(&X)", .id = kFileExitItem, .hint = "TeX Quilletの終了"},
     .rule = R::kExitFree, .run = [](TMainForm& f, UINT) { f.FileExitItemClick(); }},
    {.menu = {.name = "N7", .id = kN7, .visible = false}},
    {.menu = {.name = "FileName1", .caption = "&1", .id = kFileName1, .hint = "最近使ったﾌｧｲﾙを開く", .visible = false},
     .run = OpenRecent},
    {.menu = {.name = "FileName2", .caption = "&2", .id = kFileName2, .hint = "最近使ったﾌｧｲﾙを開く", .visible = false},
     .run = OpenRecent},
    {.menu = {.name = "FileName3", .caption = "&3", .id = kFileName3, .hint = "最近使ったﾌｧｲﾙを開く", .visible = false},
     .run = OpenRecent},
    {.menu = {.name = "FileName4", .caption = "&4", .id = kFileName4, .hint = "最近使ったﾌｧｲﾙを開く", .visible = false},
     .run = OpenRecent},

    {.menu = {.name = "Edit1", .caption = "編集(&E)", .id = kEdit1, .hint = "ﾃｷｽﾄの編集操作に関するｺﾏﾝﾄﾞ", .depth = 0}},
    {.menu = {.name = "UndoItem", .caption = "やり直し(&U)", .id = kUndoItem, .hint = "直前に行った編集操作を戻す",
              .shortcut = "Ctrl+Z"},
     .rule = R::kCanUndo, .run = [](TMainForm& f, UINT) { f.edit().UndoItemClick(); },
     .button = {UndoBtn, "UndoBtn", 214, G::Undo, "やり直し|"},
     .context = {"PUndoItem", "直前に行った編集操作を戻す"}},
    // Redo has no action: its item, key and button stay disabled.
    {.menu = {.name = "RedoItem", .caption = "やり直しのやり直し(&R)", .id = kRedoItem,
              .hint = "直前のやり直し動作を元に戻す", .shortcut = "Ctrl+Y"},
     .rule = R::kNever},
    {.menu = {.name = "N4"}},
    {.menu = {.name = "CutItem", .caption = "切り取り(&T)", .id = kCutItem, .hint = "選択範囲を削除してｸﾘｯﾌﾟﾎﾞｰﾄﾞに転送",
              .shortcut = "Ctrl+X"},
     .rule = R::kSelection, .run = [](TMainForm& f, UINT) { f.edit().CutItemClick(); },
     .button = {CutBtn, "CutBtn", 142, G::Cut, "切り取り|"},
     .context = {"PCutItem", "削除してｸﾘｯﾌﾟﾎﾞｰﾄﾞに転送", "N1"}},
    {.menu = {.name = "CopyItem", .caption = "ｺﾋﾟｰ(&C)", .id = kCopyItem, .hint = "選択範囲をｸﾘｯﾌﾟﾎﾞｰﾄﾞに転送",
              .shortcut = "Ctrl+C"},
     .rule = R::kSelection, .run = [](TMainForm& f, UINT) { f.edit().CopyItemClick(); },
     .button = {CopyBtn, "CopyBtn", 164, G::Copy, "ｺﾋﾟｰ|"},
     .context = {"PCopyItem", "ｸﾘｯﾌﾟﾎﾞｰﾄﾞに転送"}},
    {.menu = {.name = "PasteItem", .caption = "貼り付け(&P)", .id = kPasteItem,
              .hint = "ｸﾘｯﾌﾟﾎﾞｰﾄﾞの内容をｶｰｿﾙ位置に貼り付ける", .shortcut = "Ctrl+V"},
     .rule = R::kPaste, .run = [](TMainForm& f, UINT) { f.edit().PasteItemClick(); },
     .button = {PasteBtn, "PasteBtn", 186, G::Paste, "貼り付け|"},
     .context = {"PPasteItem", "ｸﾘｯﾌﾟﾎﾞｰﾄﾞの内容を貼り付ける"}},
    {.menu = {.name = "DeleteItem", .caption = "削除(&D)", .id = kDeleteItem, .hint = "選択範囲を削除"},
     .rule = R::kSelection, .run = [](TMainForm& f, UINT) { f.edit().DeleteItemClick(); }},
    {.menu = {.name = "SelectAllItem", .caption = "すべて選択(&L)", .id = kSelectAllItem, .hint = "文書全体を選択",
              .shortcut = "Ctrl+A"},
     .rule = R::kDocument, .run = [](TMainForm& f, UINT) { f.edit().SelectAllItemClick(); },
     .context = {"PSelectAllItem", "文書全体を選択"}},
    {.menu = {.name = "N10"}},
    {.menu = {.name = "UndoAllItem", .caption = "最初からやり直し(&O)", .id = kUndoAllItem,
              .hint = "ｾｰﾌﾞしてある文書を読み込み直す"},
     .rule = R::kModified, .run = [](TMainForm& f, UINT) { f.UndoAllItemClick(); }},

    {.menu = {.name = "Find1", .caption = "検索(&S)", .id = kFind1, .hint = "文字列の検索とｼﾞｬﾝﾌﾟに関するｺﾏﾝﾄﾞ", .depth = 0}},
    {.menu = {.name = "FindStrItem", .caption = "文字列の検索(&F)...", .id = kFindStrItem, .hint = "文字列を検索",
              .shortcut = "Ctrl+F"},
     .rule = R::kDocument, .run = [](TMainForm& f, UINT) { f.find().FindStrItemClick(); },
     .button = {FindBtn, "FindBtn", 110, G::Find, "検索|"}},
    {.menu = {.name = "ReplaceStrItem", .caption = "文字列の置換(&R)...", .id = kReplaceStrItem,
              .hint = "文字列を検索して置換", .shortcut = "Ctrl+R"},
     .rule = R::kDocument, .run = [](TMainForm& f, UINT) { f.find().ReplaceStrItemClick(); }},
    {.menu = {.name = "NextItem", .caption = "次を検索(&S)", .id = kNextItem, .hint = "次の文字列にｶｰｿﾙを移動",
              .shortcut = "F3"},
     .rule = R::kDocument, .run = [](TMainForm& f, UINT) { f.find().NextItemClick(); }},
    {.menu = {.name = "N5"}},
    {.menu = {.name = "JumptoItem", .caption = "指定行へｼﾞｬﾝﾌﾟ(&J)...", .id = kJumptoItem, .hint = "指定した行へｶｰｿﾙを移動",
              .shortcut = "Ctrl+J"},
     .rule = R::kDocument, .run = [](TMainForm& f, UINT) { f.find().JumptoItemClick(); }},
    {.menu = {.name = "JumpTopItem", .caption = "先頭へｼﾞｬﾝﾌﾟ(&T)", .id = kJumpTopItem, .hint = "文書の先頭にｶｰｿﾙを移動",
              .shortcut = "Ctrl+T"},
     .rule = R::kDocument, .run = [](TMainForm& f, UINT) { f.find().JumpTopItemClick(); }},
    {.menu = {.name = "JumpEndItem", .caption = "最後へｼﾞｬﾝﾌﾟ(&B)", .id = kJumpEndItem, .hint = "文書の最後にｶｰｿﾙを移動",
              .shortcut = "Ctrl+B"},
     .rule = R::kDocument, .run = [](TMainForm& f, UINT) { f.find().JumpEndItemClick(); }},
    {.menu = {.name = "FindSecItem", .caption = "見出しの検索(&D)...", .id = kFindSecItem,
              .hint = "文書中の見出しの一覧を表示"},
     .rule = R::kDocument, .run = [](TMainForm& f, UINT) { f.find().FindSecItemClick(); }},
    {.menu = {.name = "JumpNextItem", .caption = "次の見出しへｼﾞｬﾝﾌﾟ(&N)", .id = kJumpNextItem,
              .hint = "次の見出しにｶｰｿﾙを移動", .shortcut = "Ctrl+N"},
     .rule = R::kDocument, .run = [](TMainForm& f, UINT) { f.find().JumpNextItemClick(); },
     .context = {"PJumpNextItem", "次の見出しにｶｰｿﾙを移動", "N2"}},

    {.menu = {.name = "Show1", .caption = "表示(&V)", .id = kShow1, .hint = "ｳｨﾝﾄﾞｳの表示に関するｺﾏﾝﾄﾞ", .depth = 0}},
    {.menu = {.name = "ComInputItem", .caption = "ｺﾏﾝﾄﾞ入力(&C)", .id = kComInputItem,
              .hint = "ｺﾏﾝﾄﾞ入力用のｳｨﾝﾄﾞｳの表示/非表示"},
     .rule = R::kDocument, .run = [](TMainForm& f, UINT) { f.ComInputItemClick(); }},
    {.menu = {.name = "ErrMesItem", .caption = "ｴﾗｰﾒｯｾｰｼﾞ(&E)", .id = kErrMesItem,
              .hint = "ｴﾗｰﾒｯｾｰｼﾞ表示ｳｨﾝﾄﾞｳの表示/非表示"},
     .run = [](TMainForm& f, UINT) { f.ErrMesItemClick(); }},
    {.menu = {.name = "N6"}},
    {.menu = {.name = "ToolBarItem", .caption = "ﾂｰﾙﾊﾞｰ(&T)", .id = kToolBarItem, .hint = "ﾂｰﾙﾊﾞｰの表示/非表示",
              .checked = true},
     .run = [](TMainForm& f, UINT) { f.ToolBarItemClick(); }},
    {.menu = {.name = "StatusBarItem", .caption = "ｽﾃｰﾀｽﾊﾞｰ(&S)", .id = kStatusBarItem,
              .hint = "ｽﾃｰﾀｽﾊﾞｰの表示/非表示", .checked = true},
     .run = [](TMainForm& f, UINT) { f.StatusBarItemClick(); }},

    {.menu = {.name = "Insert1", .caption = "挿入(&I)", .id = kInsert1, .hint = "文書への挿入に関するｺﾏﾝﾄﾞ", .depth = 0}},
    {.menu = {.name = "MacroItem", .caption = "定型ﾏｸﾛ(&M)...", .id = kMacroItem, .hint = "ﾏｸﾛの挿入"},
     .rule = R::kDocument, .run = [](TMainForm& f, UINT) { f.MacroItemClick(); }},
    // Formula and table insertion are not offered: their items stay hidden.
    {.menu = {.name = "EquItem", .caption = "式(&E)...", .id = kEquItem, .hint = "数式の挿入", .visible = false},
     .rule = R::kNever},
    {.menu = {.name = "TabItem", .caption = "表(&T)...", .id = kTabItem, .hint = "表の挿入", .visible = false},
     .rule = R::kNever},

    {.menu = {.name = "Run1", .caption = "実行(&R)", .id = kRun1, .hint = "TeXの実行に関するｺﾏﾝﾄﾞ", .depth = 0}},
    {.menu = {.name = "TeX1Item", .caption = "TeXをかける(&T)", .id = kTeX1Item, .hint = "編集中の文書にTeXをかける"},
     .rule = R::kTeXIdle, .run = [](TMainForm& f, UINT) { f.run().TeX1ItemClick(); },
     .button = {TeX1Btn, "TeX1Btn", 272, G::TeX1, "TeXをかける|"}},
    {.menu = {.name = "TeX2Item", .caption = "TeXをかけてﾌﾟﾚﾋﾞｭｰ(&V)", .id = kTeX2Item,
              .hint = "必要なら、TeXをかけてからﾌﾟﾚﾋﾞｭｰする"},
     .rule = R::kTeXIdle, .run = [](TMainForm& f, UINT) { f.run().TeX2ItemClick(); },
     .button = {TeX2Btn, "TeX2Btn", 294, G::TeX2, "TeXをかけてﾌﾟﾚﾋﾞｭｰ|"}},
    {.menu = {.name = "TeX3Item", .caption = "TeXをかけて印刷(&P)", .id = kTeX3Item,
              .hint = "必要なら、TeXをかけてから印刷する"},
     .rule = R::kTeXIdle, .run = [](TMainForm& f, UINT) { f.run().TeX3ItemClick(); },
     .button = {TeX3Btn, "TeX3Btn", 316, G::TeX3, "TeXをかけて印刷|"}},
    {.menu = {.name = "ForwardSearchItem", .caption = "ﾌﾟﾚﾋﾞｭｰで現在行を表示(&J)", .id = kForwardSearchItem,
              .hint = "ｶｰｿﾙのある行が組まれた場所をﾌﾟﾚﾋﾞｭｰで表示", .shortcut = "Ctrl+Shift+J"},
     .rule = R::kSyncTeX, .run = [](TMainForm& f, UINT) { f.run().ForwardSearchItemClick(); },
     .button = {ForwardSearchBtn, "ForwardSearchBtn", 338, G::ForwardSearch, "ﾌﾟﾚﾋﾞｭｰで現在行を表示|"}},
    {.menu = {.name = "N11"}},
    {.menu = {.name = "StopTeXItem", .caption = "TeXの実行を中止(&S)", .id = kStopTeXItem, .hint = "実行中のTeXを止める",
              .shortcut = "Ctrl+Break"},
     .rule = R::kTeXRunning, .run = [](TMainForm& f, UINT) { f.run().StopTeXItemClick(); }},

    // Outside tools are not offered yet: their menu stays hidden.
    {.menu = {.name = "Tool1", .caption = "ﾂｰﾙ(&T)", .id = kTool1, .hint = "外部ﾂｰﾙに関するｺﾏﾝﾄﾞ", .visible = false,
              .depth = 0}},
    {.menu = {.name = "AddToolItem", .caption = "ﾂｰﾙの登録(&A)...", .id = kAddToolItem, .hint = "外部ﾂｰﾙの登録"}},
    {.menu = {.name = "N9"}},

    {.menu = {.name = "Option1", .caption = "ｵﾌﾟｼｮﾝ(&O)", .id = kOption1, .hint = "環境の設定に関するｺﾏﾝﾄﾞ", .depth = 0}},
    {.menu = {.name = "EnvItem", .caption = "環境設定(&V)...", .id = kEnvItem, .hint = "TeX Quilletの環境設定"},
     .run = [](TMainForm& f, UINT) { f.EnvItemClick(); }},
    {.menu = {.name = "SetItem", .caption = "TeXの設定(&P)...", .id = kSetItem,
              .hint = "WpvTeXまたはBWpvTeXについての環境設定"},
     .run = [](TMainForm& f, UINT) { f.SetItemClick(); }},
    {.menu = {.name = "N8", .id = kN8, .visible = false}},  // the format items follow it

    {.menu = {.name = "Window1", .caption = "ｳｨﾝﾄﾞｳ(&W)", .id = kWindow1, .hint = "ｳｨﾝﾄﾞｳの操作に関するｺﾏﾝﾄﾞ", .depth = 0}},
    {.menu = {.name = "WindowCascadeItem", .caption = "重ねて表示(&C)", .id = kWindowCascadeItem,
              .hint = "ｳｨﾝﾄﾞｳを重ねて表示", .shortcut = "Shift+F5"},
     .rule = R::kDocument, .run = [](TMainForm& f, UINT) { f.WindowCascadeItemClick(); }},
    {.menu = {.name = "WindowTileItem", .caption = "並べて表示(&T)", .id = kWindowTileItem, .hint = "ｳｨﾝﾄﾞｳを並べて表示",
              .shortcut = "Shift+F4"},
     .rule = R::kDocument, .run = [](TMainForm& f, UINT) { f.WindowTileItemClick(); }},
    {.menu = {.name = "WindowArrangeItem", .caption = "ｱｲｺﾝの整列(&A)", .id = kWindowArrangeItem, .hint = "ｱｲｺﾝを整列"},
     .rule = R::kDocument, .run = [](TMainForm& f, UINT) { f.WindowArrangeItemClick(); }},
    {.menu = {.name = "WindowMinimizeItem", .caption = "すべてをｱｲｺﾝ化(&M)", .id = kWindowMinimizeItem,
              .hint = "すべてのｳｨﾝﾄﾞｳをｱｲｺﾝ化"},
     .rule = R::kDocument, .run = [](TMainForm& f, UINT) { f.WindowMinimizeItemClick(); }},
    {.menu = {.name = "WindowCloseAllItem", .caption = "すべて閉じる(&L)", .id = kWindowCloseAllItem,
              .hint = "すべてのｳｨﾝﾄﾞｳを閉じる"},
     .rule = R::kDocument, .run = [](TMainForm& f, UINT) { f.WindowCloseAllItemClick(); }},

    {.menu = {.name = "Help1", .caption = "ﾍﾙﾌﾟ(&H)", .id = kHelp1, .hint = "ﾍﾙﾌﾟに関するｺﾏﾝﾄﾞ", .depth = 0}},
    {.menu = {.name = "SearchforHelpOnItem", .caption = "ﾄﾋﾟｯｸの検索(&H)...", .id = kSearchforHelpOnItem,
              .hint = "ﾍﾙﾌﾟのﾄﾋﾟｯｸを検索", .shortcut = "F1"},
     .run = [](TMainForm& f, UINT) { f.SearchforHelpOnItemClick(); },
     .button = {HelpBtn, "HelpBtn", 370, G::Help, "ﾄﾋﾟｯｸ検索|"}},
    {.menu = {.name = "DigitalItem", .caption = "ｵﾝﾗｲﾝﾄﾞｷｭﾒﾝﾄ(&D)", .id = kDigitalItem,
              .hint = "ﾃﾞｼﾞﾀﾙﾄﾞｷｭﾒﾝﾄの目次の表示"},
     .rule = R::kManual, .run = [](TMainForm& f, UINT) { f.run().DigitalItemClick(); }},
    {.menu = {.name = "N3"}},
    {.menu = {.name = "HelpAboutItem", .caption = "ﾊﾞｰｼﾞｮﾝ情報(&A)...", .id = kHelpAboutItem, .hint = "ﾊﾞｰｼﾞｮﾝ情報の表示"},
     .run = [](TMainForm& f, UINT) { f.HelpAboutItemClick(); }},

    // Commands outside the menu bar: the redo button, and the pop-up menu's properties.
    {.menu = {.name = "RedoBtn", .id = kRedoBtn, .depth = kNotInMenuBar},
     .rule = R::kNever,
     .button = {RedoBtn, "RedoBtn", 236, G::Redo, "やり直しのやり直し|"}},
    {.menu = {.name = "PPropertyItem", .caption = "ﾌﾟﾛﾊﾟﾃｨ(&R)", .id = kPPropertyItem, .depth = kNotInMenuBar},
     .run = [](TMainForm& f, UINT) { f.PPropertyItemClick(); },
     .context = {"PPropertyItem", "", "N4"}},
};

// What the rows' items show before anything is open.
constexpr CommandState kStartState{};

}  // namespace

std::span<const CommandRow> CommandTable() { return kRows; }

const CommandRow* FindCommand(UINT id) {
  if (id == kCmdNone) return nullptr;
  auto it = std::find_if(std::begin(kRows), std::end(kRows), [id](const CommandRow& r) { return r.menu.id == id; });
  return it == std::end(kRows) ? nullptr : &*it;
}

std::vector<MenuItemDef> MainMenuItems() {
  std::vector<MenuItemDef> items;
  for (const CommandRow& row : kRows) {
    if (row.menu.depth == kNotInMenuBar) continue;
    MenuItemDef def = row.menu;
    def.enabled = Allows(row.rule, kStartState);
    items.push_back(def);
  }
  return items;
}

std::vector<MenuItemDef> ContextMenuItems() {
  std::vector<MenuItemDef> items{{.name = "PopupMenu1", .id = kPopupMenu1, .depth = 0}};
  for (const CommandRow& row : kRows) {
    const ContextPlace& place = row.context;
    if (!place.name) continue;
    if (place.separator_before) items.push_back({.name = place.separator_before});
    items.push_back({.name = place.name, .caption = row.menu.caption, .id = row.menu.id, .hint = place.hint,
                     .enabled = Allows(row.rule, kStartState)});
  }
  return items;
}

std::vector<SpeedButtonDef> ToolButtons() {
  std::vector<SpeedButtonDef> buttons(kToolButtonCount);
  for (const CommandRow& row : kRows) {
    const ToolPlace& b = row.button;
    if (b.slot == kToolButtonCount) continue;
    buttons[b.slot] = {b.name, b.x, b.glyph, b.tip, row.menu.id, Allows(row.rule, kStartState)};
  }
  return buttons;
}

}  // namespace quillet
