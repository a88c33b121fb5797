// libFuzzer target: any bytes as a text file. Detection names an encoding the decoder takes,
// and decoding gives valid UTF-8 whatever the bytes, alike with and without detection's help.
#include <cstdint>
#include <string>
#include <string_view>

#include "extract/charset.h"
#include "tests/fuzz/extract_fuzz_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace kantoria;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string text = DecodeText(bytes);
    fuzz::CheckText(text, size * 3 + 3);
    size_t bom = 0;
    if (BomCharset(bytes, bom).empty() && ToUtf8(bytes, DetectCharset(bytes)) != text)
        fuzz::Broken("decoding a file is decoding it in its detected encoding");
    for (const char* charset : {"CP932", "EUC-JP", "ISO-2022-JP", "UTF-16LE", "x-unknown"})
        fuzz::CheckText(ToUtf8(bytes, charset), size * 3 + 3);
    return 0;
}
