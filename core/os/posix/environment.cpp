#include "core/os/environment.h"

#include <cstdlib>

#include "core/text/text_codec.h"

namespace kantoria {

std::optional<std::string> ProcessEnvironment::Get(std::string_view name) const {
    // A name with a NUL could only be looked up cut short, which would answer for another
    // variable.
    if (name.find('\0') != std::string_view::npos) return std::nullopt;
    const char* value = std::getenv(ToSystemName(name).c_str());
    if (value == nullptr) return std::nullopt;
    return FromSystemName(value);
}

}  // namespace kantoria
