#include "core/catalogue/catalogue_csv.h"

#include <gtest/gtest.h>

#include "core/catalogue/csv_table.h"

namespace kantoria {
namespace {

using Rows = std::vector<std::vector<std::string>>;

Rows FieldsOf(const std::vector<CsvRecord>& records) {
    Rows rows;
    for (const CsvRecord& r : records) rows.push_back(r.fields);
    return rows;
}

// The reader on the forms spreadsheets and people actually write. Rows are counted as a
// spreadsheet shows them: a multi-line cell is one row, a blank line is a row.
TEST(CsvTable, ReadsTrickyRows) {
    struct Case {
        std::string text;
        Rows rows;
        std::vector<int> numbers;
        int unclosedRow = 0;  // the record whose quote is never closed, 0: none
    };
    const Case cases[] = {
        {"a,b\r\nc,d\r\n", {{"a", "b"}, {"c", "d"}}, {1, 2}},
        {"a,b\nc,d", {{"a", "b"}, {"c", "d"}}, {1, 2}},
        {"\"x,y\",\"say \"\"hi\"\"\"\r\n", {{"x,y", "say \"hi\""}}, {1}},
        {"\"one\r\ntwo\nthree\",z\r\nnext\r\n", {{"one\r\ntwo\nthree", "z"}, {"next"}}, {1, 2}},
        {"a\r\n\r\n\nb\r\n", {{"a"}, {"b"}}, {1, 4}},
        {"a,b,c\r\nd\r\ne,f,g,h\r\n", {{"a", "b", "c"}, {"d"}, {"e", "f", "g", "h"}}, {1, 2, 3}},
        {",,\r\n\"\"\r\n", {{"", "", ""}, {""}}, {1, 2}},
        {"\"open,to the end\r\n", {{"open,to the end\r\n"}}, {1}, 1},
        {"a\rb\r", {{"a"}, {"b"}}, {1, 2}},
        {"\"x\ny\"\n\nz,\"open\nrest,more\n", {{"x\ny"}, {"z", "open\nrest,more\n"}}, {1, 3}, 3},
    };
    for (const Case& c : cases) {
        const std::vector<CsvRecord> records = ParseCsv(c.text);
        EXPECT_EQ(FieldsOf(records), c.rows) << c.text;
        std::vector<int> numbers;
        int unclosedRow = 0;
        for (const CsvRecord& r : records) {
            numbers.push_back(r.row);
            if (r.unclosedQuote) unclosedRow = r.row;
        }
        EXPECT_EQ(numbers, c.numbers) << c.text;
        EXPECT_EQ(unclosedRow, c.unclosedRow) << c.text;
    }
}

TEST(CsvTable, WriterQuotesOnlyWhatNeedsItAndReadsBack) {
    const std::vector<std::string> fields = {"plain", "a,b", "say \"hi\"", "one\ntwo", "cr\r", ""};
    std::string out;
    AppendCsvRecord(out, fields);
    EXPECT_EQ(out, "plain,\"a,b\",\"say \"\"hi\"\"\",\"one\ntwo\",\"cr\r\",\r\n");
    EXPECT_EQ(FieldsOf(ParseCsv(out)), Rows{fields});
}

struct Row {
    std::string path, title, comment;
    bool operator==(const Row&) const = default;
};

void PrintTo(const Row& e, std::ostream* os) {
    *os << e.path << " | " << e.title << " | " << e.comment;
}

std::vector<Row> EntriesOf(const Catalogue& doc) {
    std::vector<Row> out;
    for (const kantoria::Entry& e : doc.Entries())
        out.push_back({std::string(e.Path()), std::string(e.Title()), std::string(e.Comment())});
    return out;
}

TEST(CatalogueCsv, ExportWritesBomHeaderHoldersGuardsAndUndecodableCount) {
    Catalogue doc;
    doc.Entries().Append("C:\\Docs\\a.txt", "=SUM(A1)", "line one\nline, two");
    doc.Entries().Append("c:\\docs\\b.txt", "'quoted", "-minus");
    std::string bad = "bad ";
    AppendEscape(bad, 0x81);
    doc.Entries().Append("C:\\x\\c.txt", bad, "@home");
    doc.RebuildHolders();
    const CsvExport exported = ExportCsv(doc);
    EXPECT_EQ(exported.bytes,
              "\xEF\xBB\xBF"
              "タイトル,コメント,Path,ホルダー\r\n"
              "'=SUM(A1),\"line one\nline, two\",C:\\Docs\\a.txt,C:\\Docs\\\r\n"
              "''quoted,'-minus,c:\\docs\\b.txt,C:\\Docs\\\r\n"
              "bad \xEF\xBF\xBD,'@home,C:\\x\\c.txt,C:\\x\\\r\n");
    EXPECT_EQ(exported.entriesWithUndecodable, 1);
}

TEST(CatalogueCsv, ExportThenImportGivesTheSameEntries) {
    Catalogue doc;
    doc.Entries().Append("C:\\a.txt", "=1+1", "two\nlines");
    doc.Entries().Append("C:\\b.txt", "'x", "+plus");
    doc.Entries().Append("C:\\日本\\c.txt", "日本語", "");
    doc.RebuildHolders();
    Catalogue copy;
    const CsvImport imported = ImportCsv(copy, ExportCsv(doc).bytes);
    EXPECT_TRUE(imported.headerFound);
    EXPECT_EQ(imported.added.size(), 3u);
    EXPECT_TRUE(imported.skipped.empty());
    EXPECT_EQ(EntriesOf(copy), EntriesOf(doc));
}

// Header names and encodings other programs write.
TEST(CatalogueCsv, ImportReadsHeadersAndEncodings) {
    struct Case {
        std::string bytes;
        std::vector<Row> entries;
    };
    const Case cases[] = {
        {"PATH,Extra,Title,COMMENT\r\nC:\\a.txt,x,A,note\r\n", {{"C:\\a.txt", "A", "note"}}},
        {"コメント,Path,タイトル\n\"c\r\nd\",C:\\b.txt,B\n", {{"C:\\b.txt", "B", "c\nd"}}},
        {"\xEF\xBB\xBFpath,title,comment\r\nC:\\日.txt,日本,\r\n", {{"C:\\日.txt", "日本", ""}}},
        // Code page 932: 日本 is 93FA 967B.
        {"path,title,comment\r\nC:\\a.txt,\x93\xFA\x96\x7B,\r\n", {{"C:\\a.txt", "日本", ""}}},
        {"path,title\r\nC:\\a.txt,A\r\n", {}},
    };
    for (const Case& c : cases) {
        Catalogue doc;
        const CsvImport imported = ImportCsv(doc, c.bytes);
        EXPECT_EQ(imported.headerFound, !c.entries.empty()) << c.bytes;
        EXPECT_EQ(EntriesOf(doc), c.entries) << c.bytes;
    }
}

TEST(CatalogueCsv, ImportNumbersTakenTitlesAndReportsSkippedRows) {
    Catalogue doc;
    doc.Entries().Append("C:\\old.txt", "Memo", "");
    doc.Entries().Append("C:\\old2.txt", "memo1", "");
    const CsvImport imported = ImportCsv(doc,
                                         "path,title,comment\r\n"
                                         "C:\\new.txt,Memo,\r\n"
                                         ",No path,\r\n"
                                         "c:\\OLD.TXT,Again,\r\n"
                                         "\"C:\\multi\r\nline.txt\",X,\r\n"
                                         "C:\\n2.txt,Memo,\r\n"
                                         "C:\\new.txt,Twice,\r\n"
                                         "C:\\dir\\file.doc,,\r\n"
                                         "C:\\late.txt,\"Open title,\r\n"
                                         "C:\\never.txt,Never,\r\n");
    EXPECT_EQ(EntriesOf(doc), (std::vector<Row>{{"C:\\old.txt", "Memo", ""},
                                                {"C:\\old2.txt", "memo1", ""},
                                                {"C:\\new.txt", "Memo2", ""},
                                                {"C:\\n2.txt", "Memo3", ""},
                                                {"C:\\dir\\file.doc", "file", ""}}));
    ASSERT_EQ(imported.added.size(), 3u);
    EXPECT_EQ(imported.added[0]->Title(), "Memo2");
    std::vector<std::tuple<int, std::string, CsvSkip>> skipped;
    for (const CsvSkippedRow& s : imported.skipped) skipped.emplace_back(s.row, s.path, s.reason);
    EXPECT_EQ(skipped, (std::vector<std::tuple<int, std::string, CsvSkip>>{
                           {3, "", CsvSkip::NoPath},
                           {4, "c:\\OLD.TXT", CsvSkip::Registered},
                           {5, "C:\\multi\r\nline.txt", CsvSkip::NotStorable},
                           {7, "C:\\new.txt", CsvSkip::Registered},
                           {9, "C:\\late.txt", CsvSkip::UnclosedQuote}}));
}

}  // namespace
}  // namespace kantoria
