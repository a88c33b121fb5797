#include "resources/string_table.h"

#include <algorithm>
#include <array>
#include <iterator>

namespace kantoria {
namespace {

struct StringEntry {
    int id;
    std::string_view text;
};

// Kept in ascending id order.
constexpr StringEntry kStrings[] = {
    {IDS_NO_FILE_OR_PROGRAM, "ファイルがないかプログラムがありません。"},
    {IDS_TITLE_NOT_STORABLE, "タイトルにタブや改行は使えません。"},
    // Status-bar prompts of the view-mode commands: the prompt, then the tooltip.
    {59408, "オブジェクトを小さいアイコンで表示します。\n小さいアイコン"},
    {59409, "オブジェクトを大きいアイコンで表示します。\n大きいアイコン"},
    {59410, "オブジェクトを一覧表示します。\n一覧"},
    {59411, "ウィンドウ内の各オブジェクトの詳細情報を表示します。\n詳細"},
};

constexpr bool Ascending() {
    for (std::size_t i = 1; i < std::size(kStrings); ++i)
        if (kStrings[i - 1].id >= kStrings[i].id) return false;
    return true;
}
static_assert(Ascending(), "the string table must stay in ascending id order");

}  // namespace

std::string_view LoadString(int id) {
    const auto it = std::lower_bound(std::begin(kStrings), std::end(kStrings), id,
                                     [](const StringEntry& e, int key) { return e.id < key; });
    if (it == std::end(kStrings) || it->id != id) return {};
    return it->text;
}

}  // namespace kantoria
