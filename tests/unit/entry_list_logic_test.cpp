#include "core/views/entry_list_logic.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "core/resources/string_table.h"
#include "core/text/text_codec.h"
#include "core/views/view_type.h"
#include "testing/core/settings_memory.h"

namespace kantoria {
namespace {

struct Row {
    std::string path, title, comment;
};

void Fill(Catalogue& doc, const std::vector<Row>& entries) {
    for (const Row& e : entries) doc.Entries().Append(e.path, e.title, e.comment);
    doc.RebuildHolders();
}

std::vector<std::string> Titles(const std::vector<EntryRef>& rows) {
    std::vector<std::string> titles;
    for (const EntryRef e : rows) titles.emplace_back(e->Title());
    return titles;
}

using Titles_ = std::vector<std::string>;

TEST(EntryListLogic, AHolderListsExactlyTheEntriesOfItsFolder) {
    Catalogue doc;
    Fill(doc, {{"C:\\A\\Work\\x.txt", "x", ""},
               {"C:\\Archive\\Work\\y.txt", "y", ""},
               {"c:\\a\\WORK\\z.txt", "z", ""},
               {"D:\\B\\Work\\w.txt", "w", ""},
               {"C:\\A\\Work\\Sub\\s.txt", "s", ""},
               {"/home/u/docs/p", "p", ""},
               {"/home/u/old/docs/q", "q", ""},
               {"/memo.txt", "m", ""},
               {"C:\\root.txt", "r", ""},
               {"bare.txt", "b", ""}});
    const std::pair<std::string, Titles_> cases[] = {
        {"C:\\A\\Work\\", {"x", "z"}},  // same folder without regard to case
        {"C:\\Archive\\Work\\", {"y"}},
        {"/home/u/docs/", {"p"}},
        {"/", {"m"}},
        {"C:\\", {"r"}},
        {"", {"b"}},
        {"C:\\Nowhere\\", {}},
    };
    // The document's holder index answers alike while it is up to date, and a change it has
    // not seen yet sends the lookup back to the entries.
    for (const auto& [folder, titles] : cases) {
        EXPECT_EQ(Titles(EntriesOfFolder(doc.Entries(), folder)), titles) << folder;
        EXPECT_EQ(Titles(EntriesOfFolder(doc, folder)), titles) << folder;
    }
    EXPECT_NE(doc.EntriesOfHolder("/"), nullptr);
    // A new title keeps the index, and the holder lists in the new order.
    doc.Entries().SetTitle(doc.Entries().FindByTitle("x"), "zz");
    EXPECT_EQ(Titles(EntriesOfFolder(doc, "C:\\A\\Work\\")), (Titles_{"z", "zz"}));
    EXPECT_NE(doc.EntriesOfHolder("C:\\A\\Work\\"), nullptr);
    doc.Entries().Remove(doc.Entries().FindByTitle("m"));
    EXPECT_EQ(doc.EntriesOfHolder("/"), nullptr);
    EXPECT_EQ(Titles(EntriesOfFolder(doc, "/")), Titles_{});
    // The holders' revision moves only when the set of holders does.
    doc.RebuildHolders();  // the folder of "m" has gone
    const std::uint64_t holders = doc.HoldersRevision();
    doc.Entries().Append("/home/u/docs/p2", "p2", "");
    doc.RebuildHolders();
    EXPECT_EQ(doc.HoldersRevision(), holders);
    doc.Entries().Append("/new/p3", "p3", "");
    doc.RebuildHolders();
    EXPECT_NE(doc.HoldersRevision(), holders);
    // Holders extended by appends are those a rebuild from nothing makes, in the same order.
    doc.Entries().Append("c:\\A\\work\\t.txt", "t", "");
    doc.RebuildHolders();
    Catalogue fresh;
    for (const kantoria::Entry& e : doc.Entries())
        fresh.Entries().Append(e.Path(), e.Title(), e.Comment());
    fresh.RebuildHolders();
    const auto folders = [](const Catalogue& d) {
        std::vector<std::string> all;
        for (const Holder& h : d.Holders()) {
            std::string line = h.folder + ":";
            for (const std::string& t : Titles(*d.EntriesOfHolder(h.folder))) line += " " + t;
            all.push_back(line);
        }
        return all;
    };
    EXPECT_EQ(folders(doc), folders(fresh));
}

TEST(EntryListLogic, ItemsStandInTitleOrderWithoutRegardToCase) {
    Catalogue doc;
    Fill(doc, {{"C:\\D\\1", "b", ""},
               {"C:\\D\\2", "A", ""},
               {"C:\\D\\3", "c", ""},
               {"C:\\D\\4", "a", ""},
               {"C:\\D\\5", "Ｂ", ""},
               {"C:\\D\\6", "ａ", ""}});
    EXPECT_EQ(Titles(EntriesOfFolder(doc.Entries(), "C:\\D\\")),
              (Titles_{"A", "a", "b", "c", "ａ", "Ｂ"}));
    // The code page 932 bytes decide, as on Windows: common kanji in reading order.
    Fill(doc, {{"C:\\J\\1", "報告書の表紙", ""},
               {"C:\\J\\2", "文書", ""},
               {"C:\\J\\3", "売上集計", ""},
               {"C:\\J\\4", "書類", ""}});
    EXPECT_EQ(Titles(EntriesOfFolder(doc.Entries(), "C:\\J\\")),
              (Titles_{"書類", "売上集計", "文書", "報告書の表紙"}));
}

TEST(EntryListLogic, TheStoredLabelPathDesignatesTheListedHolder) {
    Catalogue doc;
    Fill(doc, {{"C:\\Docs\\a.txt", "a", ""},
               {"C:\\Docs\\Work\\b.txt", "b", ""},
               {"D:\\Work\\c.txt", "c", ""}});
    const std::pair<std::string, Titles_> cases[] = {
        {"Docs\\Work", {"b"}}, {"Work", {"c"}}, {"Docs", {"a"}},
        {"Docs\\", {}},        {"Nothing", {}}, {"", {}},
    };
    for (const auto& [path, titles] : cases) {
        doc.SetLastHolder(path);
        EXPECT_EQ(Titles(ListedEntries(doc)), titles) << path;
    }
}

TEST(EntryListLogic, PosixRootAndHomeFoldersAreListed) {
    Catalogue doc;
    Fill(doc, {{"/d.txt", "d", ""}, {"/home/u/e.txt", "e", ""}, {"/home/u/f.txt", "f", ""}});
    const std::pair<std::string, Titles_> cases[] = {
        {"", {"d"}},  // the root "/" has the empty label
        {"\\u", {"e", "f"}},
        {"u", {"e", "f"}},
    };
    for (const auto& [path, titles] : cases) {
        doc.SetLastHolder(path);
        EXPECT_EQ(Titles(ListedEntries(doc)), titles) << path;
    }
}

TEST(EntryListLogic, CommentColumnIsOneLine) {
    EXPECT_EQ(CommentColumnText("two\r\nlines"), "two  lines");
    EXPECT_EQ(CommentColumnText("a\rb\nc\n"), "a b c ");
    EXPECT_EQ(CommentColumnText("表\t示"), "表\t示");
}

// Each column sorts by the text it shows, compared as titles are; equal texts keep the list's
// order both ways.
TEST(EntryListLogic, ReportSortsByTheClickedColumn) {
    EntryList list;
    const std::vector<EntryRef> rows = {list.Append("C:\\b\\2.txt", "apple", "x\r\ny"),
                                        list.Append("C:\\a\\9.txt", "Banana", "x y"),
                                        list.Append("c:\\B\\1.txt", "cherry", ""),
                                        list.Append("C:\\a\\3.txt", "ａｐｐｌｅ", "")};
    using Column = EntrySortKey::Column;
    const std::pair<EntrySortKey, Titles_> cases[] = {
        {{Column::Title, false}, {"apple", "Banana", "cherry", "ａｐｐｌｅ"}},
        {{Column::Title, true}, {"ａｐｐｌｅ", "cherry", "Banana", "apple"}},
        {{Column::Comment, false}, {"cherry", "ａｐｐｌｅ", "apple", "Banana"}},
        {{Column::Comment, true}, {"Banana", "apple", "cherry", "ａｐｐｌｅ"}},
        {{Column::Path, false}, {"ａｐｐｌｅ", "Banana", "cherry", "apple"}},
        {{Column::Path, true}, {"apple", "cherry", "Banana", "ａｐｐｌｅ"}},
    };
    for (const auto& [key, titles] : cases) {
        std::vector<EntryRef> sorted = rows;
        SortEntries(sorted, key);
        EXPECT_EQ(Titles(sorted), titles)
            << static_cast<int>(key.column) << (key.descending ? " descending" : "");
    }
}

TEST(EntryListLogic, RefillSelectsTheLastItemWithTheExactTitle) {
    EntryList list;
    const std::vector<EntryRef> rows = {list.Append("1", "Report", ""),
                                        list.Append("2", "report", ""),
                                        list.Append("3", "Report", "")};
    EXPECT_EQ(RowToSelect(rows, "Report"), 2);
    EXPECT_EQ(RowToSelect(rows, "report"), 1);
    EXPECT_EQ(RowToSelect(rows, "REPORT"), -1);
    EXPECT_EQ(RowToSelect(rows, ""), -1);
    EXPECT_EQ(RowToSelect({}, "Report"), -1);
}

TEST(EntryListLogic, RenameRules) {
    std::string undecodable;
    DecodeCp932("\x85\x5C", undecodable);  // an unassigned code: kept as two escapes
    struct Case {
        std::string edit, typed;
        RenameOutcome outcome;
    };
    const Case cases[] = {
        {"Plan", "Plan 2", RenameOutcome::Renamed},
        {"Plan", "plan", RenameOutcome::Renamed},  // a change of case is a change
        {"Plan", "Plan", RenameOutcome::Unchanged},
        {"Plan", "", RenameOutcome::Unchanged},  // also what Escape hands back
        {"", "Plan", RenameOutcome::Unchanged},
        {"Plan", "Other", RenameOutcome::Renamed},  // another entry's title is accepted
        {"Plan", std::string(4000, 'x'), RenameOutcome::Renamed},  // no length limit
        {"Plan", "a\tb", RenameOutcome::Refused},
        {"Plan", "a\r\nb", RenameOutcome::Refused},
        {"Plan", "a\nb", RenameOutcome::Refused},
        {undecodable, ToDisplayText(undecodable), RenameOutcome::Unchanged},
    };
    for (const Case& c : cases) {
        Catalogue doc;
        doc.Entries().Append("C:\\x\\other.txt", "Other", "");
        const EntryRef entry = doc.Entries().Append("C:\\x\\plan.txt", c.edit, "comment");
        doc.SetSelectedTitle("before");
        EXPECT_EQ(RenameEntry(doc, entry, c.edit, c.typed), c.outcome) << c.typed;
        const bool renamed = c.outcome == RenameOutcome::Renamed;
        EXPECT_EQ(entry->Title(), renamed ? c.typed : c.edit);
        EXPECT_EQ(doc.SelectedTitle(), renamed ? c.typed : "before");
        EXPECT_EQ(entry->Comment(), "comment");
        EXPECT_EQ(entry->Path(), "C:\\x\\plan.txt");
    }
}

TEST(EntryListLogic, RenameKeepsTwinCodesAndStoresTheCatalogueSpelling) {
    std::string twin;
    DecodeCp932("\xEE\xE0", twin);  // shown as 髙
    struct Case {
        Encoding enc;
        std::string edit, typed;
        RenameOutcome outcome;
        std::string stored;
    };
    const Case cases[] = {
        {Encoding::Cp932, twin, "髙", RenameOutcome::Unchanged, twin},
        {Encoding::Cp932, twin, "髙木", RenameOutcome::Renamed, twin + "木"},
        {Encoding::Cp932, twin, "木", RenameOutcome::Renamed, "木"},
        {Encoding::Cp932, "Plan", "10〜20", RenameOutcome::Renamed, "10～20"},
        {Encoding::Cp932, "10～20", "10〜20", RenameOutcome::Unchanged, "10～20"},
        {Encoding::Utf8, "Plan", "10〜20", RenameOutcome::Renamed, "10〜20"},
    };
    for (const Case& c : cases) {
        Catalogue doc;
        doc.SetFileEncoding(c.enc);
        const EntryRef entry = doc.Entries().Append("C:\\x\\plan.txt", c.edit, "");
        EXPECT_EQ(RenameEntry(doc, entry, c.edit, c.typed), c.outcome) << c.typed;
        EXPECT_EQ(entry->Title(), c.stored);
    }
}

TEST(EntryListLogic, RenameActsOnThePickedEntryEvenWithEqualTitles) {
    Catalogue doc;
    doc.Entries().Append("C:\\x\\a.txt", "Report", "");
    const EntryRef later = doc.Entries().Append("C:\\x\\b.txt", "report", "");
    EXPECT_EQ(RenameEntry(doc, later, "report", "Memo"), RenameOutcome::Renamed);
    EXPECT_EQ(later->Title(), "Memo");
    EXPECT_EQ(doc.FindByTitle("Report")->Path(), "C:\\x\\a.txt");
    EXPECT_EQ(doc.FindByTitle("memo"), later);
}

TEST(ViewType, FromTheSettingsValue) {
    const std::pair<std::string, ViewType> cases[] = {
        {"", ViewType::Report},   {"0", ViewType::LargeIcon},
        {"1", ViewType::Report},  {"2", ViewType::SmallIcon},
        {"3", ViewType::List},    {"abc", ViewType::LargeIcon},
        {" 3x", ViewType::List},  {"4", ViewType::Report},
        {"-1", ViewType::Report}, {"99999999999", ViewType::Report},
    };
    for (const auto& [value, type] : cases) EXPECT_EQ(ViewTypeFromSetting(value), type) << value;
}

TEST(ViewType, RoundTripsThroughTheSettings) {
    MemorySettingsStore settings;
    EXPECT_EQ(ReadViewType(settings), ViewType::Report);
    WriteViewType(settings, ViewType::List);
    EXPECT_EQ(settings.GetProfileString("SETTINGS", "TYPE", ""), "3");
    EXPECT_EQ(ReadViewType(settings), ViewType::List);
}

TEST(StringTable, AnswersTextsByNumber) {
    EXPECT_EQ(LoadString(118), "ファイルがないかプログラムがありません。");
    EXPECT_EQ(LoadString(59411), "ウィンドウ内の各オブジェクトの詳細情報を表示します。\n詳細");
    EXPECT_EQ(LoadString(0), "");
    EXPECT_EQ(LoadString(117), "");
    EXPECT_EQ(LoadString(99999), "");
}

}  // namespace
}  // namespace kantoria
