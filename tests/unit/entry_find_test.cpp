#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "core/text/find_fold.h"
#include "core/views/entry_find.h"
#include "core/views/entry_list_logic.h"
#include "core/views/holder_tree_logic.h"
#include "core/views/list_content.h"
#include "core/views/shown_holder.h"

namespace kantoria {
namespace {

using Strings = std::vector<std::string>;

TEST(FindFold, SpellingsAReaderTakesForTheSameFoldAlike) {
    const std::pair<const char*, const char*> cases[] = {
        {"Report.DOC", "report.doc"},
        {"ＡＢＣ ａｂｃ", "abc abc"},  // full-width letters, both cases
        {"０１２！＃", "012!#"},
        {"報告　書", "報告 書"},  // the ideographic space is a blank
        {"ｶﾀｶﾅ", "カタカナ"},
        {"ｶﾞｷﾞｸﾞﾊﾟﾋﾟﾌﾞｳﾞ", "ガギグパピブヴ"},  // sound marks join the letter before
        {"ﾝﾞｧﾞ漢ﾞ", "ン゛ァ゛漢゛"},           // and stand alone where nothing takes them
        {"｢ﾃｽﾄ｣､ｰ･｡", "「テスト」、ー・。"},
        {"かたかな ゔ ゝゞ", "カタカナ ヴ ヽヾ"},
        {"か\u3099は\u309Aヘ\u3099", "ガパベ"},  // decomposed names
        {"É Ω 漢字 😀", "É Ω 漢字 😀"},            // everything else stays
        {"\xED\xB2\x81z", "\xED\xB2\x81z"},      // an escaped byte stays an escape
    };
    for (const auto& [text, folded] : cases) EXPECT_EQ(FoldForFind(text), folded) << text;
}

TEST(FindFold, WordsSplitAtBlanksOfEitherWidth) {
    const std::pair<const char*, Strings> cases[] = {
        {"  報告 　ＳＡＬＥＳ\tq1 ", {"報告", "sales", "q1"}},
        {"　 ", {}},
        {"ｶﾞｲﾄﾞ", {"ガイド"}},
    };
    for (const auto& [text, words] : cases) EXPECT_EQ(FindWords(text), words) << text;
}

std::vector<std::string> Titles(const std::vector<EntryRef>& rows) {
    std::vector<std::string> titles;
    for (EntryRef e : rows) titles.emplace_back(e->Title());
    return titles;
}

class EntryFind : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const auto& [path, title, comment] : std::vector<std::array<const char*, 3>>{
                 {"C:\\書類\\報告\\q1.doc", "売上報告", "第一四半期"},
                 {"C:\\書類\\memo.txt", "メモ", "カタカナのコメント"},
                 {"/home/u/Guide.pdf", "ｶﾞｲﾄﾞ", "Sales manual"},
                 {"D:\\Archive\\old.doc", "古い報告", "line one\r\nline two"},
             })
            doc.Entries().Append(path, title, comment);
        doc.RebuildHolders();
    }
    Catalogue doc;
};

TEST_F(EntryFind, EveryWordMustOccurInSomeField) {
    const std::pair<const char*, Strings> cases[] = {
        {"報告", {"売上報告", "古い報告"}},  // title, catalogue order
        {"かたかな", {"メモ"}},              // hiragana finds katakana in the comment
        {"ガイド", {"ｶﾞｲﾄﾞ"}},               // full width finds half width
        {"SALES guide", {"ｶﾞｲﾄﾞ"}},          // words in comment and path
        {"報告　第一", {"売上報告"}},        // full-width blank between words
        {"書類", {"売上報告", "メモ"}},      // the path
        {"報告 memo", {}},                   // both words, never either
        {"one line", {"古い報告"}},          // a comment's lines are one field
        {"\\報告\\", {"売上報告"}},
        {"", {}},
        {"q1.doc 売上報告", {"売上報告"}},
        {"報告売上", {}},  // a word never spans two fields
        {"ｲﾄﾞsales", {}},  // nor title and comment
    };
    for (const auto& [text, titles] : cases)
        EXPECT_EQ(Titles(FindEntries(doc.Entries(), doc.FileEncoding(), text)), titles) << text;
}

TEST_F(EntryFind, TheIndexFollowsChangesToTheEntries) {
    FindIndex index;
    index.Update(doc.Entries(), doc.FileEncoding());
    EXPECT_EQ(Titles(index.Find(FindWords("新"))), Strings{});
    const EntryRef added = doc.Entries().Append("E:\\新規.txt", "新規", "");
    index.Update(doc.Entries(), doc.FileEncoding());
    EXPECT_EQ(Titles(index.Find(FindWords("新"))), Strings{"新規"});
    doc.Entries().SetTitle(added, "renamed");
    doc.Entries().SetComment(added, "");
    index.Update(doc.Entries(), doc.FileEncoding());
    EXPECT_EQ(Titles(index.Find(FindWords("新"))), Strings{"renamed"});  // by its path
    doc.Entries().Remove(added);
    index.Update(doc.Entries(), doc.FileEncoding());
    EXPECT_EQ(Titles(index.Find(FindWords("新"))), Strings{});
    // Keys kept across appends, and the list's order of all entries with them, find what keys
    // built anew find.
    FindIndex kept(0);  // every hit put in order through the order of all entries
    const std::vector<std::string> words = FindWords("報告");
    kept.Update(doc.Entries(), doc.FileEncoding());
    kept.FindInListOrder(words);
    doc.Entries().Append("F:\\報告.txt", "あ", "");
    doc.Entries().Append("F:\\b.txt", "ん報告", "");
    kept.Update(doc.Entries(), doc.FileEncoding());
    FindIndex fresh(0);
    fresh.Update(doc.Entries(), doc.FileEncoding());
    EXPECT_EQ(Titles(kept.FindInListOrder(words)), Titles(fresh.FindInListOrder(words)));
    EXPECT_EQ(Titles(kept.FindInListOrder(words)).size(), 4u);
}

TEST_F(EntryFind, TwinCodesAreFoundAsTheCharacterShown) {
    Catalogue twin;
    // ED40 is a second code of 纊: held as two escapes, shown as the character.
    std::string title;
    Decode(Encoding::Cp932, "\xED\x40", title);
    twin.Entries().Append("C:\\a.txt", title, "");
    EXPECT_EQ(FindEntries(twin.Entries(), Encoding::Cp932, "纊").size(), 1u);
}

class EntryFindOrder : public EntryFind, public ::testing::WithParamInterface<std::size_t> {};

TEST_P(EntryFindOrder, AFindListsTheWholeCatalogueAndLeavesTheHolderAlone) {
    const HolderTree tree = HolderTree::Build(doc.Holders());
    ChooseHolder(doc, tree, tree.FindByFolder("C:\\書類\\"));
    const std::string lastHolder = doc.LastHolder();
    // Hits sorted by themselves (the default) and taken from the order of all entries.
    ListRows rows(GetParam());
    const auto none = [](const Entry&) { return false; };
    EXPECT_EQ(Titles(rows.Rows(doc, {ListContent::Kind::Find, "報告 OR"}, none)), Strings{});
    const ListContent find{ListContent::Kind::Find, "報告"};
    EXPECT_EQ(Titles(rows.Rows(doc, find, none)), (Strings{"古い報告", "売上報告"}));  // list order
    EXPECT_EQ(rows.Status(find, 2, false), "2 件見つかりました");
    doc.Entries().Append("F:\\報告.txt", "a 報告", "");  // an entry added meanwhile shows
    EXPECT_EQ(Titles(rows.Rows(doc, find, none)), (Strings{"a 報告", "古い報告", "売上報告"}));
    EXPECT_EQ(doc.LastHolder(), lastHolder);
    EXPECT_EQ(Titles(rows.Rows(doc, {}, none)), Strings{"メモ"});
}

INSTANTIATE_TEST_SUITE_P(Sizes, EntryFindOrder, ::testing::Values(20000u, 0u));

TEST_F(EntryFind, TheMissingFilesListInTheListsOrder) {
    ListRows rows;
    const auto missing = [](const Entry& e) { return e.Path().ends_with(".doc"); };
    const ListContent content{ListContent::Kind::Missing, {}};
    EXPECT_EQ(Titles(rows.Rows(doc, content, missing)), (Strings{"古い報告", "売上報告"}));
}

// A word may stand in the document instead of the entry's texts; only rows nothing but the text
// let in carry a snippet, and an answer to another find is not taken.
TEST_F(EntryFind, DocumentsTextJoinsTheFind) {
    const auto documentOf = [this](std::string_view end) {
        for (const Entry& e : doc.Entries())
            if (e.Path().ends_with(end)) return DocumentPath(e.Path(), doc.FileEncoding());
        return std::string();
    };
    struct Case {
        const char* text;
        std::vector<std::vector<const char*>> perWord;  // documents holding each word
        Strings titles;
        Strings inText;
    };
    const Case cases[] = {
        {"契約", {{"memo.txt"}}, {"メモ"}, {"メモ"}},
        {"報告 契約", {{}, {"memo.txt", "q1.doc"}}, {"売上報告"}, {"売上報告"}},
        {"報告", {{"old.doc"}}, {"古い報告", "売上報告"}, {}},  // the title alone finds them
        {"契約 zzz", {{"memo.txt"}, {}}, {}, {}},
    };
    ListRows rows;
    const auto none = [](const Entry&) { return false; };
    for (const Case& c : cases) {
        auto words = std::make_shared<DocumentWords>();
        words->findText = c.text;
        for (const auto& documents : c.perWord) {
            DocumentHits& hits = words->perWord.emplace_back();
            for (const char* d : documents) hits[documentOf(d)] = std::string("…") + d;
        }
        rows.SetDocumentWords(words, true);
        const ListContent find{ListContent::Kind::Find, c.text};
        EXPECT_EQ(Titles(rows.Rows(doc, find, none)), c.titles) << c.text;
        Strings inText;
        for (const auto& [entry, snippet] : rows.FoundInTextRows()) {
            inText.emplace_back(entry->Title());
            EXPECT_FALSE(snippet.empty());
        }
        EXPECT_EQ(inText, c.inText) << c.text;
        // An answer to another text is not this find's.
        EXPECT_TRUE(rows.Rows(doc, {ListContent::Kind::Find, "契"}, none).empty()) << c.text;
    }
    EXPECT_EQ(rows.Status({ListContent::Kind::Find, "x"}, 3, false),
              "3 件見つかりました (本文の索引を作成中のため、すべてではない可能性があります)");
    rows.SetUnreadable({{documentOf("Guide.pdf"), "damaged"}, {documentOf("old.doc"), "x"}});
    const ListContent unreadable{ListContent::Kind::Unreadable, {}};
    EXPECT_EQ(Titles(rows.Rows(doc, unreadable, none)), (Strings{"古い報告", "ｶﾞｲﾄﾞ"}));
    EXPECT_EQ(rows.Status(unreadable, 2, false), "本文を読めないファイル: 2 件");
}

// Snippets that follow their answer reach the rows it let in, each the first word only its
// text holds, without the rows changing; those of another find are not taken.
TEST_F(EntryFind, SnippetsThatFollowReachTheRowsShown) {
    std::string memo, q1;
    for (const Entry& e : doc.Entries()) {
        if (e.Path().ends_with("memo.txt")) memo = DocumentPath(e.Path(), doc.FileEncoding());
        if (e.Path().ends_with("q1.doc")) q1 = DocumentPath(e.Path(), doc.FileEncoding());
    }
    // The second word's snippet of q1 is told apart by a "2".
    const auto answer = [&](const char* text, std::string snippet) {
        auto words = std::make_shared<DocumentWords>();
        words->findText = text;
        words->perWord = {{{q1, snippet}},
                          {{memo, snippet}, {q1, snippet.empty() ? "" : snippet + "2"}}};
        return words;
    };
    ListRows rows;
    rows.SetDocumentWords(answer("報告 契約", ""), false);
    const ListContent find{ListContent::Kind::Find, "報告 契約"};
    const auto shown = rows.Rows(doc, find, [](const Entry&) { return false; });
    ASSERT_EQ(Titles(shown), (Strings{"売上報告"}));
    EXPECT_EQ(rows.FoundInTextRows().at(shown[0]), "");
    rows.FillSnippets(answer("報告", "other"));
    EXPECT_EQ(rows.FoundInTextRows().at(shown[0]), "");
    rows.FillSnippets(answer("報告 契約", "…契約…"));
    EXPECT_EQ(rows.FoundInTextRows().at(shown[0]), "…契約…2");  // the title holds 報告
}

}  // namespace
}  // namespace kantoria
