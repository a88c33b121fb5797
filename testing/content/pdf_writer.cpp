#include "testing/content/pdf_writer.h"

#include <cstdio>
#include <map>
#include <string_view>

namespace kantoria::test {
namespace {

constexpr size_t kLinesPerPage = 50;
constexpr size_t kGlyphsPerLine = 150;

std::vector<char32_t> CodePoints(std::string_view utf8) {
    std::vector<char32_t> out;
    for (size_t i = 0; i < utf8.size();) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        const size_t n = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
        char32_t c = n == 1 ? b : static_cast<char32_t>(b & (0x7F >> n));
        for (size_t k = 1; k < n && i + k < utf8.size(); ++k)
            c = (c << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        out.push_back(c);
        i += n;
    }
    return out;
}

std::string Hex4(unsigned value) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%04X", value & 0xFFFF);
    return buf;
}

std::string Utf16Hex(char32_t c) {
    if (c < 0x10000) return Hex4(static_cast<unsigned>(c));
    const char32_t v = c - 0x10000;
    return Hex4(0xD800 + static_cast<unsigned>(v >> 10)) +
           Hex4(0xDC00 + static_cast<unsigned>(v & 0x3FF));
}

std::string ToUnicodeMap(const std::map<char32_t, unsigned>& cids) {
    std::string map =
        "/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n"
        "/CIDSystemInfo << /Registry (Adobe) /Ordering (UCS) /Supplement 0 >> def\n"
        "/CMapName /Adobe-Identity-UCS def\n/CMapType 2 def\n"
        "1 begincodespacerange\n<0000> <FFFF>\nendcodespacerange\n";
    std::vector<std::pair<char32_t, unsigned>> all(cids.begin(), cids.end());
    for (size_t at = 0; at < all.size(); at += 100) {
        const size_t n = std::min<size_t>(100, all.size() - at);
        map += std::to_string(n) + " beginbfchar\n";
        for (size_t k = at; k < at + n; ++k)
            map += "<" + Hex4(all[k].second) + "> <" + Utf16Hex(all[k].first) + ">\n";
        map += "endbfchar\n";
    }
    return map + "endcmap\nCMapName currentdict /CMap defineresource pop\nend\nend\n";
}

std::string Stream(const std::string& data) {
    return "<< /Length " + std::to_string(data.size()) + " >>\nstream\n" + data + "\nendstream";
}

// The lines of the paragraphs as glyph ids, long paragraphs broken into lines.
std::vector<std::string> HexLines(const std::vector<std::string>& paragraphs,
                                  std::map<char32_t, unsigned>& cids) {
    std::vector<std::string> lines;
    for (const std::string& p : paragraphs) {
        const std::vector<char32_t> chars = CodePoints(p);
        for (size_t at = 0; at == 0 || at < chars.size(); at += kGlyphsPerLine) {
            std::string hex;
            for (size_t k = at; k < std::min(chars.size(), at + kGlyphsPerLine); ++k) {
                auto [it, added] = cids.emplace(chars[k], static_cast<unsigned>(cids.size() + 1));
                hex += Hex4(it->second);
            }
            lines.push_back(hex);
        }
    }
    return lines;
}

}  // namespace

std::string PdfBytes(const std::vector<std::string>& paragraphs) {
    std::map<char32_t, unsigned> cids;
    const std::vector<std::string> lines = HexLines(paragraphs, cids);
    const size_t pages = std::max<size_t>(1, (lines.size() + kLinesPerPage - 1) / kLinesPerPage);
    // 1 catalogue, 2 pages, 3 font, 4 CID font, 5 descriptor, 6 ToUnicode, then page and
    // content pairs.
    std::vector<std::string> objects(6 + 2 * pages);
    std::string kids;
    for (size_t p = 0; p < pages; ++p) {
        const size_t page = 7 + 2 * p;
        kids += std::to_string(page) + " 0 R ";
        objects[page - 1] =
            "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] /Resources "
            "<< /Font << /F1 3 0 R >> >> /Contents " +
            std::to_string(page + 1) + " 0 R >>";
        std::string content = "BT /F1 6 Tf 20 800 Td 14 TL\n";
        for (size_t l = p * kLinesPerPage; l < std::min(lines.size(), (p + 1) * kLinesPerPage); ++l)
            content += "<" + lines[l] + "> Tj T*\n";
        objects[page] = Stream(content + "ET");
    }
    objects[0] = "<< /Type /Catalog /Pages 2 0 R >>";
    objects[1] = "<< /Type /Pages /Kids [" + kids + "] /Count " + std::to_string(pages) + " >>";
    objects[2] =
        "<< /Type /Font /Subtype /Type0 /BaseFont /KantoriaSans /Encoding /Identity-H "
        "/DescendantFonts [4 0 R] /ToUnicode 6 0 R >>";
    objects[3] =
        "<< /Type /Font /Subtype /CIDFontType2 /BaseFont /KantoriaSans /CIDSystemInfo "
        "<< /Registry (Adobe) /Ordering (Identity) /Supplement 0 >> /FontDescriptor "
        "5 0 R /DW 500 >>";
    objects[4] =
        "<< /Type /FontDescriptor /FontName /KantoriaSans /Flags 4 /FontBBox "
        "[0 -120 1000 880] /ItalicAngle 0 /Ascent 880 /Descent -120 /CapHeight 700 "
        "/StemV 80 >>";
    objects[5] = Stream(ToUnicodeMap(cids));
    std::string pdf = "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n";
    std::vector<size_t> offsets;
    for (size_t i = 0; i < objects.size(); ++i) {
        offsets.push_back(pdf.size());
        pdf += std::to_string(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const size_t xref = pdf.size();
    pdf += "xref\n0 " + std::to_string(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (const size_t offset : offsets) {
        char entry[24];
        std::snprintf(entry, sizeof entry, "%010zu 00000 n \n", offset);
        pdf += entry;
    }
    return pdf + "trailer\n<< /Size " + std::to_string(objects.size() + 1) +
           " /Root 1 0 R >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
}

}  // namespace kantoria::test
