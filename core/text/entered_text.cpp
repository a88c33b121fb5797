#include "core/text/entered_text.h"

namespace kantoria {
namespace {

struct Respelling {
    std::string_view jis;
    std::string_view cp932;
};

constexpr Respelling kRespellings[] = {
    {"\u301C", "\uFF5E"}, {"\u2212", "\uFF0D"}, {"\u2016", "\u2225"}, {"\u2014", "\u2015"},
    {"\u00A2", "\uFFE0"}, {"\u00A3", "\uFFE1"}, {"\u00AC", "\uFFE2"},
};

}  // namespace

std::string EnteredText(std::string_view text, Encoding enc) {
    std::string out;
    out.reserve(text.size());
    if (enc != Encoding::Cp932) {
        out.assign(text);
        return out;
    }
    // Every JIS form starts with C2, E2 or E3, bytes that never continue a UTF-8 sequence;
    // escapes (ED B0..B3 xx) never match.
    size_t pos = 0;
    while (pos < text.size()) {
        const auto b = static_cast<unsigned char>(text[pos]);
        bool replaced = false;
        for (const Respelling& r : kRespellings) {
            if (b != 0xC2 && b != 0xE2 && b != 0xE3) break;
            if (text.substr(pos, r.jis.size()) == r.jis) {
                out += r.cp932;
                pos += r.jis.size();
                replaced = true;
                break;
            }
        }
        if (!replaced) out += text[pos++];
    }
    return out;
}

std::string TextFromScreen(std::string_view shown, std::string_view stored, Encoding enc) {
    if (shown == stored || shown == ToDisplayText(stored, enc)) return EnteredText(stored, enc);
    return EnteredText(shown, enc);
}

}  // namespace kantoria
