// When a word typed to find documents by their text stands in a document's text. Both are
// folded for finding first (FoldForFind), so case, width and kana do not matter. A run of
// Japanese (CJK) characters matches wherever it stands, as in the find field; an edge of the
// word made of a letter or digit must meet an edge of a word of the text, so that "pdf000"
// does not find "pdf0002". The word being typed (the last one) may end inside a text's word.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kantoria {

// Where word first stands in text by the rule above, in bytes; npos when nowhere. typing: the
// word may end inside a word of the text.
std::size_t FindWordInText(std::string_view text, std::string_view word, bool typing);

// How many characters a folded word has when all are kanji or katakana, which folding keeps
// as they are; 0 when any is not (or a byte is not well-formed UTF-8).
std::size_t KanjiKanaLength(std::string_view foldedWord);

// About `around` characters of text either side of the bytes [at, at + length), on one line:
// line breaks and other control characters become blanks, and an end cut off is marked "…".
std::string SnippetAround(std::string_view text, std::size_t at, std::size_t length,
                          std::size_t around = 40);

// Where the folded form of text's byte `foldedAt` comes from in text (FoldForFind may change
// a character's length).
std::size_t UnfoldedOffset(std::string_view text, std::size_t foldedAt);

}  // namespace kantoria
