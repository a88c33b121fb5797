#include "core/icons/icon_source.h"

#include <algorithm>
#include <optional>

#include "core/text/expand_environment.h"
#include "core/text/text_number.h"

namespace kantoria {
namespace {

std::optional<std::string> WithinLimit(std::optional<std::string> value) {
    if (value && value->size() > kMaxRegistryValueBytes) return std::nullopt;
    return value;
}

// The icon file: the value up to its first ',', expanded, without double quotes.
std::string IconFileOf(std::string_view value, const Environment& env) {
    std::string file = ExpandEnvironment(value.substr(0, value.find(',')),
                                         [&env](std::string_view name) { return env.Get(name); });
    file.erase(std::remove(file.begin(), file.end(), '"'), file.end());
    if (file.size() > kMaxPathBytes) file.clear();
    return file;
}

// The index after the first ','; without one the whole value is read, which for a path is 0.
int IconIndexOf(std::string_view value) {
    const size_t comma = value.find(',');
    return ParseLeadingInt(comma == std::string_view::npos ? value : value.substr(comma + 1));
}

}  // namespace

bool FindDefaultIcon(IconSource& source, FileTypeRegistry& types, const Environment& env) {
    const std::string& path = source.path;
    const size_t dot = path.rfind('.');
    const std::string_view key =
        dot == std::string::npos ? std::string_view(path) : std::string_view(path).substr(dot);
    const std::optional<std::string> typeName = WithinLimit(types.TypeNameOf(key));
    if (!typeName || typeName->empty()) return false;
    const std::optional<std::string> value = WithinLimit(types.DefaultIcon(*typeName));
    if (!value) return false;

    source.iconFile = IconFileOf(*value, env);
    source.iconIndex = IconIndexOf(*value);
    source.program = types.AssociatedProgram(path);
    if (source.program.size() > kMaxPathBytes) source.program.clear();
    return true;
}

}  // namespace kantoria
