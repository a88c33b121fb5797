// libFuzzer target: any bytes as an HTML page, decoded by its charset and scanned; and the same
// bytes scanned as they are. Tags never reach the text: no '<' that opens a tag survives. A
// stray '<' is text, as a browser shows it, and may meet "script>" once a comment or a
// declaration between them is dropped; pages with one are not held to that promise.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "extract/html_text.h"
#include "tests/fuzz/extract_fuzz_checks.h"

namespace {

// Whether html holds a '<' that opens no tag, comment or declaration.
bool HasStrayOpen(std::string_view html) {
    for (std::size_t at = html.find('<'); at != std::string_view::npos;
         at = html.find('<', at + 1)) {
        const char next = at + 1 < html.size() ? html[at + 1] : '\0';
        const bool opens = (next >= 'a' && next <= 'z') || (next >= 'A' && next <= 'Z') ||
                           next == '/' || next == '!' || next == '?';
        if (!opens) return true;
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace kantoria;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string page = DecodeHtml(bytes);
    TextSink decoded(fuzz::kFuzzTextCap);
    HtmlText(page, decoded);
    fuzz::CheckSink(decoded);
    if (decoded.Text().find("<script") != std::string::npos && !HasStrayOpen(page) &&
        bytes.find("&lt;") == std::string_view::npos && bytes.find("&#") == std::string_view::npos)
        fuzz::Broken("a script tag never reaches the text");
    TextSink raw(fuzz::kFuzzTextCap);
    HtmlText(bytes, raw);
    fuzz::CheckSink(raw);
    return 0;
}
