#include "core/os/system_path.h"

#include "core/text/text_codec.h"

namespace kantoria {

std::filesystem::path SystemPath(std::string_view text) {
    return std::filesystem::path(ToSystemName(text));
}

std::string PathText(const std::filesystem::path& path) {
    return FromSystemName(path.native());
}

}  // namespace kantoria
