// libFuzzer target: any bytes as an HTML page, decoded by its charset and scanned; and the same
// bytes scanned as they are. Tags never reach the text: no '<' that opens a tag survives.
#include <cstdint>
#include <string_view>

#include "extract/html_text.h"
#include "tests/fuzz/extract_fuzz_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace kantoria;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    TextSink decoded(fuzz::kFuzzTextCap);
    HtmlText(DecodeHtml(bytes), decoded);
    fuzz::CheckSink(decoded);
    if (decoded.Text().find("<script") != std::string::npos &&
        bytes.find("&lt;") == std::string_view::npos && bytes.find("&#") == std::string_view::npos)
        fuzz::Broken("a script tag never reaches the text");
    TextSink raw(fuzz::kFuzzTextCap);
    HtmlText(bytes, raw);
    fuzz::CheckSink(raw);
    return 0;
}
