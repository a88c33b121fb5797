#include "extract/extract.h"

#include <array>

#include "extract/charset.h"
#include "extract/document_file.h"
#include "extract/html_text.h"
#include "extract/legacy_reader.h"
#include "extract/office_readers.h"
#include "extract/pdf_reader.h"
#include "extract/zip_reader.h"

namespace kantoria {
namespace {

// Containers and PDF are read whole; beyond this a file is refused rather than read.
constexpr std::uint64_t kLargestWhole = std::uint64_t{256} << 20;

struct KindOfExtension {
    std::string_view extension;
    DocKind kind;
};

constexpr std::array kExtensions = {
    KindOfExtension{"pdf", DocKind::Pdf},    KindOfExtension{"docx", DocKind::Zip},
    KindOfExtension{"docm", DocKind::Zip},   KindOfExtension{"dotx", DocKind::Zip},
    KindOfExtension{"xlsx", DocKind::Zip},   KindOfExtension{"xlsm", DocKind::Zip},
    KindOfExtension{"pptx", DocKind::Zip},   KindOfExtension{"pptm", DocKind::Zip},
    KindOfExtension{"ppsx", DocKind::Zip},   KindOfExtension{"odt", DocKind::Zip},
    KindOfExtension{"ods", DocKind::Zip},    KindOfExtension{"odp", DocKind::Zip},
    KindOfExtension{"ott", DocKind::Zip},    KindOfExtension{"htm", DocKind::Html},
    KindOfExtension{"html", DocKind::Html},  KindOfExtension{"xhtml", DocKind::Html},
    KindOfExtension{"txt", DocKind::Text},   KindOfExtension{"text", DocKind::Text},
    KindOfExtension{"md", DocKind::Text},    KindOfExtension{"markdown", DocKind::Text},
    KindOfExtension{"csv", DocKind::Text},   KindOfExtension{"tsv", DocKind::Text},
    KindOfExtension{"log", DocKind::Text},   KindOfExtension{"doc", DocKind::Legacy},
    KindOfExtension{"xls", DocKind::Legacy}, KindOfExtension{"ppt", DocKind::Legacy},
    KindOfExtension{"rtf", DocKind::Legacy},
};

// What the first bytes say, for files whose name says nothing or promises a legacy format
// (a .doc that is really a renamed .docx, say).
DocKind Sniff(std::string_view bytes) {
    if (bytes.starts_with("PK\x03\x04")) return DocKind::Zip;
    if (bytes.starts_with("%PDF-")) return DocKind::Pdf;
    return DocKind::Unknown;
}

DocKind KindToRead(std::string_view name, std::string_view head) {
    const DocKind named = KindOfName(name);
    if (named != DocKind::Unknown && named != DocKind::Legacy) return named;
    const DocKind sniffed = Sniff(head);
    return sniffed != DocKind::Unknown ? sniffed : named;
}

Extracted ReadZip(std::string_view bytes, const ExtractLimits& limits, TextSink& sink) {
    // Encrypted Office files are compound files wrapping the encrypted package.
    if (bytes.starts_with("\xD0\xCF\x11\xE0")) return Extracted::Fail("encrypted document");
    ZipReader zip(limits);
    Extracted opened = zip.Open(bytes);
    if (!opened.ok()) return opened;
    const ZipDocumentReader reader = ReaderForArchive(zip);
    if (!reader) return Extracted::Unsupported("ZIP archive of no known document format");
    return reader(zip, sink);
}

// How many bytes of a file of kind are read; beyond them the text would pass the cap anyway.
std::uint64_t ReadLimit(DocKind kind, const ExtractLimits& limits) {
    switch (kind) {
        // Every encoding read gives at least one byte of UTF-8 for two bytes of input.
        case DocKind::Text:
            return limits.maxText * 2 + 4;
        case DocKind::Html:
            return limits.maxText * 16 + 4096;
        case DocKind::Legacy:
        case DocKind::Unknown:
            return 8;
        default:
            return kLargestWhole;
    }
}

}  // namespace

std::string LowerExtension(std::string_view name) {
    const size_t slash = name.rfind('/');
    const size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash))
        return {};
    std::string extension(name.substr(dot + 1));
    for (char& c : extension)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return extension;
}

DocKind KindOfName(std::string_view name) {
    const std::string extension = LowerExtension(name);
    for (const KindOfExtension& known : kExtensions)
        if (known.extension == extension) return known.kind;
    return DocKind::Unknown;
}

Extracted ExtractBytes(std::string_view name, std::string_view bytes, const ExtractLimits& limits,
                       TextSink& sink, int fd) {
    switch (KindToRead(name, bytes)) {
        case DocKind::Pdf:
            return ReadPdf(bytes, sink);
        case DocKind::Zip:
            return ReadZip(bytes, limits, sink);
        case DocKind::Html:
            HtmlText(DecodeHtml(bytes), sink);
            return Extracted::Fine();
        case DocKind::Text:
            sink.Add(DecodeText(bytes));
            return Extracted::Fine();
        case DocKind::Legacy:
            if (fd < 0) return Extracted::Unsupported("legacy format read from memory");
            // Word saves RTF under .doc when asked to; its converter would refuse it.
            return ReadLegacy(bytes.starts_with("{\\rtf") ? "rtf" : LowerExtension(name), fd, sink);
        default:
            return Extracted::Unsupported("unknown format");
    }
}

Extracted ExtractFile(const std::string& path, const ExtractLimits& limits, TextSink& sink) {
    DocumentFile file;
    Extracted result = file.Open(path);
    if (!result.ok()) return result;
    std::string head;
    bool cut = false;
    result = file.Read(8, head, cut);
    const DocKind kind = KindToRead(path, head);
    const std::uint64_t limit = ReadLimit(kind, limits);
    if (result.ok() && limit == kLargestWhole && file.Size() > limit)
        result = Extracted::Fail("file too large");
    std::string bytes;
    if (result.ok()) result = file.Read(limit, bytes, cut);
    // A document whose name promised something else is read for what its bytes are.
    const std::string_view name = kind == KindOfName(path) ? std::string_view(path) : "";
    if (result.ok()) result = ExtractBytes(name, bytes, limits, sink, file.fd());
    const Extracted unchanged = file.CheckUnchanged();
    return unchanged.ok() ? result : unchanged;
}

}  // namespace kantoria
