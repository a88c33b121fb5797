// libFuzzer target: any bytes parsed as an XML part and walked by the Office Open XML and the
// OpenDocument rules; deep nesting must not exhaust the stack.
#include <cstdint>
#include <string>

#include "extract/xml_text.h"
#include "tests/fuzz/extract_fuzz_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace kantoria;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    pugi::xml_document doc;
    if (!ParseXml(bytes, "part", doc).ok()) return 0;
    for (const XmlTextRules* rules : {&kOoxmlRules, &kOdfRules}) {
        TextSink sink(fuzz::kFuzzTextCap);
        WalkXmlText(doc, *rules, sink);
        fuzz::CheckSink(sink);
    }
    return 0;
}
