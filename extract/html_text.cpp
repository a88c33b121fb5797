#include "extract/html_text.h"

#include <algorithm>
#include <array>
#include <charconv>

#include "core/text/text_codec.h"
#include "extract/charset.h"

namespace kantoria {
namespace {

// How far into the page a <meta> charset is looked for, as browsers do.
constexpr size_t kMetaScan = 4096;

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}
bool IsAlpha(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool IsNameChar(char c) {
    return IsAlpha(c) || (c >= '0' && c <= '9') || c == '-' || c == ':' || c == '_';
}
char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Where needle (lower case) next occurs in text from pos, ignoring case; npos when nowhere.
size_t FindNoCase(std::string_view text, std::string_view needle, size_t pos) {
    const auto at = std::search(
        text.begin() + static_cast<std::ptrdiff_t>(std::min(pos, text.size())), text.end(),
        needle.begin(), needle.end(), [](char a, char b) { return Lower(a) == b; });
    return at == text.end() ? std::string_view::npos : static_cast<size_t>(at - text.begin());
}

struct Entity {
    std::string_view name;
    std::string_view utf8;
};

constexpr std::array kEntities = {
    Entity{"amp", "&"},         Entity{"lt", "<"},          Entity{"gt", ">"},
    Entity{"quot", "\""},       Entity{"apos", "'"},        Entity{"nbsp", " "},
    Entity{"copy", "\u00A9"},   Entity{"reg", "\u00AE"},    Entity{"trade", "\u2122"},
    Entity{"yen", "\u00A5"},    Entity{"times", "\u00D7"},  Entity{"divide", "\u00F7"},
    Entity{"middot", "\u00B7"}, Entity{"hellip", "\u2026"}, Entity{"mdash", "\u2014"},
    Entity{"ndash", "\u2013"},  Entity{"lsquo", "\u2018"},  Entity{"rsquo", "\u2019"},
    Entity{"ldquo", "\u201C"},  Entity{"rdquo", "\u201D"},  Entity{"laquo", "\u00AB"},
    Entity{"raquo", "\u00BB"},  Entity{"bull", "\u2022"},   Entity{"euro", "\u20AC"},
    Entity{"deg", "\u00B0"},    Entity{"sect", "\u00A7"},   Entity{"para", "\u00B6"},
};

// Elements whose start or end begins a new line.
constexpr std::array<std::string_view, 36> kBlocks = {
    "p",          "div",     "br",      "li",     "ul",     "ol",   "tr",     "table",
    "h1",         "h2",      "h3",      "h4",     "h5",     "h6",   "title",  "blockquote",
    "pre",        "section", "article", "header", "footer", "nav",  "aside",  "dt",
    "dd",         "hr",      "form",    "body",   "head",   "html", "option", "caption",
    "figcaption", "main",    "address", "dl"};

// Decodes the entity at html[pos] == '&'; returns the bytes it took (0 when it is no entity).
size_t DecodeEntity(std::string_view html, size_t pos, std::string& out) {
    size_t end = pos + 1;
    if (end < html.size() && html[end] == '#') {
        const bool hex = end + 1 < html.size() && Lower(html[end + 1]) == 'x';
        const size_t digits = end + (hex ? 2 : 1);
        std::uint32_t code = 0;
        const auto [stop, error] =
            std::from_chars(html.data() + digits, html.data() + std::min(html.size(), digits + 8),
                            code, hex ? 16 : 10);
        if (stop == html.data() + digits) return 0;
        const bool valid = error == std::errc() && code != 0 && code <= 0x10FFFF &&
                           (code < 0xD800 || code > 0xDFFF);
        AppendUtf8(out, valid ? static_cast<char32_t>(code) : U'\uFFFD');
        end = static_cast<size_t>(stop - html.data());
        return end - pos + (end < html.size() && html[end] == ';' ? 1 : 0);
    }
    while (end < html.size() && end - pos <= 8 && IsNameChar(html[end])) ++end;
    if (end >= html.size() || html[end] != ';') return 0;
    const std::string_view name = html.substr(pos + 1, end - pos - 1);
    for (const Entity& entity : kEntities) {
        if (entity.name != name) continue;
        out.append(entity.utf8);
        return end - pos + 1;
    }
    return 0;
}

class Scanner {
  public:
    Scanner(std::string_view html, TextSink& sink) : html_(html), sink_(sink) {}

    void Run() {
        while (pos_ < html_.size() && !sink_.Full()) {
            const char c = html_[pos_];
            if (c == '<' && Markup()) continue;
            if (c == '&') {
                std::string decoded;
                const size_t used = DecodeEntity(html_, pos_, decoded);
                if (used > 0) {
                    Text(decoded);
                    pos_ += used;
                    continue;
                }
            }
            if (IsSpace(c)) {
                spacePending_ = true;
                ++pos_;
                continue;
            }
            const size_t end = std::min(html_.find_first_of("<& \t\n\r\f", pos_), html_.size());
            Text(html_.substr(pos_, std::max<size_t>(end - pos_, 1)));
            pos_ = std::max(end, pos_ + 1);
        }
        sink_.EndLine();
    }

  private:
    void Text(std::string_view text) {
        if (spacePending_) sink_.Space();
        spacePending_ = false;
        sink_.Add(text);
    }

    void EndLine() {
        sink_.EndLine();
        spacePending_ = false;
    }

    // Skips the comment, declaration or tag at pos_; false when the '<' is plain text.
    bool Markup() {
        const std::string_view rest = html_.substr(pos_);
        if (rest.starts_with("<!--")) return SkipPast("-->", pos_ + 4);
        if (rest.size() < 2) return false;
        if (rest[1] == '!' || rest[1] == '?') return SkipPast(">", pos_ + 2);
        const bool closing = rest[1] == '/';
        const size_t nameAt = pos_ + (closing ? 2 : 1);
        if (nameAt >= html_.size() || !IsAlpha(html_[nameAt])) return false;
        size_t at = nameAt;
        std::string name;
        while (at < html_.size() && IsNameChar(html_[at])) name += Lower(html_[at++]);
        pos_ = TagEnd(at);
        if (!closing && (name == "script" || name == "style" || name == "template")) {
            const size_t close = FindNoCase(html_, "</" + name, pos_);
            pos_ = close == std::string_view::npos ? html_.size() : TagEnd(close + 2);
        }
        if (std::find(kBlocks.begin(), kBlocks.end(), name) != kBlocks.end()) {
            EndLine();
        } else if (name == "td" || name == "th") {
            spacePending_ = true;
        }
        return true;
    }

    // Past the '>' that ends the tag whose attributes start at at, quotes respected; a quote
    // left open ends at the first '>' instead, as browsers recover.
    size_t TagEnd(size_t at) const {
        char quote = 0;
        for (size_t i = at; i < html_.size(); ++i) {
            const char c = html_[i];
            if (quote) {
                if (c == quote) quote = 0;
            } else if (c == '"' || c == '\'') {
                quote = c;
            } else if (c == '>') {
                return i + 1;
            }
        }
        const size_t plain = html_.find('>', at);
        return plain == std::string_view::npos ? html_.size() : plain + 1;
    }

    bool SkipPast(std::string_view end, size_t from) {
        const size_t at = html_.find(end, from);
        pos_ = at == std::string_view::npos ? html_.size() : at + end.size();
        return true;
    }

    std::string_view html_;
    TextSink& sink_;
    size_t pos_ = 0;
    bool spacePending_ = false;
};

}  // namespace

std::string HtmlMetaCharset(std::string_view bytes) {
    const std::string_view head = bytes.substr(0, kMetaScan);
    for (size_t meta = FindNoCase(head, "<meta", 0); meta != std::string_view::npos;
         meta = FindNoCase(head, "<meta", meta + 5)) {
        const size_t close = std::min(head.find('>', meta), head.size());
        const std::string_view tag = head.substr(meta, close - meta);
        size_t at = FindNoCase(tag, "charset", 0);
        if (at == std::string_view::npos) continue;
        at += 7;
        while (at < tag.size() &&
               (IsSpace(tag[at]) || tag[at] == '=' || tag[at] == '"' || tag[at] == '\''))
            ++at;
        size_t end = at;
        while (end < tag.size() && (IsNameChar(tag[end]) || tag[end] == '.')) ++end;
        if (end > at) return std::string(tag.substr(at, end - at));
    }
    return {};
}

std::string DecodeHtml(std::string_view bytes) {
    size_t bom = 0;
    const std::string_view named = BomCharset(bytes, bom);
    if (!named.empty()) return ToUtf8(bytes.substr(bom), named);
    const std::string meta = HtmlMetaCharset(bytes);
    if (meta.empty()) return DecodeText(bytes);
    // A page without a byte-order mark that names a UTF is read as UTF-8 when it is, as
    // browsers do, and otherwise as whatever it really is.
    if (FindNoCase(meta, "utf", 0) == 0)
        return IsValidUtf8(bytes) ? std::string(bytes) : DecodeText(bytes);
    return ToUtf8(bytes, meta);
}

void HtmlText(std::string_view html, TextSink& sink) {
    Scanner(html, sink).Run();
}

}  // namespace kantoria
