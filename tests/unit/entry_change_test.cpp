#include "core/catalogue/entry_change.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace kantoria {
namespace {

struct Shot {
    std::uint64_t id;
    std::string path, title, comment;
    bool operator==(const Shot&) const = default;
};

std::vector<Shot> ShotOf(const EntryList& list) {
    std::vector<Shot> shot;
    for (const Entry& e : list)
        shot.push_back(
            {e.Id(), std::string(e.Path()), std::string(e.Title()), std::string(e.Comment())});
    return shot;
}

// The indexes must answer as a walk would after entries came back in the middle.
void ExpectIndexesAgree(const EntryList& list) {
    for (const Entry& e : list) {
        EntryRef first = nullptr;
        for (const Entry& f : list)
            if (EqualsNoCase(f.Title(), e.Title())) {
                first = &f;
                break;
            }
        EXPECT_EQ(list.FindByTitle(e.Title()), first);
    }
}

EntryRef Nth(const EntryList& list, std::size_t n) {
    auto it = list.begin();
    std::advance(it, static_cast<std::ptrdiff_t>(n % list.size()));
    return &*it;
}

// Random changes of every kind, several operations each, over a list whose titles collide:
// undo gives back exactly the entries before (texts, Ids, order), redo exactly those after,
// and Ids keep rising in catalogue order, entries appended after an undo included.
TEST(EntryChange, UndoAndRedoGiveBackEachStateExactly) {
    std::mt19937 rng(7);
    const std::vector<std::string> words = {"a", "A", "b", "表", "報告"};
    auto text = [&] { return words[rng() % words.size()] + words[rng() % words.size()]; };
    EntryList list;
    for (int i = 0; i < 12; ++i) list.Append("C:\\" + text(), text(), text());

    for (int round = 0; round < 300; ++round) {
        const std::vector<Shot> before = ShotOf(list);
        EntryChange change;
        {
            EntryChangeRecorder recorder(list, change);
            for (int n = 1 + static_cast<int>(rng() % 4); n > 0; --n) {
                switch (list.size() < 3 ? 0 : rng() % 6) {
                    case 0:
                        list.Append("C:\\" + text(), text(), text());
                        break;
                    case 1:
                        list.Remove(Nth(list, rng()));
                        break;
                    case 2:
                        list.RemoveMany({Nth(list, rng()), Nth(list, rng()), Nth(list, rng())});
                        break;
                    case 3:
                        list.SetTitle(Nth(list, rng()), text());
                        break;
                    case 4:
                        list.SetComment(Nth(list, rng()), text());
                        break;
                    default:
                        list.SetPath(Nth(list, rng()), "D:\\" + text());
                        break;
                }
            }
        }
        const std::vector<Shot> after = ShotOf(list);
        change.Undo(list);
        ASSERT_EQ(ShotOf(list), before) << "round " << round;
        ExpectIndexesAgree(list);
        change.Redo(list);
        ASSERT_EQ(ShotOf(list), after) << "round " << round;
        ExpectIndexesAgree(list);
        if (round % 3 == 0) change.Undo(list);
    }
    list.Append("C:\\new", "new", "");
    std::uint64_t previous = 0;
    for (const Entry& e : list) {
        EXPECT_GT(e.Id(), previous);
        previous = e.Id();
    }
}

// What a change reports of itself; a search that takes back what it added leaves nothing, and
// a recorder inside another records nothing of its own.
TEST(EntryChange, CountsWhatItTouchedAndForgetsWhatItTookBack) {
    EntryList list;
    EntryRef kept = list.Append("C:\\k", "k", "");
    EntryChange change;
    {
        EntryChangeRecorder recorder(list, change);
        EntryChange inner;
        {
            EntryChangeRecorder nested(list, inner);
            std::vector<EntryRef> added = {list.Append("C:\\a", "a", ""),
                                           list.Append("C:\\b", "b", "")};
            list.Remove(added[1]);
            list.Remove(added[0]);
        }
        EXPECT_TRUE(inner.empty());
        EXPECT_TRUE(change.empty());
        list.SetTitle(kept, "k2");
        list.SetComment(kept, "c");
        list.Append("C:\\c", "c", "");
    }
    EXPECT_EQ(change.EntriesTouched(), 2u);
    EXPECT_EQ(change.FirstId(), kept->Id());
    list.SetTitle(kept, "unrecorded");
    EXPECT_EQ(change.EntriesTouched(), 2u);
}

}  // namespace
}  // namespace kantoria
