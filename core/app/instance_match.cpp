#include "core/app/instance_match.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "core/os/environment.h"

#include "core/resources/string_table.h"
#include "core/text/path_split.h"

namespace kantoria {
namespace {

std::optional<size_t> FindCaption(const std::vector<std::vector<std::string>>& captions,
                                  std::string_view wanted) {
    for (size_t i = 0; i < captions.size(); ++i) {
        if (std::find(captions[i].begin(), captions[i].end(), wanted) != captions[i].end())
            return i;
    }
    return std::nullopt;
}

// One X display however it is spelled: ":0", ":0.0" and "unix:0" all reach the local server
// 0; the screen after the dot is part of the same display.
std::string XDisplay(std::string_view display) {
    const size_t colon = display.rfind(':');
    if (colon == std::string_view::npos) return std::string(display);
    std::string_view host = display.substr(0, colon);
    std::string_view number = display.substr(colon + 1);
    number = number.substr(0, number.find('.'));
    if (host == "unix") host = {};
    std::string name(host);
    name += ':';
    name += number;
    return name;
}

// A folder spelled without doubled or trailing slashes, so that "/home/u/" and "/home/u"
// name one folder.
std::string PlainFolder(std::string_view folder) {
    std::string plain;
    for (const char c : folder) {
        if (c == '/' && !plain.empty() && plain.back() == '/') continue;
        plain += c;
    }
    if (plain.size() > 1 && plain.back() == '/') plain.pop_back();
    return plain;
}

// Where the settings of an instance started in environment live, as Qt finds that folder.
std::string SettingsFolder(const Environment& environment) {
    const std::string config = environment.Get("XDG_CONFIG_HOME").value_or("");
    if (!config.empty()) return PlainFolder(config);
    const std::string home = environment.Get("HOME").value_or("");
    return home.empty() ? std::string() : PlainFolder(home + "/.config");
}

// FNV-1a: stable from one build and one process to the next, as the tag must be.
std::uint64_t StableHash(std::string_view text) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : text) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    return hash;
}

}  // namespace

std::string_view CatalogueFileName(std::string_view path) {
    const size_t last = LastSeparatorIn(path);
    return last == std::string_view::npos ? path : path.substr(last + 1);
}

std::string FrameCaption(std::string_view documentPath) {
    std::string caption(documentPath.empty() ? LoadString(IDS_UNTITLED)
                                             : CatalogueFileName(documentPath));
    caption += " - ";
    caption += TemplateField(DocField::WindowTitle);
    return caption;
}

std::optional<size_t> FindInstanceHolding(std::string_view storedPath,
                                          const std::vector<std::vector<std::string>>& captions) {
    std::string own(CatalogueFileName(storedPath));
    own += " - ";
    own += LoadString(IDS_PRODUCT_TITLE);
    if (auto found = FindCaption(captions, own)) return found;
    return FindCaption(captions, LoadString(IDS_PRODUCT_TITLE));
}

std::string InstanceScope(const Environment& environment) {
    std::string key = XDisplay(environment.Get("DISPLAY").value_or(""));
    key += '\n';
    key += environment.Get("WAYLAND_DISPLAY").value_or("");
    key += '\n';
    key += SettingsFolder(environment);
    char tag[17];
    std::snprintf(tag, sizeof tag, "%016llx", static_cast<unsigned long long>(StableHash(key)));
    return tag;
}

}  // namespace kantoria
