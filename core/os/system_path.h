// std::filesystem paths built from the program's text, and their text. A path built from a
// plain std::string means bytes in the system's narrow encoding, which on Windows is the ANSI
// code page, not the program's UTF-8: every path that std::filesystem sees is made here.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace kantoria {

std::filesystem::path SystemPath(std::string_view text);
std::string PathText(const std::filesystem::path& path);

}  // namespace kantoria
