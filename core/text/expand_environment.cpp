#include "core/text/expand_environment.h"

#include <cstddef>
#include <vector>

namespace kantoria {
namespace {

// The text being expanded, with a mark on every byte that came from a variable's value.
struct MarkedText {
    std::string text;
    std::vector<bool> inserted;

    bool FreeAt(size_t i) const { return !inserted[i]; }
};

// The first '%' at or after from that is the text's own.
size_t FindOwnPercent(const MarkedText& t, size_t from) {
    for (size_t i = from; i < t.text.size(); ++i)
        if (t.text[i] == '%' && t.FreeAt(i)) return i;
    return std::string::npos;
}

// Whether token stands at i, all of it the text's own bytes.
bool OwnTokenAt(const MarkedText& t, size_t i, std::string_view token) {
    if (t.text.compare(i, token.size(), token) != 0) return false;
    for (size_t k = i; k < i + token.size(); ++k)
        if (!t.FreeAt(k)) return false;
    return true;
}

// Replaces every occurrence of token from position from on, left to right without overlaps.
void ReplaceFrom(MarkedText& t, size_t from, std::string_view token, std::string_view value) {
    MarkedText out;
    out.text.assign(t.text, 0, from);
    out.inserted.assign(t.inserted.begin(), t.inserted.begin() + static_cast<std::ptrdiff_t>(from));
    size_t i = from;
    while (i < t.text.size()) {
        if (t.text.size() - i >= token.size() && OwnTokenAt(t, i, token)) {
            out.text += value;
            out.inserted.insert(out.inserted.end(), value.size(), true);
            i += token.size();
        } else {
            out.text += t.text[i];
            out.inserted.push_back(t.inserted[i]);
            ++i;
        }
    }
    t = std::move(out);
}

}  // namespace

std::string ExpandEnvironment(std::string_view text, const VariableLookup& lookup) {
    MarkedText t{std::string(text), std::vector<bool>(text.size(), false)};
    size_t pos = 0;
    while (true) {
        const size_t open = FindOwnPercent(t, pos);
        if (open == std::string::npos) break;
        size_t close = open + 1;
        while (close < t.text.size() && t.FreeAt(close) && t.text[close] != '%') ++close;
        if (close == t.text.size()) break;  // the last '%' has no partner
        if (!t.FreeAt(close)) {             // a value stands in between: no pair
            pos = close;
            continue;
        }
        const std::string name = t.text.substr(open + 1, close - open - 1);
        const std::string value = lookup(name).value_or("");
        ReplaceFrom(t, open, "%" + name + "%", value);
        pos = open + value.size();
    }
    return t.text;
}

}  // namespace kantoria
