#include "core/text/text_fold.h"

#include <cstring>
#include <functional>

#include "core/text/text_codec.h"

namespace kantoria {
namespace {

// Full-width Ａ..Ｚ are EF BC A1..BA; their small forms ａ..ｚ are EF BD 81..9A.
bool IsFullWidthCapitalAt(std::string_view s, size_t i) {
    return i + 2 < s.size() && static_cast<unsigned char>(s[i]) == 0xEF &&
           static_cast<unsigned char>(s[i + 1]) == 0xBC &&
           static_cast<unsigned char>(s[i + 2]) >= 0xA1 &&
           static_cast<unsigned char>(s[i + 2]) <= 0xBA;
}

// Walks the folded bytes of s one at a time. Folding keeps every length, so both sides of a
// comparison advance in step.
class FoldedBytes {
  public:
    explicit FoldedBytes(std::string_view s) : s_(s) {}
    bool Done() const { return i_ >= s_.size(); }
    unsigned char Next() {
        auto b = static_cast<unsigned char>(s_[i_]);
        if (pending_ > 0) {
            --pending_;
            ++i_;
            if (pending_ == 1) return 0xBD;
            return static_cast<unsigned char>(b - 0x20);
        }
        if (b >= 'A' && b <= 'Z') {
            ++i_;
            return static_cast<unsigned char>(b + ('a' - 'A'));
        }
        if (b == 0xEF && IsFullWidthCapitalAt(s_, i_)) pending_ = 2;
        ++i_;
        return b;
    }

  private:
    std::string_view s_;
    size_t i_ = 0;
    int pending_ = 0;
};

}  // namespace

std::string FoldCase(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    FoldedBytes f(text);
    while (!f.Done()) out += static_cast<char>(f.Next());
    return out;
}

int CompareNoCase(std::string_view a, std::string_view b) {
    FoldedBytes fa(a), fb(b);
    while (!fa.Done() && !fb.Done()) {
        const unsigned char x = fa.Next(), y = fb.Next();
        if (x != y) return x < y ? -1 : 1;
    }
    if (fa.Done() && fb.Done()) return 0;
    return fa.Done() ? -1 : 1;
}

std::string DisplayOrderKey(std::string_view text) {
    return Cp932OrderKey(FoldCase(text));
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    if (a.empty()) return true;
    // Most lookups meet identical spellings: settle those without folding.
    if (std::memcmp(a.data(), b.data(), a.size()) == 0) return true;
    return CompareNoCase(a, b) == 0;
}

std::uint64_t HashNoCase(std::string_view text) {
    // Folds into a buffer on the stack and hashes it with the library's string hash a chunk at
    // a time: the indexes hash every title and path, so this is on the hot path of loading.
    // Chunks are cut by folded length alone, so equal folded texts hash alike.
    constexpr size_t kChunk = 256;
    char buf[kChunk];
    size_t len = 0;
    std::uint64_t h = text.size();
    auto put = [&](unsigned char c) {
        if (len == kChunk) {
            h = h * 0x9E3779B97F4A7C15ULL + std::hash<std::string_view>{}({buf, len});
            len = 0;
        }
        buf[len++] = static_cast<char>(c);
    };
    const size_t n = text.size();
    for (size_t i = 0; i < n; ++i) {
        const auto b = static_cast<unsigned char>(text[i]);
        if (b >= 'A' && b <= 'Z') {
            put(static_cast<unsigned char>(b + ('a' - 'A')));
        } else if (b == 0xEF && IsFullWidthCapitalAt(text, i)) {
            put(0xEF);
            put(0xBD);
            put(static_cast<unsigned char>(static_cast<unsigned char>(text[i + 2]) - 0x20));
            i += 2;
        } else {
            put(b);
        }
    }
    return h * 0x9E3779B97F4A7C15ULL + std::hash<std::string_view>{}({buf, len});
}

}  // namespace kantoria
