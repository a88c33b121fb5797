#include "core/catalogue/entry_list.h"

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

void EntryList::Clear() {
    byTitle_.Clear();
    byPath_.Clear();
    entries_.clear();
    ++revision_;
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
