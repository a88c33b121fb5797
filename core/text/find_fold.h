// Finding text the way a user reads it: a word typed one way finds the same word written
// another way. Both the window's find field and the command line fold through here, so they
// always agree on what matches.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kantoria {

// Folds UTF-8 text so that spellings a reader takes for the same compare equal byte for byte:
// - letter case: A-Z and full-width Ａ-Ｚ, ａ-ｚ all become a-z;
// - width: full-width ASCII forms (Ａ, ０, ！) become ASCII, the ideographic space a blank,
//   half-width katakana (ｶﾀｶﾅ, with ﾞ and ﾟ joined to the letter before: ｶﾞ = ガ) and half-width
//   punctuation (｡｢｣､･ｰ) their full-width forms;
// - kana: hiragana becomes katakana (かたかな = カタカナ), and a combining sound mark
//   (U+3099, U+309A) joins the letter before, as in names written decomposed.
// Everything else, escapes of undecodable bytes included, is kept as it is. Folding one
// character never depends on what follows it except for the sound marks, so a folded word is
// found inside a folded text wherever the unfolded word stands in the unfolded text.
std::string FoldForFind(std::string_view text);
// The same, appended to out.
void AppendFoldedForFind(std::string& out, std::string_view text);

// The words of a find text, each folded: split at half- and full-width blanks and at control
// characters, empty words dropped. No word holds a control character, so a key may separate
// its fields with one.
std::vector<std::string> FindWords(std::string_view text);

}  // namespace kantoria
