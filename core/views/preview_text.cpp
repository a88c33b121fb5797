#include "core/views/preview_text.h"

#include <algorithm>

#include "core/text/find_fold.h"
#include "core/text/text_fold.h"

namespace kantoria {
namespace {

std::size_t CharLength(unsigned char lead) {
    if (lead < 0x80) return 1;
    if (lead >= 0xF0) return 4;
    if (lead >= 0xE0) return 3;
    return lead >= 0xC0 ? 2 : 1;
}

bool IsContinuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

// A sound mark joins the letter before it when folded: combining U+3099/U+309A and half-width
// U+FF9E/U+FF9F.
bool IsSoundMark(std::string_view text, std::size_t at) {
    const std::string_view rest = text.substr(at);
    return rest.starts_with("\xE3\x82\x99") || rest.starts_with("\xE3\x82\x9A") ||
           rest.starts_with("\xEF\xBE\x9E") || rest.starts_with("\xEF\xBE\x9F");
}

std::size_t NextChar(std::string_view text, std::size_t at) {
    return std::min(at + CharLength(static_cast<unsigned char>(text[at])), text.size());
}

}  // namespace

PreviewKind PreviewKindOf(std::string_view path, const std::vector<std::string>& imageSuffixes) {
    const std::size_t slash = path.find_last_of('/');
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.find_last_of('.');
    if (dot == std::string_view::npos || dot == 0) return PreviewKind::Text;
    const std::string suffix = FoldCase(name.substr(dot + 1));
    if (suffix == "pdf") return PreviewKind::Pdf;
    if (std::find(imageSuffixes.begin(), imageSuffixes.end(), suffix) != imageSuffixes.end())
        return PreviewKind::Image;
    return PreviewKind::Text;
}

std::string PreviewShownText(std::string text, std::size_t limit) {
    std::size_t kept = 0;
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (text[at] != '\r') {
            text[kept++] = text[at];
        } else if (at + 1 >= text.size() || text[at + 1] != '\n') {
            text[kept++] = '\n';
        }
    }
    text.resize(kept);
    if (text.size() <= limit) return text;
    std::size_t end = limit;
    while (end > 0 && IsContinuation(static_cast<unsigned char>(text[end]))) --end;
    text.resize(end);
    text += "\n…";
    return text;
}

FoldedText::FoldedText(std::string_view text) : size_(text.size()) {
    folded_.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        std::size_t end = NextChar(text, at);
        while (end < text.size() && IsSoundMark(text, end)) end = NextChar(text, end);
        starts_.push_back(static_cast<std::uint32_t>(at));
        foldedStarts_.push_back(static_cast<std::uint32_t>(folded_.size()));
        AppendFoldedForFind(folded_, text.substr(at, end - at));
        at = end;
    }
}

std::size_t FoldedText::ClusterAt(std::size_t foldedAt) const {
    const auto after = std::upper_bound(foldedStarts_.begin(), foldedStarts_.end(), foldedAt);
    return static_cast<std::size_t>(after - foldedStarts_.begin()) - 1;
}

std::vector<TextRange> FoldedText::Ranges(const std::vector<std::string>& words,
                                          std::size_t most) const {
    std::vector<TextRange> ranges;
    for (const std::string& word : words) {
        if (word.empty()) continue;
        for (std::size_t at = folded_.find(word); at != std::string::npos && ranges.size() < most;
             at = folded_.find(word, at + word.size())) {
            const std::size_t last = ClusterAt(at + word.size() - 1) + 1;
            const std::size_t end = last < starts_.size() ? starts_[last] : size_;
            ranges.push_back({starts_[ClusterAt(at)], end});
        }
    }
    std::sort(ranges.begin(), ranges.end(),
              [](const TextRange& a, const TextRange& b) { return a.begin < b.begin; });
    std::vector<TextRange> joined;
    for (const TextRange& range : ranges) {
        if (!joined.empty() && range.begin <= joined.back().end) {
            joined.back().end = std::max(joined.back().end, range.end);
        } else {
            joined.push_back(range);
        }
    }
    return joined;
}

}  // namespace kantoria
