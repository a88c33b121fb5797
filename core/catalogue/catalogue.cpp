#include "core/catalogue/catalogue.h"

#include <algorithm>
#include <iterator>
#include <unordered_map>

#include "core/text/path_identity.h"
#include "core/text/path_split.h"

namespace kantoria {

void Catalogue::RebuildHolders() {
    // Holders follow from the entries' paths in catalogue order alone: after a change of titles
    // or comments they stand as they are, and a large catalogue is not walked for nothing.
    const std::uint64_t revision = entries_.PathsRevision();
    if (indexedRevision_ == revision) return;
    if (indexedReshape_ == entries_.ReshapeRevision() && indexedCount_ <= entries_.size()) {
        // Entries were only appended: their holders come after the others, or are among them.
        auto first = entries_.end();
        std::advance(first, -static_cast<std::ptrdiff_t>(entries_.size() - indexedCount_));
        if (IndexEntries(first)) ++holdersRevision_;
    } else {
        const std::list<Holder> before = std::move(holders_);
        holders_.clear();
        holderEntries_.clear();
        IndexEntries(entries_.begin());
        if (!std::equal(before.begin(), before.end(), holders_.begin(), holders_.end(),
                        [](const Holder& a, const Holder& b) { return a.folder == b.folder; }))
            ++holdersRevision_;
    }
    indexedRevision_ = revision;
    indexedReshape_ = entries_.ReshapeRevision();
    indexedCount_ = entries_.size();
}

bool Catalogue::IndexEntries(EntryList::const_iterator first) {
    bool made = false;
    // Keys are views into the holders' own strings, which a std::list keeps in place.
    std::string_view lastKey;
    std::vector<EntryRef>* last = nullptr;
    for (auto it = first; it != entries_.end(); ++it) {
        const std::string_view key = FolderOf(it->Path());
        // Neighbouring entries mostly share a folder: skip the lookup then.
        if (last == nullptr || key != lastKey) {
            auto found = holderEntries_.find(key);
            if (found == holderEntries_.end()) {
                Holder& holder = holders_.emplace_back();
                holder.folder.assign(key);
                found = holderEntries_.emplace(holder.folder, std::vector<EntryRef>()).first;
                made = true;
            }
            last = &found->second;
            lastKey = key;
        }
        last->push_back(&*it);
    }
    return made;
}

const std::vector<EntryRef>* Catalogue::EntriesOfHolder(std::string_view folder) const {
    if (indexedRevision_ != entries_.PathsRevision()) return nullptr;
    static const std::vector<EntryRef> none;
    const auto found = holderEntries_.find(folder);
    return found == holderEntries_.end() ? &none : &found->second;
}

void Catalogue::ResetHeader() {
    selectedTitle_.clear();
    lastHolder_.clear();
    lastHolderFolder_.reset();
    titleWidth_ = kDefaultTitleWidth;
    commentWidth_ = kDefaultCommentWidth;
    pathWidth_ = kDefaultPathWidth;
}

void Catalogue::ClearAll() {
    ClearEntries();
    treeImages_.reset();
}

void Catalogue::ResetForNew() {
    ResetHeader();
    clipTitle_.clear();
    clipComment_.clear();
    clipPath_.clear();
    ClearEntries();
}

void Catalogue::ClearEntries() {
    holders_.clear();
    holderEntries_.clear();
    ++holdersRevision_;
    entries_.Clear();
    extensions_.clear();
    smallImages_.reset();
    largeImages_.reset();
}

bool Catalogue::ViewStateChanged() const {
    return selectedTitle_ != savedSelected_ || lastHolder_ != savedLastHolder_;
}

void Catalogue::MarkUnchanged() {
    savedRevision_ = entries_.Revision();
    savedSelected_ = selectedTitle_;
    savedLastHolder_ = lastHolder_;
}

void Catalogue::KeepUnmodified(bool wasModified) {
    if (!wasModified) savedRevision_ = entries_.Revision();
}

void Catalogue::AddObserver(CatalogueObserver* view) {
    if (std::find(observers_.begin(), observers_.end(), view) == observers_.end())
        observers_.push_back(view);
}

void Catalogue::RemoveObserver(CatalogueObserver* view) {
    observers_.erase(std::remove(observers_.begin(), observers_.end(), view), observers_.end());
}

void Catalogue::UpdateAllViews(CatalogueObserver* sender) {
    // A view may leave or join while another refreshes: walk a copy, and skip a view that
    // has left in the meantime.
    const std::vector<CatalogueObserver*> views = observers_;
    for (CatalogueObserver* view : views) {
        if (view == sender) continue;
        if (std::find(observers_.begin(), observers_.end(), view) == observers_.end()) continue;
        view->OnUpdate(sender);
    }
}

}  // namespace kantoria
