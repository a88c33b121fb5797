#include "catalogue/entry_list.h"

#include <utility>

namespace kantoria {

template <std::string CDocEntry::*Field>
POSITION EntryList::First(const Index<Field>& index, std::string_view key) {
    POSITION first = nullptr;
    const auto [from, to] = index.equal_range(key);
    for (auto it = from; it != to; ++it)
        if (!first || (*it)->Id() < first->Id()) first = *it;
    return first;
}

template <std::string CDocEntry::*Field>
void EntryList::Erase(Index<Field>& index, POSITION entry) {
    const auto [from, to] = index.equal_range(entry);
    for (auto it = from; it != to; ++it) {
        if (*it == entry) {
            index.erase(it);
            return;
        }
    }
}

POSITION EntryList::Append(std::string path, std::string title, std::string comment) {
    CDocEntry& entry = entries_.emplace_back();
    entry.m_strPath = std::move(path);
    entry.m_strTitle = std::move(title);
    entry.m_strComment = std::move(comment);
    entry.id_ = nextId_++;
    entry.self_ = std::prev(entries_.end());
    byTitle_.insert(&entry);
    byPath_.insert(&entry);
    return &entry;
}

void EntryList::Remove(POSITION entry) {
    Erase(byTitle_, entry);
    Erase(byPath_, entry);
    entries_.erase(entry->self_);
}

void EntryList::Clear() {
    byTitle_.clear();
    byPath_.clear();
    entries_.clear();
}

void EntryList::Reserve(std::size_t n) {
    byTitle_.reserve(n);
    byPath_.reserve(n);
}

void EntryList::SetTitle(POSITION entry, std::string title) {
    Erase(byTitle_, entry);
    Mutable(entry).m_strTitle = std::move(title);
    byTitle_.insert(entry);
}

void EntryList::SetComment(POSITION entry, std::string comment) {
    Mutable(entry).m_strComment = std::move(comment);
}

void EntryList::SetImage(POSITION entry, int image) {
    Mutable(entry).m_nImage = image;
}

POSITION EntryList::FindByTitle(std::string_view title) const {
    return First(byTitle_, title);
}

bool EntryList::TitleExists(std::string_view title) const {
    const auto [from, to] = byTitle_.equal_range(title);
    for (auto it = from; it != to; ++it)
        if ((*it)->m_strTitle == title) return true;
    return false;
}

POSITION EntryList::FindByPath(std::string_view path) const {
    return First(byPath_, path);
}

POSITION EntryList::FindById(std::uint64_t id) const {
    for (const CDocEntry& e : entries_)
        if (e.Id() == id) return &e;
    return nullptr;
}

}  // namespace kantoria
