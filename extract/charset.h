// Which encoding a text file's bytes are in, and the text in UTF-8. Japanese offices keep text
// in code page 932, EUC-JP and ISO-2022-JP besides UTF-8 and UTF-16; a detector alone takes
// short code page 932 text for Windows-1252, so code page 932 is preferred whenever its bytes
// decode cleanly.
#pragma once

#include <string>
#include <string_view>

namespace kantoria {

// The encoding a byte-order mark names ("UTF-8", "UTF-16LE", "UTF-16BE"), and its length;
// empty when there is none.
std::string_view BomCharset(std::string_view bytes, size_t& bomLength);

// The encoding of bytes without a byte-order mark: "UTF-8" (also for plain ASCII),
// "ISO-2022-JP", "EUC-JP", "CP932", or another name iconv knows.
std::string DetectCharset(std::string_view bytes);

// bytes in charset (any name iconv knows; code page 932 and its aliases through the project's
// codec) as UTF-8; bytes that do not decode become U+FFFD. An unknown charset decodes as
// detected.
std::string ToUtf8(std::string_view bytes, std::string_view charset);

// A text file's bytes as UTF-8: byte-order mark first, then valid UTF-8, then detection.
std::string DecodeText(std::string_view bytes);

}  // namespace kantoria
