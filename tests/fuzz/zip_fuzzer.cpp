// libFuzzer target: any bytes opened as a ZIP archive and read by every office reader under
// small caps. No input may crash a reader, pass a cap or give text that is not UTF-8.
#include <cstdint>
#include <string_view>

#include "extract/office_readers.h"
#include "tests/fuzz/extract_fuzz_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace kantoria;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const ExtractLimits limits{
        .maxText = fuzz::kFuzzTextCap, .maxMember = 1u << 20, .maxRatio = 20};
    for (const ZipDocumentReader reader : {ReadDocx, ReadXlsx, ReadPptx, ReadOdf}) {
        ZipReader zip(limits);
        if (!zip.Open(bytes).ok()) return 0;
        TextSink sink(fuzz::kFuzzTextCap);
        const Extracted result = reader(zip, sink);
        if (!result.ok() && result.reason.empty()) fuzz::Broken("a failure says why");
        fuzz::CheckSink(sink);
    }
    return 0;
}
