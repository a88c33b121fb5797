#include "core/text/entered_text.h"

#include <vector>

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
    if (shown == stored) return EnteredText(stored, enc);
    // The stored text in units as the screen shows them: a twin code's escapes show as one
    // character, every other escape as U+FFFD, and each unit keeps its bytes.
    struct Unit {
        std::string_view stored;
        std::string shown;
    };
    std::vector<Unit> units;
    for (size_t pos = 0; pos < stored.size();) {
        size_t len = CharLengthAt(stored, pos, enc);
        // A pair of escapes that is no twin shows as two U+FFFD: each is a unit of its own.
        std::string unitShown = ToDisplayText(stored.substr(pos, len), enc);
        if (len == 6 && unitShown == "\uFFFD\uFFFD") {
            len = 3;
            unitShown = "\uFFFD";
        }
        units.push_back({stored.substr(pos, len), std::move(unitShown)});
        pos += len;
    }
    // The unchanged start and end keep their bytes; only what lies between is taken as typed.
    size_t head = 0, shownHead = 0;
    while (head < units.size() && shown.substr(shownHead).starts_with(units[head].shown))
        shownHead += units[head++].shown.size();
    size_t tail = units.size(), shownTail = shown.size();
    while (tail > head && shownTail - shownHead >= units[tail - 1].shown.size() &&
           shown.substr(0, shownTail).ends_with(units[tail - 1].shown))
        shownTail -= units[--tail].shown.size();
    std::string text;
    text.reserve(shown.size() + stored.size());
    for (size_t i = 0; i < head; ++i) text += units[i].stored;
    text += shown.substr(shownHead, shownTail - shownHead);
    for (size_t i = tail; i < units.size(); ++i) text += units[i].stored;
    return EnteredText(text, enc);
}

}  // namespace kantoria
