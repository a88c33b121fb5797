#include "core/catalogue/catalogue_format.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#endif

#include <cerrno>
#include <cstring>
#include <random>
#include <vector>

#include "core/app/document_session.h"
#include "core/app/encoding_notice.h"
#include "core/catalogue/catalogue.h"
#include "core/resources/string_table.h"
#include "testing/core/test_files.h"

namespace kantoria {
namespace {

using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;

struct Row {
    std::string path, title, comment;
    bool operator==(const Row&) const = default;
};

std::vector<Row> Entries(const Catalogue& doc) {
    std::vector<Row> out;
    for (const kantoria::Entry& e : doc.Entries())
        out.push_back({std::string(e.Path()), std::string(e.Title()), std::string(e.Comment())});
    return out;
}

void PrintTo(const Row& e, std::ostream* os) {
    *os << "{" << e.path << " | " << e.title << " | " << e.comment << "}";
}

TEST(CatalogueFile, WorkedExampleIsWrittenByteForByte) {
    TempFolder dir;
    Catalogue doc;
    doc.SetSelectedTitle("Budget 2004");
    doc.SetLastHolder("Docs\\Reports");
    doc.Entries().Append("C:\\Docs\\Reports\\budget.xls", "Budget 2004",
                         "Prices from March\r\nask the office");
    doc.Entries().Append("C:\\Docs\\letter.doc", "Letter", "");
    ASSERT_TRUE(doc.SaveCatalogue(dir / "MORKA.ZNL"));
    const std::string expected =
        "SELECTED=Budget 2004\r\n"
        "LASTHOLDER=Docs\\Reports\r\n"
        "TITLEWIDTH=200\r\n"
        "COMMENTWIDTH=400\r\n"
        "PATHWIDTH=250\r\n"
        "C:\\Docs\\Reports\\budget.xls\tBudget 2004\tPrices from March\r\task the office\r\n"
        "C:\\Docs\\letter.doc\tLetter\t\r\n";
    const std::string written = ReadBytes(dir / "MORKA.ZNL");
    EXPECT_EQ(written.size(), expected.size());
    EXPECT_EQ(written, expected);

    Catalogue back;
    ASSERT_TRUE(back.LoadCatalogue(dir / "MORKA.ZNL"));
    EXPECT_EQ(Entries(back), Entries(doc));
    EXPECT_EQ(back.SelectedTitle(), "Budget 2004");
    EXPECT_EQ(back.LastHolder(), "Docs\\Reports");
    EXPECT_EQ(back.FileEncoding(), Encoding::Cp932);
}

struct ReaderCase {
    const char* name;
    std::string bytes;
    std::vector<Row> entries;
    std::string selected = "before";
    int titleWidth = 1;
};
void PrintTo(const ReaderCase& c, std::ostream* os) {
    *os << c.name;
}

class ReaderTable : public ::testing::TestWithParam<ReaderCase> {};

TEST_P(ReaderTable, Reads) {
    const ReaderCase& c = GetParam();
    TempFolder dir;
    WriteBytes(dir / "in.ZNL", c.bytes);
    Catalogue doc;
    doc.SetSelectedTitle("before");
    doc.SetTitleWidth(1);
    doc.Entries().Append("old", "old", "old");
    ASSERT_TRUE(doc.LoadCatalogue(dir / "in.ZNL"));
    EXPECT_EQ(Entries(doc), c.entries);
    EXPECT_EQ(doc.SelectedTitle(), c.selected);
    EXPECT_EQ(doc.TitleWidth(), c.titleWidth);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReaderTable,
    ::testing::Values(
        ReaderCase{"AnyCharacterAfterTheKey", "SELECTED:abc\n", {}, "abc"},
        ReaderCase{"KeyAlone", "SELECTED", {}, ""},
        ReaderCase{"KeysAreCaseSensitive",
                   "selected=abc\n",
                   {{"selected=abc", "selected=abc", "selected=abc"}}},
        ReaderCase{"NoTab", "just text\n", {{"just text", "just text", "just text"}}},
        ReaderCase{"OneTab", "p\tt\n", {{"p", "t", "t"}}},
        ReaderCase{"EmptyLine", "\n", {{"", "", ""}}},
        ReaderCase{"WidthNotANumber", "TITLEWIDTH=abc\n", {}, "before", 0},
        ReaderCase{"WidthWithBlanksAndUnit", "TITLEWIDTH= 150px\n", {}, "before", 150},
        ReaderCase{"LastHeaderWins",
                   "TITLEWIDTH=5\np\tt\tc\nTITLEWIDTH=7\r\n",
                   {{"p", "t", "c"}},
                   "before",
                   7},
        ReaderCase{"OnlyEntriesKeepHeader", "p\tt\tc\n", {{"p", "t", "c"}}},
        ReaderCase{"EmptyFile", "", {}},
        ReaderCase{"LastLineWithoutEnd", "a\tb\tc\nd\te\tf", {{"a", "b", "c"}, {"d", "e", "f"}}},
        ReaderCase{"TabsInCommentAreLineBreaks", "p\tt\tx\ty\r\tz\r\n", {{"p", "t", "x\ny\r\nz"}}},
        ReaderCase{"OnlyTheCrBeforeLfGoes", "p\rq\tt\r\tc\r\r\n", {{"p\rq", "t\r", "c\r"}}},
        ReaderCase{"CrAtTheVeryEndStays", "p\tt\tc\r", {{"p", "t", "c\r"}}},
        ReaderCase{"ValueCanBeMultiByte", "SELECTED=表ソ\n", {}, "表ソ"},
        ReaderCase{
            "Cp932", "C:\\\x95\x5C\\a.txt\t\x95\x5C\t\x83\x5C\n", {{"C:\\表\\a.txt", "表", "ソ"}}},
        ReaderCase{
            "Utf8WithBom", "\xEF\xBB\xBFSELECTED=日本\np\t題\tc\n", {{"p", "題", "c"}}, "日本"},
        ReaderCase{"Utf8WithoutBom", "/home/ü/a\tä\t\n", {{"/home/ü/a", "ä", ""}}},
        ReaderCase{"NulBytesAreKept",
                   std::string("a\0b\tt\tc\n", 8),
                   {{std::string("a\0b", 3), "t", "c"}}}),
    [](const auto& test) { return std::string(test.param.name); });

TEST(CatalogueFile, VeryLongLinesAreReadAndWrittenWhole) {
    TempFolder dir;
    Catalogue doc;
    const std::string comment(3'000'000, 'x');
    doc.Entries().Append("C:\\" + std::string(5000, 'p') + ".txt", std::string(2000, 't'), comment);
    ASSERT_TRUE(doc.SaveCatalogue(dir / "long.ZNL"));
    Catalogue back;
    ASSERT_TRUE(back.LoadCatalogue(dir / "long.ZNL"));
    EXPECT_EQ(Entries(back), Entries(doc));
}

TEST(CatalogueFile, UnreadableFileLeavesAnEmptyCatalogueAndSaysWhy) {
    TempFolder dir;
    Catalogue doc;
    doc.Entries().Append("p", "t", "c");
    doc.SetSelectedTitle("kept");
    const Status missing = doc.LoadCatalogue(dir / "missing.ZNL");
    EXPECT_FALSE(missing);
#ifdef _WIN32
    EXPECT_EQ(missing.code(), StatusCode::NotFound) << missing.reason();
#else
    EXPECT_NE(missing.reason().find(std::strerror(ENOENT)), std::string::npos) << missing.reason();
#endif
    EXPECT_TRUE(doc.Entries().empty());
    EXPECT_EQ(doc.SelectedTitle(), "kept");
    EXPECT_FALSE(doc.LoadCatalogue(dir.path().string()));  // a folder
}

// Pipes, sockets and devices as POSIX has them.
#ifndef _WIN32
// Loads path and checks it as the window would, in a child process with an alarm so that a
// reader waiting on a pipe fails instead of hanging; exits 0 when both were refused with code
// and the user was told reason.
[[noreturn]] void RefusedAtOnce(const std::string& path, StatusCode code, int reason) {
    ::alarm(10);
    Catalogue doc;
    const Status loaded = doc.LoadCatalogue(path);
    const Status checked = CheckReadable(path);
    std::_Exit(loaded.code() == code && checked.code() == code &&
                       UserReason(loaded) == LoadString(reason) && !loaded.reason().empty()
                   ? 0
                   : 1);
}

TEST(CatalogueFile, WhatIsNoRegularFileIsRefusedAtOnce) {
    TempFolder dir;
    ASSERT_EQ(::mkfifo((dir / "fifo.ZNL").c_str(), 0600), 0);
    const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, (dir / "sock.ZNL").c_str(), sizeof address.sun_path - 1);
    ASSERT_EQ(::bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    const struct {
        std::string path;
        StatusCode code;
        int reason;
    } cases[] = {
        {"/dev/zero", StatusCode::SpecialFile, IDS_REASON_NOT_A_FILE},
        {dir / "fifo.ZNL", StatusCode::SpecialFile, IDS_REASON_NOT_A_FILE},
        {dir / "sock.ZNL", StatusCode::SpecialFile, IDS_REASON_NOT_A_FILE},
        {dir.path().string(), StatusCode::NotRegularFile, IDS_REASON_IS_FOLDER},
    };
    for (const auto& c : cases)
        EXPECT_EXIT(RefusedAtOnce(c.path, c.code, c.reason), ::testing::ExitedWithCode(0), "")
            << c.path;
    ::close(sock);
}
#endif

// Windows refuses to rename a file over one that is open, as the reader's is here.
#ifndef _WIN32
// Both passes of the reader read the file that was opened, even when a writer renames another
// file over the path between the open and the reading; a write later is checked against it.
TEST(CatalogueFile, ReadsTheFileItOpenedWhenThePathIsReplaced) {
    TempFolder dir;
    WriteBytes(dir / "c.ZNL", "SELECTED=\x95\x5C\r\nC:\\a.txt\t\x95\x5C\t\r\n");
    ReadableFile file;
    ASSERT_TRUE(file.Open(dir / "c.ZNL"));
    WriteBytes(dir / "new.ZNL", "\xEF\xBB\xBFSELECTED=\r\nC:\\b.txt\tb\t\r\nC:\\c.txt\tc\t\r\n");
    std::filesystem::rename(dir / "new.ZNL", dir / "c.ZNL");
    Catalogue doc;
    ASSERT_TRUE(doc.LoadCatalogue(file, dir / "c.ZNL"));
    EXPECT_EQ(doc.FileEncoding(), Encoding::Cp932);
    EXPECT_EQ(doc.SelectedTitle(), "表");
    ASSERT_EQ(doc.Entries().size(), 1u);
    EXPECT_EQ(doc.CheckUnchangedOnDisk(dir / "c.ZNL").code(), StatusCode::ChangedOnDisk);
}

// Random catalogues: paths and titles without TAB, CR or LF; comments with anything but TAB.
#endif

TEST(CatalogueFile, RandomCataloguesRoundTripInEveryEncoding) {
    std::mt19937 rng(1);
    const std::vector<std::string> pieces = {"a", "Z",  " ",  "\\",       "/",
                                             ".", ":",  "表", "ソ",       "ｱ",
                                             "①", "髙", "=",  "SELECTED", "\xEF\xBF\xBD"};
    auto text = [&](bool comment) {
        std::string s;
        for (int n = static_cast<int>(rng() % 6); n > 0; --n) {
            const auto k = rng() % (comment ? pieces.size() + 3 : pieces.size());
            if (k < pieces.size())
                s += pieces[k];
            else
                s += "\r\n\n"[k - pieces.size()];
        }
        return s;
    };
    TempFolder dir;
    for (int round = 0; round < 200; ++round) {
        Catalogue doc;
        doc.SetFileEncoding(static_cast<Encoding>(round % 3));
        doc.SetSelectedTitle(text(false));
        doc.SetLastHolder(text(false));
        doc.SetTitleWidth(static_cast<int>(rng()) - 1000);
        for (int n = static_cast<int>(rng() % 8); n > 0; --n) {
            // A path that begins like a header key would read back as a header line.
            std::string path = "C:" + text(false);
            doc.Entries().Append(path, text(false), text(true));
        }
        ASSERT_TRUE(doc.SaveCatalogue(dir / "r.ZNL"));
        Catalogue back;
        ASSERT_TRUE(back.LoadCatalogue(dir / "r.ZNL"));
        ASSERT_EQ(Entries(back), Entries(doc)) << "round " << round;
        ASSERT_EQ(back.SelectedTitle(), doc.SelectedTitle());
        ASSERT_EQ(back.LastHolder(), doc.LastHolder());
        ASSERT_EQ(back.TitleWidth(), doc.TitleWidth());
    }
}

TEST(CatalogueFile, RandomBytesSurviveLoadAndSave) {
    std::mt19937 rng(7);
    TempFolder dir;
    for (int round = 0; round < 300; ++round) {
        // Lines of random bytes; every line ends in CR LF as the writer ends them, and no
        // line is a header line, so the file must come back byte for byte after the header.
        std::string body;
        for (int line = static_cast<int>(rng() % 5); line > 0; --line) {
            std::string l = "C:";
            for (int n = static_cast<int>(rng() % 30); n > 0; --n) {
                char c = static_cast<char>(rng() % 256);
                if (c == '\n' || c == '\r') c = 'x';
                l += c;
            }
            // Two TABs at least, so that the line splits into three fields.
            body += l + "\t\t" + "\r\n";
        }
        if (round % 4 == 0) body = "\xEF\xBB\xBF" + body;
        WriteBytes(dir / "in.ZNL", body);
        Catalogue doc;
        ASSERT_TRUE(doc.LoadCatalogue(dir / "in.ZNL"));
        ASSERT_TRUE(doc.SaveCatalogue(dir / "out.ZNL"));
        std::string out = ReadBytes(dir / "out.ZNL");
        const std::string bom = round % 4 == 0 ? "\xEF\xBB\xBF" : "";
        const std::string header =
            "SELECTED=\r\nLASTHOLDER=\r\nTITLEWIDTH=200\r\nCOMMENTWIDTH=400\r\nPATHWIDTH=250\r\n";
        // A TAB among the random bytes moves the field boundaries, but the comment's TABs
        // are written back as TABs, so the line's bytes stay the same.
        const std::string expectedBody = body.substr(bom.size());
        if (doc.FileEncoding() == Encoding::Utf8Bom)
            ASSERT_EQ(out, bom + header + expectedBody) << "round " << round;
        else
            ASSERT_EQ(out, header + expectedBody) << "round " << round;
    }
}

// A file read a few bytes at a time must read exactly as its whole bytes do, wherever the
// pieces cut a UTF-8 sequence, a CR LF pair or a byte-order mark.
TEST(CatalogueFile, ReadingInPiecesAgreesWithReadingWhole) {
    const std::vector<std::string> atoms = {"a",        "\t",   "\r",       "\n",   "\r\n",
                                            "日",       "ü",    "😀",        "\xE6", "\x97",
                                            "\x95\x5C", "\xFF", "SELECTED="};
    std::mt19937 rng(11);
    TempFolder dir;
    for (int round = 0; round < 400; ++round) {
        std::string bytes = round % 5 == 0 ? "\xEF\xBB\xBF" : "";
        for (int n = static_cast<int>(rng() % 24); n > 0; --n) bytes += atoms[rng() % atoms.size()];
        WriteBytes(dir / "in.ZNL", bytes);
        Catalogue whole;
        ReadCatalogue(whole, bytes);
        for (size_t piece : {1u, 2u, 3u, 5u}) {
            Catalogue doc;
            ASSERT_TRUE(ReadCatalogueFile(doc, dir / "in.ZNL", piece));
            ASSERT_EQ(doc.FileEncoding(), whole.FileEncoding())
                << "round " << round << " piece " << piece;
            ASSERT_EQ(Entries(doc), Entries(whole)) << "round " << round << " piece " << piece;
            ASSERT_EQ(doc.SelectedTitle(), whole.SelectedTitle());
        }
    }
}

// The lines are read while the file is; only bytes that look like UTF-8 until a late piece
// proves them not to be take a second reading, which must then read exactly as the whole.
TEST(CatalogueFile, ReadOnceUnlessUtf8IsDisprovedLate) {
    const std::string utf8Lines = "SELECTED=表\r\np\t表\tc\r\nq\t日本\td\r\n";
    const struct {
        std::string bytes;
        Encoding encoding;
        int readings;
    } cases[] = {
        {"p\t\x95\x5C\tc\r\nq\t\x93\xFA\td\r\n", Encoding::Cp932, 1},
        {"ascii\tonly\r\n", Encoding::Cp932, 1},
        {utf8Lines, Encoding::Utf8, 1},
        {"\xEF\xBB\xBF" + utf8Lines + "\xFF", Encoding::Utf8Bom, 1},
        {utf8Lines + "r\t\x95\x5C\te\r\n", Encoding::Cp932, 2},
        {utf8Lines + "\xE6", Encoding::Cp932, 2},
        {"\xFF\n", Encoding::Cp932, 1},  // shorter than a byte-order mark
    };
    for (const auto& c : cases) {
        int readings = 0;
        const PieceSource source = [&](const std::function<void(std::string_view)>& consume) {
            ++readings;
            for (size_t at = 0; at < c.bytes.size(); at += 4) consume(c.bytes.substr(at, 4));
            return Status::Ok();
        };
        Catalogue doc, whole;
        ReadCatalogue(whole, c.bytes);
        ASSERT_TRUE(ReadCataloguePieces(doc, source, c.bytes.size()));
        EXPECT_EQ(readings, c.readings) << c.bytes;
        EXPECT_EQ(doc.FileEncoding(), c.encoding) << c.bytes;
        EXPECT_EQ(Entries(doc), Entries(whole)) << c.bytes;
        EXPECT_EQ(doc.SelectedTitle(), whole.SelectedTitle()) << c.bytes;
    }
}

TEST(CatalogueEncoding, Detection) {
    size_t start;
    EXPECT_EQ(DetectEncoding("\xEF\xBB\xBFplain", start), Encoding::Utf8Bom);
    EXPECT_EQ(start, 3u);
    EXPECT_EQ(DetectEncoding("日本", start), Encoding::Utf8);
    EXPECT_EQ(DetectEncoding("plain ascii", start), Encoding::Cp932);
    EXPECT_EQ(DetectEncoding("\x93\xFA\x96\x7B", start), Encoding::Cp932);
    EXPECT_EQ(DetectEncoding("日本\xFF", start), Encoding::Cp932);
    EXPECT_EQ(start, 0u);
}

TEST(CatalogueEncoding, SavedInTheEncodingItWasReadIn) {
    TempFolder dir;
    for (const std::string& bytes : {std::string("p\t\x95\x5C\tc\r\n"), std::string("p\t表\tc\r\n"),
                                     std::string("\xEF\xBB\xBFp\t表\tc\r\n")}) {
        WriteBytes(dir / "in.ZNL", bytes);
        Catalogue doc;
        ASSERT_TRUE(doc.LoadCatalogue(dir / "in.ZNL"));
        const Encoding read = doc.FileEncoding();
        ASSERT_TRUE(doc.SaveCatalogue(dir / "out.ZNL"));
        EXPECT_EQ(doc.FileEncoding(), read);
        const std::string out = ReadBytes(dir / "out.ZNL");
        EXPECT_EQ(out.substr(out.size() - bytes.size() + (read == Encoding::Utf8Bom ? 3 : 0)),
                  bytes.substr(read == Encoding::Utf8Bom ? 3 : 0));
        EXPECT_EQ(out.rfind("\xEF\xBB\xBF", 0) == 0, read == Encoding::Utf8Bom);
    }
}

TEST(CatalogueEncoding, TextWithoutCp932FormSwitchesToUtf8WithBom) {
    TempFolder dir;
    Catalogue doc;
    doc.Entries().Append("/home/u/café😀.txt", "Café", "");
    ASSERT_TRUE(doc.SaveCatalogue(dir / "u.ZNL"));
    EXPECT_EQ(doc.FileEncoding(), Encoding::Utf8Bom);
    EXPECT_EQ(ReadBytes(dir / "u.ZNL").rfind("\xEF\xBB\xBFSELECTED=\r\n", 0), 0u);
    Catalogue back;
    ASSERT_TRUE(back.LoadCatalogue(dir / "u.ZNL"));
    EXPECT_EQ(Entries(back), Entries(doc));
}

// The save that leaves code page 932 names the entry that needed it: a path first, as paths are
// never respelled; later saves are UTF-8 already and say nothing.
TEST(CatalogueEncoding, TheSaveThatLeavesCp932NamesWhatNeededIt) {
    std::string escaped;
    DecodeUtf8("\xFF", escaped);
    struct Case {
        Encoding enc;
        std::vector<Row> entries;
        std::optional<std::string> notice;
    };
    const Case cases[] = {
        {Encoding::Cp932,
         {{"C:\\a.txt", "Ünïcode", ""}, {"/home/u/café.txt", "t", ""}, {"/u/😀", "x", ""}},
         FormatString(IDS_SAVED_AS_UTF8_PATH, {"/home/u/café.txt"})},
        {Encoding::Cp932,
         {{"C:\\a.txt", "a", ""}, {"C:\\b.txt", "b", "😀"}},
         FormatString(IDS_SAVED_AS_UTF8_TEXT, {"C:\\b.txt"})},
        {Encoding::Cp932, {{"C:\\a.txt", "～", ""}}, std::nullopt},
        {Encoding::Utf8, {{"C:\\a.txt", escaped, ""}}, std::nullopt},  // not code page 932
    };
    TempFolder dir;
    for (const Case& c : cases) {
        Catalogue doc;
        doc.SetFileEncoding(c.enc);
        for (const Row& e : c.entries) doc.Entries().Append(e.path, e.title, e.comment);
        ASSERT_TRUE(doc.SaveCatalogue(dir / "s.ZNL"));
        EXPECT_EQ(EncodingSwitchNotice(doc), c.notice);
        ASSERT_TRUE(doc.SaveCatalogue(dir / "s.ZNL"));
        EXPECT_EQ(EncodingSwitchNotice(doc), std::nullopt);
    }
}

// Such a file stays code page 932: a mark that readers skip like "=" keeps it from being UTF-8.
TEST(CatalogueEncoding, Cp932ThatWouldReadAsUtf8StaysCp932) {
    TempFolder dir;
    std::string title;
    DecodeCp932("\xE6\x97\xA5", title);  // 譌 + lone A5 (･): together UTF-8 for 日
    Catalogue doc;
    doc.Entries().Append("p", title, "");
    ASSERT_TRUE(doc.SaveCatalogue(dir / "m.ZNL"));
    EXPECT_EQ(doc.FileEncoding(), Encoding::Cp932);
    Catalogue back;
    ASSERT_TRUE(back.LoadCatalogue(dir / "m.ZNL"));
    EXPECT_EQ(back.FileEncoding(), Encoding::Cp932);
    EXPECT_EQ(Entries(back), Entries(doc));
    EXPECT_EQ(back.TitleWidth(), kDefaultTitleWidth);
}

// Code page 932 files that a load and a save must give back as they were (the header in the
// program's own form), never switched to UTF-8.
TEST(CatalogueEncoding, Cp932FilesSurviveARoundTrip) {
    const std::string widths = "TITLEWIDTH=200\r\nCOMMENTWIDTH=400\r\nPATHWIDTH=250\r\n";
    const std::string rest =
        "LASTHOLDER=Docs\\\x85\x5C\r\n" + widths + "C:\\Docs\\\x85\x5C\\x.txt\tx\t\x83\x5C\r\n";
    const struct {
        std::string in, out;
    } cases[] = {
        // The character after a key is a whole double-byte code, not its first byte.
        {"SELECTED\xEF\x5C\r\n" + rest, "SELECTED=\r\n" + rest},
        {"SELECTED\x85\x5C\x85\x5C\r\n" + rest, "SELECTED=\x85\x5C\r\n" + rest},
        {"SELECTED=\xEF\x5C\r\n" + rest, "SELECTED=\xEF\x5C\r\n" + rest},
        // Twin codes, unassigned codes and the five single bytes keep their bytes.
        {"SELECTED=\r\n" + rest.substr(0, rest.size() - 2) +
             "\xEE\xE0\xED\x40\x85\x40\x80\xA0\xFD\r\n",
         "SELECTED=\r\n" + rest.substr(0, rest.size() - 2) +
             "\xEE\xE0\xED\x40\x85\x40\x80\xA0\xFD\r\n"},
        // Dropping the header's only non-UTF-8 byte leaves bytes that would read as UTF-8.
        {"SELECTED\xFF\r\nLASTHOLDER=\r\n" + widths + "p\tt\t\xEF\x80\x80\r\n",
         "SELECTED=\r\nLASTHOLDER=\r\nTITLEWIDTH\xA1"
         "200\r\nCOMMENTWIDTH=400\r\n"
         "PATHWIDTH=250\r\np\tt\t\xEF\x80\x80\r\n"},
    };
    TempFolder dir;
    for (const auto& c : cases) {
        WriteBytes(dir / "in.ZNL", c.in);
        Catalogue doc;
        ASSERT_TRUE(doc.LoadCatalogue(dir / "in.ZNL"));
        ASSERT_TRUE(doc.SaveCatalogue(dir / "out.ZNL"));
        EXPECT_EQ(doc.FileEncoding(), Encoding::Cp932);
        EXPECT_EQ(ReadBytes(dir / "out.ZNL"), c.out);
        Catalogue back;
        ASSERT_TRUE(back.LoadCatalogue(dir / "out.ZNL"));
        EXPECT_EQ(Entries(back), Entries(doc));
        EXPECT_EQ(back.SelectedTitle(), doc.SelectedTitle());
        EXPECT_EQ(back.LastHolder(), doc.LastHolder());
    }
}

// A code page 932 catalogue that must become UTF-8 is written as the window shows it: twin codes
// as their characters, the five single bytes as Windows reads them, and bytes no character stands
// for as U+FFFD, counted by entry. The write never fails for them, memory then holds what the
// file holds, and a later save changes nothing more.
TEST(CatalogueEncoding, LeavingCp932WritesEveryTextAsShown) {
    const std::string header =
        "SELECTED=\r\nLASTHOLDER=\r\nTITLEWIDTH=200\r\nCOMMENTWIDTH=400\r\nPATHWIDTH=250\r\n";
    const struct {
        std::string line, shown;
        size_t undecodable;
    } cases[] = {
        {"D:\\\xEE\xE0\x8E\x52.jpg\t\xEE\xE0\x8E\x52\t\xED\x95\r\n", "D:\\髙山.jpg\t髙山\t﨑\r\n",
         0},
        {"C:\\\xED\x40\\x\t\x85\x40\t\x81\r\n", "C:\\纊\\x\t\uFFFD\uFFFD\t\uFFFD\r\n", 1},
        {"C:\\Docs\\\x85\x5C\\x.txt\tx\t\r\n", "C:\\Docs\\\uFFFD\uFFFD\\x.txt\tx\t\r\n", 1},
        {"p\t\x80\xA0\xFD\xFE\xFF\t\r\n", "p\t\u0080\uF8F0\uF8F1\uF8F2\uF8F3\t\r\n", 0},
    };
    const std::string added = "C:\\y.txt\tcafé\t\r\n";
    TempFolder dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        WriteBytes(dir / "f.ZNL", header + c.line);
        Catalogue doc;
        ASSERT_TRUE(doc.LoadCatalogue(dir / "f.ZNL"));
        doc.Entries().Append("C:\\y.txt", "café", "");
        ASSERT_TRUE(doc.SaveCatalogue(dir / "f.ZNL"));
        EXPECT_EQ(doc.FileEncoding(), Encoding::Utf8Bom);
        const std::string written = ReadBytes(dir / "f.ZNL");
        EXPECT_EQ(written, std::string(kUtf8Bom) + header + c.shown + added);
        ASSERT_TRUE(doc.LastSaveSwitch());
        EXPECT_EQ(doc.LastSaveSwitch()->undecodable, c.undecodable);
        Catalogue back;
        ASSERT_TRUE(back.LoadCatalogue(dir / "f.ZNL"));
        EXPECT_EQ(Entries(back), Entries(doc));
        ASSERT_TRUE(doc.SaveCatalogue(dir / "f.ZNL"));
        EXPECT_EQ(ReadBytes(dir / "f.ZNL"), written);
    }
}

TEST(CatalogueEncoding, EscapedBytesInAUtf8CatalogueKeepTheirMeaning) {
    TempFolder dir;
    Catalogue doc;
    doc.SetFileEncoding(Encoding::Utf8);
    doc.Entries().Append(FromSystemName("/home/u/\xFF.txt"), "日本", "");
    ASSERT_TRUE(doc.SaveCatalogue(dir / "e.ZNL"));
    EXPECT_EQ(doc.FileEncoding(), Encoding::Utf8Bom);
    Catalogue back;
    ASSERT_TRUE(back.LoadCatalogue(dir / "e.ZNL"));
    EXPECT_EQ(Entries(back), Entries(doc));
}

TEST(Holders, OneHolderPerFolderInOrderOfFirstAppearance) {
    Catalogue doc;
    doc.RebuildHolders();
    EXPECT_TRUE(doc.Holders().empty());
    for (const char* path : {"C:\\Docs\\a.txt", "c:\\docs\\b.txt", "C:\\Other\\c.txt", "plain", "",
                             "C:\\DOCS\\d.txt", "/home/u/e", "/HOME/u/f", "/home/v/g"})
        doc.Entries().Append(path, path, "");
    doc.RebuildHolders();
    std::vector<std::string> folders;
    for (const Holder& h : doc.Holders()) folders.push_back(h.folder);
    // Case counts in Linux paths only.
    EXPECT_EQ(folders, (std::vector<std::string>{"C:\\Docs\\", "C:\\Other\\", "", "/home/u/",
                                                 "/HOME/u/", "/home/v/"}));
}

TEST(Document, ResetClearAndObservers) {
    struct View : CatalogueObserver {
        int updates = 0;
        void OnUpdate(CatalogueObserver*) override { ++updates; }
    } tree, list;
    Catalogue doc;
    doc.SetSelectedTitle("x");
    doc.SetPathWidth(3);
    doc.ResetHeader();
    EXPECT_EQ(doc.SelectedTitle(), "");
    EXPECT_EQ(doc.PathWidth(), 250);
    doc.Entries().Append("C:\\a", "a", "");
    doc.RebuildHolders();
    doc.SetExtensions({".txt"});
    doc.SetClipTitle("clip");
    doc.SetSelectedTitle("a");
    doc.SetTreeImages(std::make_unique<ImageList>());
    doc.SetSmallImages(std::make_unique<ImageList>());
    doc.ResetForNew();  // as ClearAll, with the header and clipboard reset and the tree's pictures
                        // kept
    EXPECT_TRUE(doc.Entries().empty() && doc.Holders().empty() && doc.Extensions().empty());
    EXPECT_TRUE(doc.ClipTitle().empty() && doc.SelectedTitle().empty());
    EXPECT_EQ(doc.SmallImages(), nullptr);
    EXPECT_NE(doc.TreeImages(), nullptr);
    doc.Entries().Append("C:\\a", "a", "");
    doc.RebuildHolders();
    doc.ClearAll();
    EXPECT_TRUE(doc.Entries().empty());
    EXPECT_TRUE(doc.Holders().empty());
    EXPECT_EQ(doc.TreeImages(), nullptr);
    EXPECT_EQ(doc.FindByTitle("a"), nullptr);
    doc.AddObserver(&tree);
    doc.AddObserver(&list);
    doc.UpdateAllViews(&tree);
    doc.UpdateAllViews(nullptr);
    EXPECT_EQ(tree.updates, 1);
    EXPECT_EQ(list.updates, 2);
}

}  // namespace
}  // namespace kantoria

namespace kantoria {
namespace {

// Another program's save after the read shows, whether it replaced the file or wrote it in
// place; the document's own save does not.
TEST(CatalogueFile, AnotherProgramsWriteIsNoticed) {
    TempFolder dir;
    const std::string path = dir / "c.ZNL";
    WriteBytes(path, "p\tt\t\r\n");
    Catalogue doc;
    ASSERT_TRUE(doc.LoadCatalogue(path));
    EXPECT_TRUE(doc.CheckUnchangedOnDisk(path));
    ASSERT_TRUE(doc.SaveCatalogue(path));
    EXPECT_TRUE(doc.CheckUnchangedOnDisk(path));
    WriteBytes(dir / "other", "q\tt\t\r\n");
    std::filesystem::rename(dir / "other", path);
    EXPECT_EQ(doc.CheckUnchangedOnDisk(path).code(), StatusCode::ChangedOnDisk);
    EXPECT_TRUE(doc.CheckUnchangedOnDisk(dir / "elsewhere.ZNL"));
    // Writing where nothing stands any more loses nobody's work.
    std::filesystem::remove(path);
    EXPECT_TRUE(doc.CheckUnchangedOnDisk(path));
}

}  // namespace
}  // namespace kantoria
