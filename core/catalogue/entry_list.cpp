#include "core/catalogue/entry_list.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <unordered_set>
#include <utility>

#include "core/catalogue/entry_change.h"

namespace kantoria {

void Entry::SetTexts(std::string_view path, std::string_view title, std::string_view comment) {
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
    path_ = put(path);
    title_ = put(title);
    comment_ = put(comment);
    texts_ = std::move(texts);
}

EntryRef EntryList::Append(std::string_view path, std::string_view title,
                           std::string_view comment) {
    Entry& entry = entries_.emplace_back();
    entry.SetTexts(path, title, comment);
    entry.id_ = nextId_++;
    entry.self_ = std::prev(entries_.end());
    byTitle_.Insert(&entry);
    byPath_.Insert(&entry);
    ++revision_;
    ++pathsRevision_;
    if (journal_)
        journal_->RecordInserted({entries_.size() - 1, entry.id_, std::string(entry.Path()),
                                  std::string(entry.Title()), std::string(entry.Comment())});
    return &entry;
}

void EntryList::Remove(EntryRef entry) {
    if (journal_ && !journal_->ForgetInserted(entry->id_)) {
        // Only a recorded change needs the place; the last entry is found without a walk.
        const std::size_t position =
            entry == &entries_.back()
                ? entries_.size() - 1
                : static_cast<std::size_t>(std::distance(
                      entries_.cbegin(), std::list<Entry>::const_iterator(entry->self_)));
        journal_->RecordPlaced(
            false, {{position, entry->id_, std::string(entry->Path()), std::string(entry->Title()),
                     std::string(entry->Comment())}});
    }
    byTitle_.Erase(entry);
    byPath_.Erase(entry);
    entries_.erase(entry->self_);
    ++revision_;
    ++rewriteRevision_;
    ++pathsRevision_;
    ++reshapeRevision_;
}

std::vector<PlacedEntry> EntryList::RemoveMany(const std::vector<EntryRef>& entries) {
    std::vector<PlacedEntry> removed;
    if (entries.empty()) return removed;
    const std::unordered_set<EntryRef> doomed(entries.begin(), entries.end());
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
        removed.push_back({position, it->id_, std::string(it->Path()), std::string(it->Title()),
                           std::string(it->Comment())});
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
    std::vector<EntryRef> entries;
    entries.reserve(doomed.size());
    for (const Entry& entry : entries_) {
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
        Entry& entry = *added;
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

void EntryList::SetTitle(EntryRef entry, std::string_view title) {
    if (journal_)
        journal_->RecordEdited(
            {entry->id_, EntryField::Title, std::string(entry->Title()), std::string(title)});
    byTitle_.Erase(entry);
    Entry& e = Mutable(entry);
    e.SetTexts(e.Path(), title, e.Comment());
    byTitle_.Insert(entry);
    ++revision_;
    ++rewriteRevision_;
}

void EntryList::SetComment(EntryRef entry, std::string_view comment) {
    if (journal_)
        journal_->RecordEdited(
            {entry->id_, EntryField::Comment, std::string(entry->Comment()), std::string(comment)});
    Entry& e = Mutable(entry);
    e.SetTexts(e.Path(), e.Title(), comment);
    ++revision_;
    ++rewriteRevision_;
}

void EntryList::SetPath(EntryRef entry, std::string_view path) {
    if (journal_)
        journal_->RecordEdited(
            {entry->id_, EntryField::Path, std::string(entry->Path()), std::string(path)});
    byPath_.Erase(entry);
    Entry& e = Mutable(entry);
    e.SetTexts(path, e.Title(), e.Comment());
    byPath_.Insert(entry);
    ++revision_;
    ++rewriteRevision_;
    ++pathsRevision_;
    ++reshapeRevision_;
}

void EntryList::SetImage(EntryRef entry, int image) {
    Mutable(entry).imageIndex_ = image;
}

EntryRef EntryList::FindByTitle(std::string_view title) const {
    return byTitle_.First(title);
}

bool EntryList::TitleExists(std::string_view title) const {
    bool found = false;
    byTitle_.ForEachMatch(title, [&](EntryRef e) {
        found = e->Title() == title;
        return !found;
    });
    return found;
}

EntryRef EntryList::FindByPath(std::string_view path) const {
    return byPath_.First(path);
}

EntryRef EntryList::FindById(std::uint64_t id) const {
    for (const Entry& e : entries_)
        if (e.Id() == id) return &e;
    return nullptr;
}

}  // namespace kantoria
