#include "core/catalogue/entry_list.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <unordered_set>
#include <utility>

#include "core/catalogue/entry_change.h"

namespace kantoria {

void CDocEntry::SetTexts(std::string_view path, std::string_view title, std::string_view comment) {
    // Built whole before the old block goes: the texts given may be views of it.
    std::unique_ptr<char[]> texts(new char[path.size() + title.size() + comment.size() + 1]);
    char* at = texts.get();
    const auto put = [&at](std::string_view text) {
        if (text.empty()) return std::string_view();
        std::memcpy(at, text.data(), text.size());
        const std::string_view placed(at, text.size());
        at += text.size();
        return placed;
    };
    m_strPath = put(path);
    m_strTitle = put(title);
    m_strComment = put(comment);
    texts_ = std::move(texts);
}

POSITION EntryList::Append(std::string_view path, std::string_view title,
                           std::string_view comment) {
    CDocEntry& entry = entries_.emplace_back();
    entry.SetTexts(path, title, comment);
    entry.id_ = nextId_++;
    entry.self_ = std::prev(entries_.end());
    byTitle_.Insert(&entry);
    byPath_.Insert(&entry);
    ++revision_;
    ++pathsRevision_;
    if (journal_)
        journal_->RecordInserted({entries_.size() - 1, entry.id_, std::string(entry.m_strPath),
                                  std::string(entry.m_strTitle), std::string(entry.m_strComment)});
    return &entry;
}

void EntryList::Remove(POSITION entry) {
    if (journal_ && !journal_->ForgetInserted(entry->id_)) {
        // Only a recorded change needs the place; the last entry is found without a walk.
        const std::size_t position =
            entry == &entries_.back()
                ? entries_.size() - 1
                : static_cast<std::size_t>(std::distance(
                      entries_.cbegin(), std::list<CDocEntry>::const_iterator(entry->self_)));
        journal_->RecordPlaced(
            false, {{position, entry->id_, std::string(entry->m_strPath),
                     std::string(entry->m_strTitle), std::string(entry->m_strComment)}});
    }
    byTitle_.Erase(entry);
    byPath_.Erase(entry);
    entries_.erase(entry->self_);
    ++revision_;
    ++rewriteRevision_;
    ++pathsRevision_;
    ++reshapeRevision_;
}

std::vector<PlacedEntry> EntryList::RemoveMany(const std::vector<POSITION>& entries) {
    std::vector<PlacedEntry> removed;
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
        removed.push_back({position, it->id_, std::string(it->m_strPath),
                           std::string(it->m_strTitle), std::string(it->m_strComment)});
        it = entries_.erase(it);
    }
    ++revision_;
    ++rewriteRevision_;
    ++pathsRevision_;
    ++reshapeRevision_;
    if (journal_) journal_->RecordPlaced(false, removed);
    return removed;
}

std::vector<PlacedEntry> EntryList::RemoveIds(const std::vector<std::uint64_t>& ids) {
    const std::unordered_set<std::uint64_t> doomed(ids.begin(), ids.end());
    std::vector<POSITION> entries;
    entries.reserve(doomed.size());
    for (const CDocEntry& entry : entries_) {
        if (entries.size() == doomed.size()) break;
        if (doomed.count(entry.id_)) entries.push_back(&entry);
    }
    return RemoveMany(entries);
}

void EntryList::Restore(const std::vector<PlacedEntry>& entries) {
    if (entries.empty()) return;
    auto it = entries_.begin();
    std::size_t position = 0;
    for (const PlacedEntry& placed : entries) {
        for (; position < placed.position && it != entries_.end(); ++position) ++it;
        const auto added = entries_.emplace(it);
        CDocEntry& entry = *added;
        entry.SetTexts(placed.path, placed.title, placed.comment);
        entry.id_ = placed.id;
        entry.self_ = added;
        byTitle_.Insert(&entry);
        byPath_.Insert(&entry);
        nextId_ = std::max(nextId_, placed.id + 1);
        ++position;
    }
    ++revision_;
    ++rewriteRevision_;
    ++pathsRevision_;
    ++reshapeRevision_;
    if (journal_) journal_->RecordPlaced(true, entries);
}

void EntryList::Clear() {
    byTitle_.Clear();
    byPath_.Clear();
    entries_.clear();
    ++revision_;
    ++rewriteRevision_;
    ++pathsRevision_;
    ++reshapeRevision_;
    ++generation_;
}

void EntryList::Reserve(std::size_t n) {
    byTitle_.Reserve(n);
    byPath_.Reserve(n);
}

void EntryList::SetTitle(POSITION entry, std::string_view title) {
    if (journal_)
        journal_->RecordEdited(
            {entry->id_, EntryField::Title, std::string(entry->m_strTitle), std::string(title)});
    byTitle_.Erase(entry);
    CDocEntry& e = Mutable(entry);
    e.SetTexts(e.m_strPath, title, e.m_strComment);
    byTitle_.Insert(entry);
    ++revision_;
    ++rewriteRevision_;
}

void EntryList::SetComment(POSITION entry, std::string_view comment) {
    if (journal_)
        journal_->RecordEdited({entry->id_, EntryField::Comment, std::string(entry->m_strComment),
                                std::string(comment)});
    CDocEntry& e = Mutable(entry);
    e.SetTexts(e.m_strPath, e.m_strTitle, comment);
    ++revision_;
    ++rewriteRevision_;
}

void EntryList::SetPath(POSITION entry, std::string_view path) {
    if (journal_)
        journal_->RecordEdited(
            {entry->id_, EntryField::Path, std::string(entry->m_strPath), std::string(path)});
    byPath_.Erase(entry);
    CDocEntry& e = Mutable(entry);
    e.SetTexts(path, e.m_strTitle, e.m_strComment);
    byPath_.Insert(entry);
    ++revision_;
    ++rewriteRevision_;
    ++pathsRevision_;
    ++reshapeRevision_;
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
