#include "core/catalogue/entry_list.h"

#include <unordered_set>
#include <utility>

namespace kantoria {

POSITION EntryList::Append(std::string path, std::string title, std::string comment) {
    CDocEntry& entry = entries_.emplace_back();
    entry.m_strPath = std::move(path);
    entry.m_strTitle = std::move(title);
    entry.m_strComment = std::move(comment);
    entry.id_ = nextId_++;
    entry.self_ = std::prev(entries_.end());
    byTitle_.Insert(&entry);
    byPath_.Insert(&entry);
    ++revision_;
    return &entry;
}

void EntryList::Remove(POSITION entry) {
    byTitle_.Erase(entry);
    byPath_.Erase(entry);
    entries_.erase(entry->self_);
    ++revision_;
}

std::vector<RemovedEntry> EntryList::RemoveMany(const std::vector<POSITION>& entries) {
    std::vector<RemovedEntry> removed;
    if (entries.empty()) return removed;
    const std::unordered_set<POSITION> doomed(entries.begin(), entries.end());
    removed.reserve(doomed.size());
    std::size_t position = 0;
    for (auto it = entries_.begin(); it != entries_.end() && removed.size() < doomed.size();
         ++position) {
        if (!doomed.count(&*it)) {
            ++it;
            continue;
        }
        byTitle_.Erase(&*it);
        byPath_.Erase(&*it);
        removed.push_back({position, it->id_, std::move(it->m_strPath), std::move(it->m_strTitle),
                           std::move(it->m_strComment)});
        it = entries_.erase(it);
    }
    ++revision_;
    return removed;
}

void EntryList::Clear() {
    byTitle_.Clear();
    byPath_.Clear();
    entries_.clear();
    ++revision_;
    ++generation_;
}

void EntryList::Reserve(std::size_t n) {
    byTitle_.Reserve(n);
    byPath_.Reserve(n);
}

void EntryList::SetTitle(POSITION entry, std::string title) {
    byTitle_.Erase(entry);
    Mutable(entry).m_strTitle = std::move(title);
    byTitle_.Insert(entry);
    ++revision_;
}

void EntryList::SetComment(POSITION entry, std::string comment) {
    Mutable(entry).m_strComment = std::move(comment);
    ++revision_;
}

void EntryList::SetPath(POSITION entry, std::string path) {
    byPath_.Erase(entry);
    Mutable(entry).m_strPath = std::move(path);
    byPath_.Insert(entry);
    ++revision_;
}

void EntryList::SetImage(POSITION entry, int image) {
    Mutable(entry).m_nImage = image;
}

POSITION EntryList::FindByTitle(std::string_view title) const {
    return byTitle_.First(title);
}

bool EntryList::TitleExists(std::string_view title) const {
    bool found = false;
    byTitle_.ForEachMatch(title, [&](POSITION e) {
        found = e->m_strTitle == title;
        return !found;
    });
    return found;
}

POSITION EntryList::FindByPath(std::string_view path) const {
    return byPath_.First(path);
}

POSITION EntryList::FindById(std::uint64_t id) const {
    for (const CDocEntry& e : entries_)
        if (e.Id() == id) return &e;
    return nullptr;
}

}  // namespace kantoria
