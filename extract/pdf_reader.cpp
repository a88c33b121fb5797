#include "extract/pdf_reader.h"

#include <poppler-document.h>
#include <poppler-global.h>
#include <poppler-page.h>

#include <climits>
#include <memory>

namespace kantoria {
namespace {

// How far into a file its %PDF- header may stand (some writers put bytes before it).
constexpr size_t kHeaderScan = 1024;

// poppler reports every oddity it repairs on stderr; the program's stderr carries one line.
void Quiet(const std::string&, void*) {}

}  // namespace

Extracted ReadPdf(std::string_view bytes, TextSink& sink) {
    if (bytes.substr(0, kHeaderScan).find("%PDF-") == std::string_view::npos)
        return Extracted::Fail("not a PDF");
    if (bytes.size() > INT_MAX) return Extracted::Fail("PDF too large");
    poppler::set_debug_error_function(Quiet, nullptr);
    const std::unique_ptr<poppler::document> doc(
        poppler::document::load_from_raw_data(bytes.data(), static_cast<int>(bytes.size())));
    if (!doc) return Extracted::Fail("damaged PDF");
    if (doc->is_locked()) return Extracted::Fail("encrypted PDF");
    const int pages = doc->pages();
    if (pages <= 0) return Extracted::Fail("damaged PDF");
    for (int i = 0; i < pages && !sink.Full(); ++i) {
        const std::unique_ptr<poppler::page> page(doc->create_page(i));
        if (!page) continue;
        const poppler::byte_array utf8 = page->text().to_utf8();
        sink.Add(std::string_view(utf8.data(), utf8.size()));
        sink.EndLine();
    }
    return Extracted::Fine();
}

}  // namespace kantoria
