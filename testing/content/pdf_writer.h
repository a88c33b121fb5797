// A small PDF written by hand: one line a paragraph, in a composite font whose ToUnicode map
// gives every character back, as office programs write Japanese text.
#pragma once

#include <string>
#include <vector>

namespace kantoria::test {

std::string PdfBytes(const std::vector<std::string>& paragraphs);

}  // namespace kantoria::test
