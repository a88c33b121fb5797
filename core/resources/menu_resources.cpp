#include "core/resources/menu_resources.h"

#include "core/resources/command_ids.h"
#include "core/resources/string_table.h"

namespace kantoria {
namespace {

MenuItem Command(std::string_view text, int id, bool grayed = false) {
    return {MenuItem::Kind::Command, text, id, grayed, {}};
}

MenuItem Separator() {
    return {MenuItem::Kind::Separator, {}, 0, false, {}};
}

MenuItem Popup(std::string_view text, std::vector<MenuItem> items) {
    return {MenuItem::Kind::Popup, text, 0, false, std::move(items)};
}

std::vector<MenuItem> MainMenu() {
    return {
        Popup("ﾌｧｲﾙ(&F)",
              {Command("新規作成(&N)", ID_FILE_NEW), Command("開く(&O)...\tCtrl+O", ID_FILE_OPEN),
               Separator(), Command("上書き保存(&S)\tCtrl+S", ID_FILE_SAVE),
               Command("名前を付けて保存(&A)...", ID_FILE_SAVE_AS), Separator(),
               Command("エクスポート(&E)...", ID_FILE_EXPORT),
               Command("インポート(&I)...", ID_FILE_IMPORT), Separator(),
               Command("削除(&D)\tCtrl+D", ID_ENTRY_DELETE), Separator(),
               Command("ﾌﾟﾛﾊﾟﾃｨ(&P)", ID_ENTRY_PROPERTIES), Separator(),
               Command("最新のファイル", ID_FILE_MRU_FILE1, true), Separator(),
               Command("ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)", ID_APP_EXIT)}),
        Popup("編集(&E)", {Command("元に戻す(&U)\tCtrl+Z", ID_EDIT_UNDO),
                           Command("やり直し(&R)\tCtrl+Y", ID_EDIT_REDO), Separator(),
                           Command("切り取り(&T)\tCtrl+X", ID_EDIT_CUT),
                           Command("ｺﾋﾟｰ(&C)\tCtrl+INS", ID_EDIT_COPY),
                           Command("貼り付け(&E)\tShift+INS", ID_EDIT_PASTE), Separator(),
                           Command("すべて選択", ID_EDIT_SELECT_ALL)}),
        Popup("表示(&V)", {Command("ﾂｰﾙ ﾊﾞｰ(&T)", ID_VIEW_TOOLBAR),
                           Command("ｽﾃｰﾀｽ ﾊﾞｰ(&S)", ID_VIEW_STATUS_BAR), Separator(),
                           Command("並べて表示(&S)", ID_VIEW_LARGEICON),
                           Command("アイコン(&N)", ID_VIEW_SMALLICON),
                           Command("一覧(&L)", ID_VIEW_LIST), Command("詳細(&D)", ID_VIEW_DETAILS),
                           Separator(), Command("フォルダー階層(&F)", ID_VIEW_FOLDERS),
                           Command("プレビュー(&P)", ID_VIEW_PREVIEW),
                           Command("最新の状態に更新(&R)", ID_VIEW_REFRESH)}),
        Popup("行操作(&G)",
              {Command("追加(&A)", ID_ENTRY_ADD), Command("更新(&E)", ID_ENTRY_UPDATE), Separator(),
               Command(LoadString(IDS_FIND_MENU), ID_ENTRY_FIND),
               Command("本文も検索(&B)", ID_ENTRY_FIND_CONTENT),
               Command("見つからないファイル", ID_ENTRY_MISSING),
               Command("本文を読めないファイル", ID_ENTRY_UNREADABLE),
               Command("ホルダーの移動先...", ID_HOLDER_RELOCATE)}),
        Popup("ﾂｰﾙ(&T)", {Command("検索(&S)", ID_TOOLS_SEARCH),
                          Command("本文の索引を作り直す", ID_TOOLS_REINDEX)}),
        Popup("ﾍﾙﾌﾟ(&H)", {Command("ﾍﾙﾌﾟ(&H)", ID_HELP), Separator(),
                           Command("ﾊﾞｰｼﾞｮﾝ情報(&A)", ID_APP_ABOUT)}),
    };
}

std::vector<MenuItem> EntryContextMenu() {
    return {
        Popup("", {Command("開く(&O)", ID_ENTRY_OPEN), Command("ｴｸｽﾌﾟﾛｰﾗｰ(&E)", ID_ENTRY_EXPLORER),
                   Separator(), Command("更新(&U)", ID_ENTRY_UPDATE), Separator(),
                   Command("切り取り(&T)", ID_EDIT_CUT), Command("ｺﾋﾟｰ(&C)", ID_EDIT_COPY),
                   Separator(), Command("削除(&D)", ID_ENTRY_DELETE), Separator(),
                   Command("ﾌﾟﾛﾊﾟﾃｨ(&P)", ID_ENTRY_PROPERTIES)})};
}

std::vector<MenuItem> HolderContextMenu() {
    return {Popup("", {Command("ｴｸｽﾌﾟﾛｰﾗｰ(&E)", ID_HOLDER_EXPLORER), Separator(),
                       Command("ホルダーの移動先...", ID_HOLDER_RELOCATE)})};
}

}  // namespace

const std::vector<MenuItem>& LoadMenu(int id) {
    static const std::vector<MenuItem> kMain = MainMenu();
    static const std::vector<MenuItem> kEntry = EntryContextMenu();
    static const std::vector<MenuItem> kHolder = HolderContextMenu();
    static const std::vector<MenuItem> kNone;
    switch (id) {
        case IDR_MAINFRAME_MENU:
            return kMain;
        case IDR_ENTRY_CONTEXT_MENU:
            return kEntry;
        case IDR_HOLDER_CONTEXT_MENU:
            return kHolder;
        default:
            return kNone;
    }
}

std::string PlainMenuText(std::string_view text) {
    text = text.substr(0, text.find('\t'));
    if (text.ends_with("...")) text.remove_suffix(3);
    // "保存(&S)": the letter in parentheses is there for the key alone.
    if (text.size() >= 4 && text.ends_with(')') && text[text.size() - 4] == '(' &&
        text[text.size() - 3] == '&')
        text.remove_suffix(4);
    std::string plain;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size()) ++i;  // "&&" stands for one '&'
        plain += text[i];
    }
    return plain;
}

}  // namespace kantoria
