#include "core/text/find_fold.h"

#include <array>
#include <cstdint>

#include "core/text/text_codec.h"

namespace kantoria {
namespace {

// Full-width forms of the half-width katakana block U+FF61..U+FF9F, in its order.
constexpr std::array<char16_t, 0x3F> kHalfWidthKana = {
    0x3002, 0x300C, 0x300D, 0x3001, 0x30FB, 0x30F2, 0x30A1, 0x30A3, 0x30A5, 0x30A7, 0x30A9,
    0x30E3, 0x30E5, 0x30E7, 0x30C3, 0x30FC, 0x30A2, 0x30A4, 0x30A6, 0x30A8, 0x30AA, 0x30AB,
    0x30AD, 0x30AF, 0x30B1, 0x30B3, 0x30B5, 0x30B7, 0x30B9, 0x30BB, 0x30BD, 0x30BF, 0x30C1,
    0x30C4, 0x30C6, 0x30C8, 0x30CA, 0x30CB, 0x30CC, 0x30CD, 0x30CE, 0x30CF, 0x30D2, 0x30D5,
    0x30D8, 0x30DB, 0x30DE, 0x30DF, 0x30E0, 0x30E1, 0x30E2, 0x30E4, 0x30E6, 0x30E8, 0x30E9,
    0x30EA, 0x30EB, 0x30EC, 0x30ED, 0x30EF, 0x30F3, 0x309B, 0x309C,
};

constexpr char32_t kVoicedMark = 0x3099;      // combining dakuten
constexpr char32_t kSemiVoicedMark = 0x309A;  // combining handakuten

// The code point of the two- or three-byte sequence at text[i], and its length; 0 when the bytes
// are no such sequence (four-byte characters are never folded and are copied byte by byte).
std::size_t Decode(std::string_view text, std::size_t i, char32_t& c) {
    const auto b0 = static_cast<unsigned char>(text[i]);
    auto trail = [&](std::size_t k) {
        return i + k < text.size() && (static_cast<unsigned char>(text[i + k]) & 0xC0) == 0x80;
    };
    if ((b0 & 0xE0) == 0xC0 && trail(1)) {
        c = ((b0 & 0x1Fu) << 6) | (static_cast<unsigned char>(text[i + 1]) & 0x3Fu);
        return 2;
    }
    if ((b0 & 0xF0) == 0xE0 && trail(1) && trail(2)) {
        c = ((b0 & 0x0Fu) << 12) | ((static_cast<unsigned char>(text[i + 1]) & 0x3Fu) << 6) |
            (static_cast<unsigned char>(text[i + 2]) & 0x3Fu);
        return 3;
    }
    return 0;
}

char32_t FoldChar(char32_t c) {
    if (c >= 0xFF01 && c <= 0xFF5E) c -= 0xFEE0;  // full-width ASCII forms
    if (c >= 'A' && c <= 'Z') return c + ('a' - 'A');
    if (c == 0x3000) return ' ';
    if (c >= 0xFF61 && c <= 0xFF9F) return kHalfWidthKana[c - 0xFF61];
    if ((c >= 0x3041 && c <= 0x3096) || c == 0x309D || c == 0x309E) return c + 0x60;
    return c;
}

// The katakana letter with the sound mark joined, or 0 when the pair has no such letter.
char32_t Compose(char32_t letter, bool semiVoiced) {
    if (letter >= 0x30CF && letter <= 0x30DB && (letter - 0x30CF) % 3 == 0)
        return letter + (semiVoiced ? 2 : 1);  // ハ行: バ, パ
    if (semiVoiced) return 0;
    if ((letter >= 0x30AB && letter <= 0x30C1 && (letter - 0x30AB) % 2 == 0) ||
        (letter >= 0x30C4 && letter <= 0x30C8 && (letter - 0x30C4) % 2 == 0) || letter == 0x30FD)
        return letter + 1;  // カ行 to タ行, ヽ
    switch (letter) {
        case 0x30A6:
            return 0x30F4;  // ヴ
        case 0x30EF:
            return 0x30F7;  // ヷ
        case 0x30F2:
            return 0x30FA;  // ヺ
        default:
            return 0;
    }
}

}  // namespace

void AppendFoldedForFind(std::string& out, std::string_view text) {
    char32_t last = 0;  // the character last written, when it may take a sound mark
    std::size_t lastAt = 0;
    for (std::size_t i = 0; i < text.size();) {
        const auto b = static_cast<unsigned char>(text[i]);
        if (b < 0x80) {
            out.push_back(static_cast<char>(b >= 'A' && b <= 'Z' ? b + ('a' - 'A') : b));
            last = 0;
            ++i;
            continue;
        }
        // Kanji (U+4000..U+9FFF, lead bytes E4..E9) never fold and take no sound mark: the bulk
        // of Japanese text is copied without decoding.
        if (b >= 0xE4 && b <= 0xE9 && i + 2 < text.size() &&
            (static_cast<unsigned char>(text[i + 1]) & 0xC0) == 0x80 &&
            (static_cast<unsigned char>(text[i + 2]) & 0xC0) == 0x80) {
            out.append(text.data() + i, 3);
            last = 0;
            i += 3;
            continue;
        }
        char32_t c = 0;
        const std::size_t len = Decode(text, i, c);
        if (len == 0) {
            out += static_cast<char>(b);
            last = 0;
            ++i;
            continue;
        }
        i += len;
        const bool mark = c == kVoicedMark || c == kSemiVoicedMark || c == 0xFF9E || c == 0xFF9F;
        if (mark && last != 0) {
            if (const char32_t joined = Compose(last, c == kSemiVoicedMark || c == 0xFF9F)) {
                out.resize(lastAt);
                AppendUtf8(out, joined);
                last = 0;
                continue;
            }
        }
        const char32_t folded = FoldChar(c);
        lastAt = out.size();
        last = folded >= 0x30A0 && folded <= 0x30FF ? folded : 0;
        if (folded == c)
            out.append(text.substr(i - len, len));  // most characters: copied as they are
        else
            AppendUtf8(out, folded);
    }
}

std::string FoldForFind(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    AppendFoldedForFind(out, text);
    return out;
}

std::vector<std::string> FindWords(std::string_view text) {
    const std::string folded = FoldForFind(text);
    std::vector<std::string> words;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= folded.size(); ++i) {
        const bool blank = i == folded.size() || static_cast<unsigned char>(folded[i]) <= ' ' ||
                           folded[i] == '\x7F';
        if (!blank) continue;
        if (i > start) words.push_back(folded.substr(start, i - start));
        start = i + 1;
    }
    return words;
}

}  // namespace kantoria
