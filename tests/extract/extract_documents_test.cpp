// Every format read from documents the tests make, the parts of office packages that hold
// text, and the caps that keep a hostile archive from exhausting the extraction.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "extract/extract.h"
#include "extract/zip_reader.h"
#include "testing/content/make_document.h"

namespace kantoria {
namespace {

using test::DocFormat;
using Members = std::vector<std::pair<std::string, std::string>>;

const std::vector<std::string> kParagraphs = {"識別マーカー０００１番", "second paragraph",
                                              "第三の段落カタカナ"};

// Whether each expected piece occurs in text, in the order given.
::testing::AssertionResult InOrder(const std::string& text,
                                   const std::vector<std::string>& expected) {
    size_t at = 0;
    for (const std::string& piece : expected) {
        const size_t found = text.find(piece, at);
        if (found == std::string::npos)
            return ::testing::AssertionFailure() << "\"" << piece << "\" not in order in\n" << text;
        at = found + piece.size();
    }
    return ::testing::AssertionSuccess();
}

Extracted Extract(const std::string& name, const std::string& bytes, std::string& text,
                  const ExtractLimits& limits = {}) {
    TextSink sink(limits.maxText);
    Extracted result = ExtractBytes(name, bytes, limits, sink);
    text = sink.Text();
    return result;
}

TEST(ExtractDocuments, EveryFormatGivesItsParagraphsInOrder) {
    for (const DocFormat format : test::AllDocFormats()) {
        SCOPED_TRACE(std::string(test::DocFormatName(format)));
        const std::string bytes = test::DocumentBytes(format, kParagraphs);
        ASSERT_FALSE(bytes.empty());
        std::string text;
        const Extracted result =
            Extract("doc" + std::string(test::DocFormatExtension(format)), bytes, text);
        ASSERT_TRUE(result.ok()) << result.reason;
        EXPECT_TRUE(InOrder(text, kParagraphs));
    }
}

std::string Xml(const std::string& root, const std::string& ns, const std::string& body) {
    return "<?xml version=\"1.0\"?><" + root + " " + ns + ">" + body + "</" +
           root.substr(0, root.find(' ')) + ">";
}

std::string Rels(const std::vector<std::array<std::string, 3>>& idTypeTarget) {
    std::string body;
    for (const auto& [id, type, target] : idTypeTarget)
        body += "<Relationship Id=\"" + id + "\" Type=\"http://x/relationships/" + type +
                "\" Target=\"" + target + "\"/>";
    return Xml("Relationships",
               "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\"", body);
}

const std::string kW = "xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\"";
const std::string kP = "xmlns:p=\"p\" xmlns:a=\"a\" xmlns:r=\"r\"";

std::string WordPart(const std::string& root, const std::string& text) {
    return Xml("w:" + root, kW, "<w:p><w:r><w:t>" + text + "</w:t></w:r></w:p>");
}

struct PackageCase {
    const char* what;
    const char* name;
    Members members;
    std::vector<std::string> expected;
    std::vector<std::string> absent;
};

const std::vector<PackageCase> kPackageCases = {
    {"a Word body with a table, header, footer, footnotes and endnotes",
     "a.docx",
     {{"_rels/.rels", Rels({{"r1", "officeDocument", "word/document.xml"}})},
      {"word/document.xml",
       Xml("w:document", kW,
           "<w:body><w:p><w:r><w:t>本文</w:t><w:tab/><w:t>続き</w:t></w:r></w:p><w:tbl><w:tr>"
           "<w:tc><w:p><w:r><w:t>表の升</w:t></w:r></w:p></w:tc></w:tr></w:tbl>"
           "<w:p><w:del><w:r><w:delText>消した字</w:delText></w:r></w:del></w:p></w:body>")},
      {"word/_rels/document.xml.rels", Rels({{"r1", "footer", "footer1.xml"},
                                             {"r2", "header", "header1.xml"},
                                             {"r3", "footnotes", "footnotes.xml"},
                                             {"r4", "endnotes", "/word/endnotes.xml"}})},
      {"word/header1.xml", WordPart("hdr", "ヘッダー")},
      {"word/footer1.xml", WordPart("ftr", "フッター")},
      {"word/footnotes.xml", WordPart("footnotes", "脚注")},
      {"word/endnotes.xml", WordPart("endnotes", "文末脚注")}},
     {"本文\t続き\n表の升", "ヘッダー", "フッター", "脚注", "文末脚注"},
     {"消した字"}},
    {"a workbook's sheets in its own order, shared, rich, inline and number cells",
     "b.xlsx",
     {{"xl/workbook.xml", Xml("workbook", "xmlns:r=\"r\"",
                              "<sheets><sheet r:id=\"s2\"/><sheet r:id=\"s1\"/></sheets>")},
      {"xl/_rels/workbook.xml.rels", Rels({{"s1", "worksheet", "worksheets/sheet1.xml"},
                                           {"s2", "worksheet", "worksheets/sheet2.xml"},
                                           {"ss", "sharedStrings", "strings.xml"}})},
      {"xl/strings.xml", Xml("sst", "",
                             "<si><t>共有</t></si><si><r><t>リッチ</t></r><r><t>文字</t></r>"
                             "<rPh><t>よみがな</t></rPh></si>")},
      {"xl/worksheets/sheet1.xml", Xml("worksheet", "",
                                       "<sheetData><row><c t=\"s\"><v>1</v></c><c "
                                       "t=\"s\"><v>99</v></c></row></sheetData>")},
      {"xl/worksheets/sheet2.xml",
       Xml("worksheet", "",
           "<sheetData><row><c t=\"inlineStr\"><is><t>インライン</t></is></c><c><v>42</v></c>"
           "<c t=\"s\"><v>0</v></c></row></sheetData>")}},
     {"インライン\t42\t共有\n", "リッチ文字"},
     {"よみがな"}},
    {"slides by the presentation's list, each with its notes",
     "c.pptx",
     {{"ppt/presentation.xml",
       Xml("p:presentation", kP,
           "<p:sldIdLst><p:sldId id=\"1\" r:id=\"b\"/><p:sldId id=\"2\" r:id=\"a\"/>"
           "</p:sldIdLst>")},
      {"ppt/_rels/presentation.xml.rels",
       Rels({{"a", "slide", "slides/slide1.xml"}, {"b", "slide", "slides/slide2.xml"}})},
      {"ppt/slides/slide1.xml", Xml("p:sld", kP, "<a:p><a:r><a:t>二枚目</a:t></a:r></a:p>")},
      {"ppt/slides/slide2.xml", Xml("p:sld", kP, "<a:p><a:r><a:t>一枚目</a:t></a:r></a:p>")},
      {"ppt/slides/_rels/slide2.xml.rels",
       Rels({{"n", "notesSlide", "../notesSlides/notesSlide1.xml"}})},
      {"ppt/notesSlides/notesSlide1.xml",
       Xml("p:notes", kP, "<a:p><a:r><a:t>発表者メモ</a:t></a:r></a:p>")}},
     {"一枚目", "発表者メモ", "二枚目"},
     {}},
    {"OpenDocument spans, spaces, breaks, and meta.xml",
     "d.odt",
     {{"content.xml",
       Xml("office:document-content", "xmlns:office=\"o\" xmlns:text=\"t\"",
           "<office:body><office:text><text:h>見出し</text:h><text:p>前<text:span>半</"
           "text:span>"
           "<text:s text:c=\"2\"/>後<text:line-break/>次の行</text:p></office:text>"
           "</office:body>")},
      {"meta.xml", Xml("office:document-meta", "xmlns:office=\"o\" xmlns:dc=\"dc\"",
                       "<office:meta><dc:title>表題</dc:title></office:meta>")}},
     {"見出し\n前半  後\n次の行\n", "表題"},
     {}},
};

TEST(ExtractDocuments, OfficePackagesGiveEveryPartThatHoldsText) {
    for (const PackageCase& c : kPackageCases) {
        SCOPED_TRACE(c.what);
        std::string text;
        const Extracted result = Extract(c.name, test::ZipBytes(c.members), text);
        ASSERT_TRUE(result.ok()) << result.reason;
        EXPECT_TRUE(InOrder(text, c.expected));
        for (const std::string& absent : c.absent) EXPECT_EQ(text.find(absent), std::string::npos);
    }
}

// A ZIP whose headers claim a member of 1000 bytes, whatever it really holds.
std::string UnderstatedZip(const std::string& name, const std::string& content) {
    std::string zip = test::ZipBytes({{name, content}});
    const char claimed[4] = {static_cast<char>(0xE8), 3, 0, 0};
    for (const auto& [signature, offset] :
         {std::pair<std::string_view, size_t>{"PK\x03\x04", 22}, {"PK\x01\x02", 24}})
        for (size_t at = zip.find(signature); at != std::string::npos;
             at = zip.find(signature, at + 1))
            std::memcpy(zip.data() + at + offset, claimed, 4);
    return zip;
}

TEST(ExtractDocuments, ZipCapsHoldWhileInflating) {
    const std::string body(3u << 20, 'a');
    const std::string bomb(16u << 20, '\0');
    struct Case {
        const char* what;
        std::string zip;
        ExtractLimits limits;
        std::string reason;
    } cases[] = {
        {"a member past the size cap",
         test::ZipBytes({{"word/document.xml", body}}),
         {.maxMember = 1u << 20},
         "zip member too large"},
        {"a header understating the size",
         UnderstatedZip("word/document.xml", body),
         {.maxMember = 1u << 20},
         "zip member too large"},
        {"a ratio bomb under the size cap",
         test::ZipBytes({{"word/document.xml", bomb}}),
         {},
         "zip member compressed too far"},
        {"a bomb whose header understates it",
         UnderstatedZip("word/document.xml", bomb),
         {},
         "zip member compressed too far"},
        {"random bytes", std::string(4096, '\x5A'), {}, "not a ZIP archive"},
        {"a ZIP of no document", test::ZipBytes({{"x.txt", "x"}}), {}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string text;
        const Extracted result = Extract("bomb.docx", c.zip, text, c.limits);
        EXPECT_EQ(result.outcome, c.reason.empty() ? Outcome::Unsupported : Outcome::Failed);
        if (!c.reason.empty()) {
            EXPECT_EQ(result.reason, c.reason);
        }
    }
}

TEST(ExtractDocuments, TextCapCutsWhereACharacterEnds) {
    struct Case {
        size_t cap;
        std::string input;
        std::string kept;
        bool truncated;
    } cases[] = {
        {6, "日本語", "日本", true},
        {7, "日本語", "日本", true},
        {9, "日本語", "日本語", false},
        {2, "ab\xF0\x9F\x98\x80", "ab", true},
        {0, "a", "", true},
        {8, std::string("a\0b\xFF", 4), "a b\xEF\xBF\xBD", false},
    };
    for (const Case& c : cases) {
        TextSink sink(c.cap);
        sink.Add(c.input);
        EXPECT_EQ(sink.Text(), c.kept) << c.cap;
        EXPECT_EQ(sink.Truncated(), c.truncated) << c.cap;
    }
}

TEST(ExtractDocuments, TruncatedPdfFailsAndMisnamedFilesReadAsWhatTheyAre) {
    const std::string pdf = test::DocumentBytes(DocFormat::Pdf, kParagraphs);
    const std::string docx = test::DocumentBytes(DocFormat::Docx, kParagraphs);
    struct Case {
        const char* name;
        std::string bytes;
        Outcome outcome;
    } cases[] = {
        {"half.pdf", pdf.substr(0, pdf.size() / 2), Outcome::Failed},
        {"notpdf.pdf", "plain words", Outcome::Failed},
        {"renamed.doc", docx, Outcome::Ok},
        {"noextension", pdf, Outcome::Ok},
        {"unknown.xyz", "words", Outcome::Unsupported},
    };
    for (const Case& c : cases) {
        std::string text;
        EXPECT_EQ(Extract(c.name, c.bytes, text).outcome, c.outcome) << c.name;
        if (c.outcome == Outcome::Ok) {
            EXPECT_TRUE(InOrder(text, kParagraphs)) << c.name;
        }
    }
}

}  // namespace
}  // namespace kantoria
