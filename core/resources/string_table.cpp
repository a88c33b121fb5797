#include "core/resources/string_table.h"

#include <algorithm>
#include <array>
#include <utility>

namespace kantoria {
namespace {

struct Entry {
    int id;
    std::string_view text;
};

// Sorted by number.
constexpr std::array kStrings = std::to_array<Entry>({
    {100, "OLE の初期化に失敗しました。"},
    {103, "MORKA.ZNL"},
    {108, "SETTINGS"},
    {109, "ZNLPATH"},
    {111, "Velmoor"},
    {118, "ファイルがないかプログラムがありません。"},
    {128, "Kantoria\n\nMORKA2\nMORKA2 Files (*.ZNL)\n.ZNL\nMORKA2.Document\nMORKA2.Document"},
    {130, "Kantoria"},
    {146, "WINPOSX"},
    {147, "WINPOSY"},
    {149, "WINWIDTH"},
    {150, "WINHEIGHT"},
    {151, "STATUS"},
    {200, "無題"},
    {201, "%1 を開けません。\n%2"},
    {202, "%1 に保存できません。\n%2"},
    {203, "ファイルが見つかりません。"},
    {204, "アクセスが拒否されました。"},
    {205, "フォルダは開けません。"},
    {206, "エラーが発生しました (%1)。"},
    {207, "すべてのファイル(*.*)"},
    {208, "開く"},
    {209, "名前を付けて保存"},
    {210, "ヘルプを開けません。\n%1"},
    {212, "%1 への変更を保存しますか?"},
    {213, "%1 に保存できません。\n%2\n\n保存せずに終了しますか?"},
    {214, "%1 に保存できません。\n%2\n\n保存せずに続けますか?"},
    {215, "デバイスやパイプなど、通常のファイルでないものは開けません。"},
    {216, "開いた後でほかのプログラムがこのファイルを変更しました。"},
    {217,
     "ほかのプログラムがこのファイルに書き込んでいます。しばらくしてからもう一度お試しください。"},
    {218,
     "%1 は、開いた後でほかのプログラムによって変更されました。\n\n"
     "読み込み直すと、ここでの変更は失われます。\n"
     "上書き保存すると、ほかのプログラムによる変更が失われます。"},
    {219,
     "%1 は、開いた後でほかのプログラムによって変更されました。\n\n"
     "保存しないと、ここでの変更は失われます。\n"
     "上書き保存すると、ほかのプログラムによる変更が失われます。"},
    {220, "ﾊﾞｰｼﾞｮﾝ情報\u3000Kantoria"},
    {221, "Kantoria  Version 3.00"},
    {222, "Copyright (C) Kantoria の開発者"},
    {223, "https://kantoria.example.org/"},
    {224, "OK"},
    {225, "読み込み直す(&R)"},
    {226, "上書き保存(&O)"},
    {227, "名前を付けて保存(&A)..."},
    {228, "保存しない(&N)"},
    {230, "Recent File List"},
    {231, "File%1"},
    {240, "%1 はコード ページ 932 で表せない文字を含むため、カタログを UTF-8 で保存しました。"},
    {241,
     "%1 のタイトルかコメントにコード ページ 932 で表せない文字があるため、カタログを UTF-8 で"
     "保存しました。"},
    {1001, "タイトルにタブや改行は使えません。"},
    {1101, "ｷｬﾝｾﾙ"},
    {1102, "タイトル"},
    {1103, "コメント"},
    {1104, "ファイル"},
    {1105, "更新日付"},
    {1106, "サイズ"},
    {1107, "Path"},
    {1108, "%1 ﾊﾞｲﾄ"},
    {1109, "%1を消してよろしいですか？"},
    {1120, "追加検索"},
    {1121, "検索するホルダー"},
    {1122, "ｻﾌﾞﾎﾙﾀﾞｰも探す"},
    {1123, "検索する拡張子"},
    {1124, "参　照"},
    {1125, "検索するﾎﾙﾀﾞ"},
    {1126, "検索する拡張子を一覧から選んでください。"},
    {1127, "検索結果：該当がありませんでした。"},
    {1128, "検索結果： %1 件見つかりました。追加しますか?"},
    {1129, "%1\n%2 ホルダー、%3 ファイルを調べました。%4 件見つかりました。"},
    {1130, "ホルダー「%1」を開けません。\n%2"},
    {1131,
     "ホルダー「%1」を読めません。\n%"
     "2\n\nこのホルダーを飛ばして検索を続けますか？\n［いいえ］で検索をやめます。見つかったファイル"
     "は追加しません。"},
    {1132, "名前にタブか改行を含むファイルは登録できません。次のファイルは追加しません：\n%1"},
    {1133, "ほか %1 件\n"},
    {1140, "%1 件見つかりました"},
    {1141, "絞り込み (タイトル・コメント・パス)"},
    {1142, "絞り込み(&F)\tCtrl+F"},
    {1150, "ファイルまたはフォルダーが見つかりません。"},
    {1151, "見つからないファイル: %1 件"},
    {1152, "見つからないファイル: %1 件 (確認中...)"},
    {1160, "ホルダーの移動先"},
    {1161, "%1\n→ %2\n\n%3 件のパスを書き換えます。書き換えた後にファイルがあるのは %4 件です。"},
    {1162,
     "新しいパスはコード ページ 932 で表せないため、カタログは次の保存から UTF-8 になります。"},
    {1163, "次の %1 件は新しいパスがほかのエントリーと重なるため、書き換えません："},
    {1164, "%1（%2）"},
    {1165, "他 %1 件"},
    {1166, "書き換えますか？"},
    {1167, "%1\n→ %2\n\n書き換えるパスがありません。"},
    {57344, "MORKA2"},
    {57345, "ヘルプを表示するには F1 キーを押してください。"},
    {57346, "ヘルプを使用するオブジェクトを選択"},
    {57600, "新規にファイルを作成\n新規ファイル"},
    {57601, "既存のファイルを開く\n開く"},
    {57603, "作業中のファイルを上書きして保存\n保存"},
    {57604, "作業中のファイルを新しい名前で保存\n名前をつけて保存"},
    {57616, "指定のファイルを開く"},
    {57617, "指定のファイルを開く"},
    {57618, "指定のファイルを開く"},
    {57619, "指定のファイルを開く"},
    {57620, "指定のファイルを開く"},
    {57621, "指定のファイルを開く"},
    {57622, "指定のファイルを開く"},
    {57623, "指定のファイルを開く"},
    {57624, "指定のファイルを開く"},
    {57625, "指定のファイルを開く"},
    {57626, "指定のファイルを開く"},
    {57627, "指定のファイルを開く"},
    {57628, "指定のファイルを開く"},
    {57629, "指定のファイルを開く"},
    {57630, "指定のファイルを開く"},
    {57631, "指定のファイルを開く"},
    {57634, "選択範囲をコピーしてクリップボードに保存\nコピー"},
    {57635, "選択範囲を切り取ってクリップボードに保存\n切り取り"},
    {57637, "クリップボードの内容を貼り付け\n貼り付け"},
    {57664, "プログラム情報、バージョン、著作権を表示します。\nバージョン情報"},
    {57665, "アプリケーションを終了し、ファイルの保存を指示\n終了"},
    {57670, "現在のタスクまたはコマンドのヘルプを表示\nヘルプ"},
    {57680, "次のウィンドウに切り替える\n次のペイン"},
    {57681, "前のウィンドウに切り替える\n前のペイン"},
    {59137, "CAP"},
    {59138, "NUM"},
    {59139, "SCRL"},
    {59392, "ツール バーの 表示/非表示\nツール バーの表示切り替え"},
    {59393, "ステータス バーの 表示/非表示\nステータス バーの表示切り替え"},
    {59408, "オブジェクトを小さいアイコンで表示します。\n小さいアイコン"},
    {59409, "オブジェクトを大きいアイコンで表示します。\n大きいアイコン"},
    {59410, "オブジェクトを一覧表示します。\n一覧"},
    {59411, "ウィンドウ内の各オブジェクトの詳細情報を表示します。\n詳細"},
    {61184, "ウィンドウのサイズを変更"},
    {61185, "ウィンドウの位置を変更"},
    {61186, "ウィンドウを最小化する"},
    {61187, "ウィンドウを最大化する"},
    {61188, "次のウィンドウに切り替える"},
    {61189, "前のウィンドウに切り替える"},
    {61190, "作業中のウィンドウを閉じ、変更したファイルの保存を指示"},
    {61202, "ウィンドウを通常のサイズに戻す"},
    {61203, "タスク一覧をアクティブにする"},
});

static_assert(std::is_sorted(kStrings.begin(), kStrings.end(),
                             [](const Entry& a, const Entry& b) { return a.id < b.id; }));

std::pair<std::string_view, std::string_view> SplitAtLineBreak(std::string_view text) {
    const size_t lf = text.find('\n');
    if (lf == std::string_view::npos) return {text, {}};
    return {text.substr(0, lf), text.substr(lf + 1)};
}

}  // namespace

std::string_view LoadString(int id) {
    const auto it = std::lower_bound(kStrings.begin(), kStrings.end(), id,
                                     [](const Entry& e, int key) { return e.id < key; });
    if (it == kStrings.end() || it->id != id) return {};
    return it->text;
}

std::string FormatString(int id, std::initializer_list<std::string_view> arguments) {
    // One pass over the pattern: an argument that itself holds "%2" (a file name, say) is
    // inserted as it is, never taken for a mark.
    const std::string_view pattern = LoadString(id);
    std::string text;
    text.reserve(pattern.size());
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '%' && i + 1 < pattern.size() && pattern[i + 1] >= '1' &&
            pattern[i + 1] <= '9') {
            const size_t index = static_cast<size_t>(pattern[i + 1] - '1');
            if (index < arguments.size()) {
                text += arguments.begin()[index];
                ++i;
                continue;
            }
        }
        text += pattern[i];
    }
    return text;
}

std::string_view CommandPrompt(int id) {
    return SplitAtLineBreak(LoadString(id)).first;
}

std::string_view CommandTooltip(int id) {
    return SplitAtLineBreak(LoadString(id)).second;
}

std::string_view TemplateField(DocField field) {
    std::string_view rest = LoadString(IDR_MAINFRAME);
    for (int i = 0; i < static_cast<int>(field); ++i) {
        const size_t lf = rest.find('\n');
        if (lf == std::string_view::npos) return {};
        rest.remove_prefix(lf + 1);
    }
    return rest.substr(0, rest.find('\n'));
}

}  // namespace kantoria
