#include "core/content/word_rule.h"

#include <algorithm>
#include <cstdint>

#include "core/text/find_fold.h"

namespace kantoria {
namespace {

bool IsContinuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

std::size_t CharLength(unsigned char lead) {
    if (lead < 0x80) return 1;
    if (lead >= 0xF0) return 4;
    if (lead >= 0xE0) return 3;
    return lead >= 0xC0 ? 2 : 1;
}

// The code point starting at text[at] (malformed bytes count as themselves).
std::uint32_t CodePointAt(std::string_view text, std::size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    const std::size_t length = std::min(CharLength(lead), text.size() - at);
    if (length == 1) return lead;
    std::uint32_t cp = lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i)
        cp = (cp << 6) | (static_cast<unsigned char>(text[at + i]) & 0x3F);
    return cp;
}

// Letters and digits of the alphabets whose words are written apart; CJK characters,
// punctuation, symbols and blanks are none.
bool IsWordCharacter(std::uint32_t cp) {
    if (cp < 0x80)
        return (cp >= '0' && cp <= '9') || (cp >= 'a' && cp <= 'z') || (cp >= 'A' && cp <= 'Z');
    if (cp == 0xD7 || cp == 0xF7) return false;
    return (cp >= 0xC0 && cp <= 0x24F) || (cp >= 0x370 && cp <= 0x3FF) ||
           (cp >= 0x400 && cp <= 0x52F);
}

bool WordCharacterBefore(std::string_view text, std::size_t at) {
    if (at == 0) return false;
    std::size_t start = at - 1;
    while (start > 0 && IsContinuation(static_cast<unsigned char>(text[start]))) --start;
    return IsWordCharacter(CodePointAt(text, start));
}

bool WordCharacterAt(std::string_view text, std::size_t at) {
    return at < text.size() && IsWordCharacter(CodePointAt(text, at));
}

std::size_t LastCharStart(std::string_view text) {
    std::size_t start = text.size() - 1;
    while (start > 0 && IsContinuation(static_cast<unsigned char>(text[start]))) --start;
    return start;
}

}  // namespace

std::size_t FindWordInText(std::string_view text, std::string_view word, bool typing) {
    if (word.empty()) return std::string_view::npos;
    const bool wordStart = WordCharacterAt(word, 0);
    const bool wordEnd = !typing && WordCharacterAt(word, LastCharStart(word));
    for (std::size_t at = text.find(word); at != std::string_view::npos;
         at = text.find(word, at + 1)) {
        if (wordStart && WordCharacterBefore(text, at)) continue;
        if (wordEnd && WordCharacterAt(text, at + word.size())) continue;
        return at;
    }
    return std::string_view::npos;
}

std::size_t KanjiKanaLength(std::string_view foldedWord) {
    std::size_t characters = 0;
    for (std::size_t at = 0; at < foldedWord.size(); at += 3, ++characters) {
        if (CharLength(static_cast<unsigned char>(foldedWord[at])) != 3 ||
            at + 3 > foldedWord.size() ||
            !IsContinuation(static_cast<unsigned char>(foldedWord[at + 1])) ||
            !IsContinuation(static_cast<unsigned char>(foldedWord[at + 2])))
            return 0;
        const std::uint32_t cp = CodePointAt(foldedWord, at);
        const bool kanji = (cp >= 0x3400 && cp <= 0x4DBF) || (cp >= 0x4E00 && cp <= 0x9FFF);
        const bool katakana = (cp >= 0x30A1 && cp <= 0x30FA) || cp == 0x30FC;
        if (!kanji && !katakana) return 0;
    }
    return characters;
}

std::size_t UnfoldedOffset(std::string_view text, std::size_t foldedAt) {
    std::size_t folded = 0;
    std::string one;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length =
            std::min(CharLength(static_cast<unsigned char>(text[at])), text.size() - at);
        one.clear();
        AppendFoldedForFind(one, text.substr(at, length));
        if (folded + one.size() > foldedAt) return at;
        folded += one.size();
        at += length;
    }
    return text.size();
}

std::string SnippetAround(std::string_view text, std::size_t at, std::size_t length,
                          std::size_t around) {
    std::size_t begin = std::min(at, text.size());
    for (std::size_t n = 0; n < around && begin > 0; ++n) {
        --begin;
        while (begin > 0 && IsContinuation(static_cast<unsigned char>(text[begin]))) --begin;
    }
    std::size_t end = std::min(at + length, text.size());
    for (std::size_t n = 0; n < around && end < text.size(); ++n)
        end = std::min(end + CharLength(static_cast<unsigned char>(text[end])), text.size());
    std::string snippet = begin > 0 ? "…" : "";
    bool blank = begin == 0;  // no blank at the start
    for (const char c : text.substr(begin, end - begin)) {
        const bool control = static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
        if ((control || c == ' ') && blank) continue;
        blank = control || c == ' ';
        snippet += control ? ' ' : c;
    }
    while (snippet.ends_with(' ')) snippet.pop_back();
    if (end < text.size()) snippet += "…";
    return snippet;
}

}  // namespace kantoria
