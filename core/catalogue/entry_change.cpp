#include "core/catalogue/entry_change.h"

#include <unordered_map>
#include <unordered_set>
#include <utility>

namespace kantoria {
namespace {

std::vector<std::uint64_t> IdsOf(const std::vector<PlacedEntry>& entries) {
    std::vector<std::uint64_t> ids;
    ids.reserve(entries.size());
    for (const PlacedEntry& entry : entries) ids.push_back(entry.id);
    return ids;
}

}  // namespace

std::size_t EntryChange::EntriesTouched() const {
    std::unordered_set<std::uint64_t> ids;
    for (const auto& step : steps_) {
        if (const auto* placed = std::get_if<Placed>(&step))
            for (const PlacedEntry& entry : placed->entries) ids.insert(entry.id);
        else
            ids.insert(std::get<Edited>(step).id);
    }
    return ids.size();
}

std::uint64_t EntryChange::FirstId() const {
    if (steps_.empty()) return 0;
    if (const auto* placed = std::get_if<Placed>(&steps_.front()))
        return placed->entries.empty() ? 0 : placed->entries.front().id;
    return std::get<Edited>(steps_.front()).id;
}

void EntryChange::RecordInserted(PlacedEntry entry) {
    if (steps_.empty() || !std::holds_alternative<Placed>(steps_.back()) ||
        !std::get<Placed>(steps_.back()).inserted)
        steps_.emplace_back(Placed{true, {}});
    std::get<Placed>(steps_.back()).entries.push_back(std::move(entry));
}

bool EntryChange::ForgetInserted(std::uint64_t id) {
    if (steps_.empty()) return false;
    auto* placed = std::get_if<Placed>(&steps_.back());
    if (!placed || !placed->inserted || placed->entries.back().id != id) return false;
    placed->entries.pop_back();
    if (placed->entries.empty()) steps_.pop_back();
    return true;
}

void EntryChange::RecordPlaced(bool inserted, std::vector<PlacedEntry> entries) {
    if (!entries.empty()) steps_.emplace_back(Placed{inserted, std::move(entries)});
}

void EntryChange::RecordEdited(Edited edit) {
    steps_.emplace_back(std::move(edit));
}

void EntryChange::Put(EntryList& list, const Placed& placed, bool in) {
    if (in)
        list.Restore(placed.entries);
    else
        list.RemoveIds(IdsOf(placed.entries));
}

// A run of edits finds its entries in one walk, however many it touches (a relocation edits
// thousands of paths).
void EntryChange::SetTexts(EntryList& list, const std::vector<const Edited*>& edits, bool after) {
    std::unordered_map<std::uint64_t, EntryRef> entries;
    for (const Edited* edit : edits) entries.emplace(edit->id, nullptr);
    for (const Entry& entry : list)
        if (const auto found = entries.find(entry.Id()); found != entries.end())
            found->second = &entry;
    for (const Edited* edit : edits) {
        const EntryRef entry = entries[edit->id];
        if (!entry) continue;
        std::string text = after ? edit->after : edit->before;
        switch (edit->field) {
            case EntryField::Title:
                list.SetTitle(entry, std::move(text));
                break;
            case EntryField::Comment:
                list.SetComment(entry, std::move(text));
                break;
            case EntryField::Path:
                list.SetPath(entry, std::move(text));
                break;
        }
    }
}

void EntryChange::Undo(EntryList& list) const {
    std::vector<const Edited*> edits;
    for (auto step = steps_.rbegin(); step != steps_.rend(); ++step) {
        if (const auto* edit = std::get_if<Edited>(&*step)) {
            edits.push_back(edit);
            continue;
        }
        if (!edits.empty()) SetTexts(list, std::exchange(edits, {}), false);
        const Placed& placed = std::get<Placed>(*step);
        Put(list, placed, !placed.inserted);
    }
    if (!edits.empty()) SetTexts(list, edits, false);
}

void EntryChange::Redo(EntryList& list) const {
    std::vector<const Edited*> edits;
    for (const auto& step : steps_) {
        if (const auto* edit = std::get_if<Edited>(&step)) {
            edits.push_back(edit);
            continue;
        }
        if (!edits.empty()) SetTexts(list, std::exchange(edits, {}), true);
        const Placed& placed = std::get<Placed>(step);
        Put(list, placed, placed.inserted);
    }
    if (!edits.empty()) SetTexts(list, edits, true);
}

EntryChangeRecorder::EntryChangeRecorder(EntryList& list, EntryChange& change)
    : list_(list), active_(list.journal_ == nullptr) {
    if (active_) list_.journal_ = &change;
}

EntryChangeRecorder::~EntryChangeRecorder() {
    if (active_) list_.journal_ = nullptr;
}

}  // namespace kantoria
