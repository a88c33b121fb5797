// What one change did to the entries, in a form that can be taken back and done again: the
// entries it put in or took out with their places and Ids, and the texts it replaced. A change
// is recorded while it happens (EntryChangeRecorder), however it was made, so that no command
// has to describe its own work twice.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "core/catalogue/entry_list.h"

namespace kantoria {

enum class EntryField { Title, Comment, Path };

class EntryChange {
  public:
    bool empty() const { return steps_.empty(); }
    // How many distinct entries the change touched.
    std::size_t EntriesTouched() const;
    // The Id of the first entry the change touched (0 when it touched none): where the user's
    // eye goes after the change is undone or done again.
    std::uint64_t FirstId() const;

    // list must be as the change left it; afterwards it is as before the change, every entry
    // back in its place with its Id.
    void Undo(EntryList& list) const;
    // list must be as before the change (or as Undo left it); afterwards it is as the change
    // left it.
    void Redo(EntryList& list) const;

  private:
    friend class EntryList;

    // Entries that went in (inserted) or out, in ascending order of place.
    struct Placed {
        bool inserted = false;
        std::vector<PlacedEntry> entries;
    };
    struct Edited {
        std::uint64_t id = 0;
        EntryField field = EntryField::Title;
        std::string before, after;
    };

    void RecordInserted(PlacedEntry entry);
    // Answers whether entry is the last one this change inserted, which is then forgotten: an
    // entry put in and taken out again by the same change leaves no trace.
    bool ForgetInserted(std::uint64_t id);
    void RecordPlaced(bool inserted, std::vector<PlacedEntry> entries);
    void RecordEdited(Edited edit);
    static void Put(EntryList& list, const Placed& placed, bool in);
    static void SetTexts(EntryList& list, const std::vector<const Edited*>& edits, bool after);

    std::vector<std::variant<Placed, Edited>> steps_;
};

// Records every change made to list while it lives into change. Inside another recorder of the
// same list it records nothing: the outer one holds the whole change.
class EntryChangeRecorder {
  public:
    EntryChangeRecorder(EntryList& list, EntryChange& change);
    ~EntryChangeRecorder();
    EntryChangeRecorder(const EntryChangeRecorder&) = delete;
    EntryChangeRecorder& operator=(const EntryChangeRecorder&) = delete;

  private:
    EntryList& list_;
    bool active_;
};

}  // namespace kantoria
