#include "testing/content/make_document.h"

#include <iconv.h>
#include <zip.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>

#include "core/text/text_codec.h"
#include "testing/content/pdf_writer.h"

namespace kantoria::test {
namespace {

struct FormatInfo {
    DocFormat format;
    std::string_view name;
    std::string_view extension;
};

constexpr FormatInfo kFormats[] = {
    {DocFormat::Docx, "docx", ".docx"},
    {DocFormat::Xlsx, "xlsx", ".xlsx"},
    {DocFormat::Pptx, "pptx", ".pptx"},
    {DocFormat::Odt, "odt", ".odt"},
    {DocFormat::Ods, "ods", ".ods"},
    {DocFormat::Odp, "odp", ".odp"},
    {DocFormat::Html, "html", ".html"},
    {DocFormat::TextUtf8, "utf8", ".txt"},
    {DocFormat::TextUtf8Bom, "utf8bom", ".txt"},
    {DocFormat::TextUtf16Le, "utf16le", ".txt"},
    {DocFormat::TextUtf16Be, "utf16be", ".txt"},
    {DocFormat::TextCp932, "cp932", ".txt"},
    {DocFormat::TextEucJp, "eucjp", ".txt"},
    {DocFormat::TextIso2022Jp, "iso2022jp", ".txt"},
    {DocFormat::Pdf, "pdf", ".pdf"},
};

const FormatInfo& InfoOf(DocFormat format) {
    for (const FormatInfo& info : kFormats)
        if (info.format == format) return info;
    std::abort();
}

std::string Escaped(std::string_view text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

// Each paragraph wrapped in open and close, escaped.
std::string EachWrapped(const std::vector<std::string>& paragraphs, std::string_view open,
                        std::string_view close) {
    std::string out;
    for (const std::string& p : paragraphs) out.append(open).append(Escaped(p)).append(close);
    return out;
}

constexpr std::string_view kXmlHead =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>";
constexpr std::string_view kRelsNs = "http://schemas.openxmlformats.org/package/2006/relationships";
constexpr std::string_view kOfficeRel =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships";

std::string Rels(const std::vector<std::pair<std::string, std::string>>& typeAndTarget) {
    std::string out =
        std::string(kXmlHead) + "<Relationships xmlns=\"" + std::string(kRelsNs) + "\">";
    int id = 1;
    for (const auto& [type, target] : typeAndTarget)
        out += "<Relationship Id=\"rId" + std::to_string(id++) + "\" Type=\"" +
               std::string(kOfficeRel) + "/" + type + "\" Target=\"" + target + "\"/>";
    return out + "</Relationships>";
}

std::string ContentTypes(std::string_view mainPart, std::string_view mainType) {
    return std::string(kXmlHead) +
           "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
           "<Default Extension=\"rels\" "
           "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
           "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
           "<Override PartName=\"/" +
           std::string(mainPart) + "\" ContentType=\"" + std::string(mainType) + "\"/></Types>";
}

std::string Docx(const std::vector<std::string>& paragraphs) {
    const std::string body =
        EachWrapped(paragraphs, "<w:p><w:r><w:t xml:space=\"preserve\">", "</w:t></w:r></w:p>");
    return ZipBytes({
        {"[Content_Types].xml",
         ContentTypes("word/document.xml",
                      "application/vnd.openxmlformats-officedocument.wordprocessingml.document."
                      "main+xml")},
        {"_rels/.rels", Rels({{"officeDocument", "word/document.xml"}})},
        {"word/document.xml",
         std::string(kXmlHead) +
             "<w:document xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/"
             "main\"><w:body>" +
             body + "</w:body></w:document>"},
    });
}

std::string Xlsx(const std::vector<std::string>& paragraphs) {
    std::string rows;
    for (size_t i = 0; i < paragraphs.size(); ++i)
        rows += "<row r=\"" + std::to_string(i + 1) + "\"><c r=\"A" + std::to_string(i + 1) +
                "\" t=\"s\"><v>" + std::to_string(i) + "</v></c></row>";
    const std::string ns = "xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"";
    return ZipBytes({
        {"[Content_Types].xml",
         ContentTypes(
             "xl/workbook.xml",
             "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml")},
        {"_rels/.rels", Rels({{"officeDocument", "xl/workbook.xml"}})},
        {"xl/workbook.xml", std::string(kXmlHead) + "<workbook " + ns + " xmlns:r=\"" +
                                std::string(kOfficeRel) +
                                "\"><sheets><sheet name=\"1\" sheetId=\"1\" r:id=\"rId1\"/>"
                                "</sheets></workbook>"},
        {"xl/_rels/workbook.xml.rels",
         Rels({{"worksheet", "worksheets/sheet1.xml"}, {"sharedStrings", "sharedStrings.xml"}})},
        {"xl/sharedStrings.xml", std::string(kXmlHead) + "<sst " + ns + ">" +
                                     EachWrapped(paragraphs, "<si><t>", "</t></si>") + "</sst>"},
        {"xl/worksheets/sheet1.xml", std::string(kXmlHead) + "<worksheet " + ns + "><sheetData>" +
                                         rows + "</sheetData></worksheet>"},
    });
}

std::string Slide(std::string_view paragraph) {
    return std::string(kXmlHead) +
           "<p:sld xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\" "
           "xmlns:p=\"http://schemas.openxmlformats.org/presentationml/2006/main\"><p:cSld>"
           "<p:spTree><p:sp><p:txBody><a:p><a:r><a:t>" +
           Escaped(paragraph) + "</a:t></a:r></a:p></p:txBody></p:sp></p:spTree></p:cSld></p:sld>";
}

// One slide a paragraph. The slides' file names run backwards from the presentation's order,
// so that a reader going by names instead of the slide list reads them out of order.
std::string Pptx(const std::vector<std::string>& paragraphs) {
    std::vector<std::pair<std::string, std::string>> members, rels;
    std::string list;
    const size_t n = paragraphs.size();
    for (size_t i = 0; i < n; ++i) {
        const std::string name = "slide" + std::to_string(n - i) + ".xml";
        members.emplace_back("ppt/slides/" + name, Slide(paragraphs[i]));
        rels.emplace_back("slide", "slides/" + name);
        list += "<p:sldId id=\"" + std::to_string(256 + i) + "\" r:id=\"rId" +
                std::to_string(i + 1) + "\"/>";
    }
    members.emplace_back(
        "[Content_Types].xml",
        ContentTypes("ppt/presentation.xml",
                     "application/vnd.openxmlformats-officedocument.presentationml.presentation."
                     "main+xml"));
    members.emplace_back("_rels/.rels", Rels({{"officeDocument", "ppt/presentation.xml"}}));
    members.emplace_back("ppt/_rels/presentation.xml.rels", Rels(rels));
    members.emplace_back(
        "ppt/presentation.xml",
        std::string(kXmlHead) +
            "<p:presentation xmlns:p=\"http://schemas.openxmlformats.org/presentationml/2006/"
            "main\" xmlns:r=\"" +
            std::string(kOfficeRel) + "\"><p:sldIdLst>" + list + "</p:sldIdLst></p:presentation>");
    return ZipBytes(members);
}

std::string Odf(std::string_view mime, std::string_view body) {
    const std::string content =
        std::string(kXmlHead) +
        "<office:document-content "
        "xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
        "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\" "
        "xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\" "
        "xmlns:draw=\"urn:oasis:names:tc:opendocument:xmlns:drawing:1.0\" "
        "xmlns:presentation=\"urn:oasis:names:tc:opendocument:xmlns:presentation:1.0\" "
        "office:version=\"1.2\"><office:body>" +
        std::string(body) + "</office:body></office:document-content>";
    const std::string manifest =
        std::string(kXmlHead) +
        "<manifest:manifest xmlns:manifest=\"urn:oasis:names:tc:opendocument:xmlns:manifest:1.0\">"
        "<manifest:file-entry manifest:full-path=\"/\" manifest:media-type=\"" +
        std::string(mime) +
        "\"/><manifest:file-entry manifest:full-path=\"content.xml\" "
        "manifest:media-type=\"text/xml\"/></manifest:manifest>";
    // The mimetype member comes first and stored, as the format asks.
    std::string zip = ZipBytes({{"mimetype", std::string(mime)},
                                {"content.xml", content},
                                {"META-INF/manifest.xml", manifest}});
    return zip;
}

std::string OdfDocument(DocFormat format, const std::vector<std::string>& paragraphs) {
    const std::string prefix = "application/vnd.oasis.opendocument.";
    switch (format) {
        case DocFormat::Odt:
            return Odf(prefix + "text", "<office:text>" +
                                            EachWrapped(paragraphs, "<text:p>", "</text:p>") +
                                            "</office:text>");
        case DocFormat::Ods:
            return Odf(prefix + "spreadsheet",
                       "<office:spreadsheet><table:table table:name=\"1\">" +
                           EachWrapped(paragraphs,
                                       "<table:table-row><table:table-cell "
                                       "office:value-type=\"string\"><text:p>",
                                       "</text:p></table:table-cell></table:table-row>") +
                           "</table:table></office:spreadsheet>");
        default:
            return Odf(prefix + "presentation",
                       "<office:presentation>" +
                           EachWrapped(paragraphs, "<draw:page><draw:frame><draw:text-box><text:p>",
                                       "</text:p></draw:text-box></draw:frame></draw:page>") +
                           "</office:presentation>");
    }
}

std::string Html(const std::vector<std::string>& paragraphs) {
    return "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>" +
           (paragraphs.empty() ? std::string() : Escaped(paragraphs.front())) +
           "</title><style>p { color: red }</style></head>\n<body>\n" +
           EachWrapped(std::vector<std::string>(paragraphs.begin() + (paragraphs.empty() ? 0 : 1),
                                                paragraphs.end()),
                       "<p>", "</p>\n") +
           "<script>var hidden = 1;</script></body></html>\n";
}

// The text in the named encoding through the C library; empty when some character has no code.
std::string Iconv(std::string_view text, const char* to) {
    const iconv_t cd = iconv_open(to, "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1)) return {};
    std::string in(text), out(text.size() * 4 + 16, '\0');
    char* inPtr = in.data();
    char* outPtr = out.data();
    size_t inLeft = in.size(), outLeft = out.size();
    const bool ok = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<size_t>(-1) &&
                    iconv(cd, nullptr, nullptr, &outPtr, &outLeft) != static_cast<size_t>(-1);
    iconv_close(cd);
    if (!ok) return {};
    out.resize(out.size() - outLeft);
    return out;
}

std::string PlainText(DocFormat format, const std::vector<std::string>& paragraphs) {
    std::string text;
    for (const std::string& p : paragraphs) text += p + "\r\n";
    std::string out;
    switch (format) {
        case DocFormat::TextUtf8:
            return text;
        case DocFormat::TextUtf8Bom:
            return std::string(kUtf8Bom) + text;
        case DocFormat::TextUtf16Le:
            return "\xFF\xFE" + Iconv(text, "UTF-16LE");
        case DocFormat::TextUtf16Be:
            return "\xFE\xFF" + Iconv(text, "UTF-16BE");
        case DocFormat::TextCp932:
            return EncodeCp932(text, out) ? out : std::string();
        case DocFormat::TextEucJp:
            return Iconv(text, "EUC-JP");
        default:
            return Iconv(text, "ISO-2022-JP");
    }
}

}  // namespace

std::string_view DocFormatName(DocFormat format) {
    return InfoOf(format).name;
}
std::string_view DocFormatExtension(DocFormat format) {
    return InfoOf(format).extension;
}

std::optional<DocFormat> DocFormatNamed(std::string_view name) {
    for (const FormatInfo& info : kFormats)
        if (info.name == name) return info.format;
    return std::nullopt;
}

std::vector<DocFormat> AllDocFormats() {
    std::vector<DocFormat> all;
    for (const FormatInfo& info : kFormats) all.push_back(info.format);
    return all;
}

std::string DocumentBytes(DocFormat format, const std::vector<std::string>& paragraphs) {
    switch (format) {
        case DocFormat::Docx:
            return Docx(paragraphs);
        case DocFormat::Xlsx:
            return Xlsx(paragraphs);
        case DocFormat::Pptx:
            return Pptx(paragraphs);
        case DocFormat::Odt:
        case DocFormat::Ods:
        case DocFormat::Odp:
            return OdfDocument(format, paragraphs);
        case DocFormat::Html:
            return Html(paragraphs);
        case DocFormat::Pdf:
            return PdfBytes(paragraphs);
        default:
            return PlainText(format, paragraphs);
    }
}

bool MakeDocument(const std::string& path, DocFormat format,
                  const std::vector<std::string>& paragraphs) {
    const std::string bytes = DocumentBytes(format, paragraphs);
    return !bytes.empty() && WriteBytes(path, bytes);
}

bool WriteBytes(const std::string& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out.flush());
}

std::string ZipBytes(const std::vector<std::pair<std::string, std::string>>& members, bool stored) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* buffer = zip_source_buffer_create(nullptr, 0, 0, &error);
    zip_t* archive = buffer ? zip_open_from_source(buffer, ZIP_TRUNCATE, &error) : nullptr;
    zip_error_fini(&error);
    if (!archive) {
        if (buffer) zip_source_free(buffer);
        return {};
    }
    zip_source_keep(buffer);
    bool ok = true;
    for (const auto& [name, content] : members) {
        void* copy = std::malloc(content.size() + 1);
        std::memcpy(copy, content.data(), content.size());
        zip_source_t* source = zip_source_buffer(archive, copy, content.size(), 1);
        const zip_int64_t index =
            source ? zip_file_add(archive, name.c_str(), source, ZIP_FL_ENC_UTF_8) : -1;
        if (index < 0) {
            if (source) zip_source_free(source);
            ok = false;
            continue;
        }
        const bool store = stored || name == "mimetype";
        zip_set_file_compression(archive, static_cast<zip_uint64_t>(index),
                                 store ? ZIP_CM_STORE : ZIP_CM_DEFLATE, 9);
    }
    std::string out;
    if (zip_close(archive) != 0) {
        zip_discard(archive);
        ok = false;
    }
    if (ok && zip_source_open(buffer) == 0) {
        zip_source_seek(buffer, 0, SEEK_END);
        out.resize(static_cast<size_t>(zip_source_tell(buffer)));
        zip_source_seek(buffer, 0, SEEK_SET);
        if (zip_source_read(buffer, out.data(), out.size()) != static_cast<zip_int64_t>(out.size()))
            out.clear();
        zip_source_close(buffer);
    }
    zip_source_free(buffer);
    return out;
}

}  // namespace kantoria::test
