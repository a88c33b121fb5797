#include "core/search/extension_list.h"

#include <algorithm>

#include "core/text/text_fold.h"

namespace kantoria {
namespace {

constexpr std::size_t kExtensionColumn = 5;

// Characters, not bytes: a UTF-8 continuation byte does not start one.
std::size_t CharacterCount(std::string_view text) {
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

bool StartsWithNoCase(std::string_view line, std::string_view prefix) {
    return line.size() >= prefix.size() && EqualsNoCase(line.substr(0, prefix.size()), prefix);
}

}  // namespace

std::string FormatExtensionLine(std::string_view extension, std::string_view description) {
    std::string line(extension);
    const std::size_t width = CharacterCount(extension);
    if (width < kExtensionColumn) line.append(kExtensionColumn - width, ' ');
    line += ' ';
    line += description;
    return line;
}

std::optional<std::size_t> FindLineStartingWith(const std::vector<std::string>& lines,
                                                std::size_t after, std::string_view prefix) {
    const std::size_t n = lines.size();
    for (std::size_t k = 1; k <= n; ++k) {
        const std::size_t i = (after + k) % n;
        if (StartsWithNoCase(lines[i], prefix)) return i;
    }
    return std::nullopt;
}

ExtensionBox FillExtensionList(FileTypeRegistry& types) {
    ExtensionBox box;
    for (const ExtensionType& ext : types.Extensions()) {
        if (ext.typeName.empty()) continue;
        const std::optional<std::string> description = types.Description(ext.typeName);
        if (description) box.lines.push_back(FormatExtensionLine(ext.extension, *description));
    }
    // Lines that differ only in case keep the order in which they were added.
    std::stable_sort(
        box.lines.begin(), box.lines.end(),
        [](const std::string& a, const std::string& b) { return CompareNoCase(a, b) < 0; });
    box.selected = FindLineStartingWith(box.lines, 0, ".doc");
    return box;
}

std::string_view ExtensionOfLine(std::string_view line) {
    return line.substr(0, line.find(' '));
}

std::optional<std::string> ExtensionOfBoxText(std::string_view text) {
    constexpr std::string_view kBlanks = " \t";
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return std::nullopt;
    text.remove_prefix(first);
    text = text.substr(0, text.find_first_of(kBlanks));
    if (text.front() == '*') text.remove_prefix(1);
    if (!text.empty() && text.front() == '.') text.remove_prefix(1);
    // What is left is matched against the part of a name after its last dot.
    if (text.empty() || text.find_first_of(".*?\\/") != std::string_view::npos) return std::nullopt;
    return "." + std::string(text);
}

}  // namespace kantoria
