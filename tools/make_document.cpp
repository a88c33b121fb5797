// make_document FORMAT OUT TEXT...: writes a document of FORMAT (docx, xlsx, pptx, odt, ods,
// odp, html, utf8, utf8bom, utf16le, utf16be, cp932, eucjp, iso2022jp, pdf) holding each TEXT
// as a paragraph, for corpora made in shell scripts.
#include <cstdio>
#include <string>
#include <vector>

#include "testing/content/make_document.h"

int main(int argc, char** argv) {
    using namespace kantoria::test;
    const auto format = argc >= 3 ? DocFormatNamed(argv[1]) : std::nullopt;
    if (!format) {
        std::fprintf(stderr, "usage: make_document FORMAT OUT TEXT...\nformats:");
        for (const DocFormat f : AllDocFormats())
            std::fprintf(stderr, " %s", std::string(DocFormatName(f)).c_str());
        std::fprintf(stderr, "\n");
        return 2;
    }
    const std::vector<std::string> paragraphs(argv + 3, argv + argc);
    if (!MakeDocument(argv[2], *format, paragraphs)) {
        std::fprintf(stderr, "make_document: could not write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
