#include "core/catalogue/morka2_doc.h"

#include <algorithm>
#include <iterator>
#include <unordered_map>

#include "core/text/path_identity.h"
#include "core/text/path_split.h"

namespace kantoria {

void CMORKA2Doc::RebuildHolders() {
    // Holders follow from the entries' paths in catalogue order alone: after a change of titles
    // or comments they stand as they are, and a large catalogue is not walked for nothing.
    const std::uint64_t revision = m_EntryList.PathsRevision();
    if (indexedRevision_ == revision) return;
    if (indexedReshape_ == m_EntryList.ReshapeRevision() && indexedCount_ <= m_EntryList.size()) {
        // Entries were only appended: their holders come after the others, or are among them.
        auto first = m_EntryList.end();
        std::advance(first, -static_cast<std::ptrdiff_t>(m_EntryList.size() - indexedCount_));
        if (IndexEntries(first)) ++holdersRevision_;
    } else {
        const std::list<CHolder> before = std::move(m_HolderList);
        m_HolderList.clear();
        holderEntries_.clear();
        IndexEntries(m_EntryList.begin());
        if (!std::equal(
                before.begin(), before.end(), m_HolderList.begin(), m_HolderList.end(),
                [](const CHolder& a, const CHolder& b) { return a.m_strFolder == b.m_strFolder; }))
            ++holdersRevision_;
    }
    indexedRevision_ = revision;
    indexedReshape_ = m_EntryList.ReshapeRevision();
    indexedCount_ = m_EntryList.size();
}

bool CMORKA2Doc::IndexEntries(EntryList::const_iterator first) {
    bool made = false;
    // Keys are views into the holders' own strings, which a std::list keeps in place.
    std::string_view lastKey;
    std::vector<POSITION>* last = nullptr;
    for (auto it = first; it != m_EntryList.end(); ++it) {
        const std::string_view key = FolderOf(it->m_strPath);
        // Neighbouring entries mostly share a folder: skip the lookup then.
        if (last == nullptr || key != lastKey) {
            auto found = holderEntries_.find(key);
            if (found == holderEntries_.end()) {
                CHolder& holder = m_HolderList.emplace_back();
                holder.m_strFolder.assign(key);
                found = holderEntries_.emplace(holder.m_strFolder, std::vector<POSITION>()).first;
                made = true;
            }
            last = &found->second;
            lastKey = key;
        }
        last->push_back(&*it);
    }
    return made;
}

const std::vector<POSITION>* CMORKA2Doc::EntriesOfHolder(std::string_view folder) const {
    if (indexedRevision_ != m_EntryList.PathsRevision()) return nullptr;
    static const std::vector<POSITION> none;
    const auto found = holderEntries_.find(folder);
    return found == holderEntries_.end() ? &none : &found->second;
}

void CMORKA2Doc::ResetHeader() {
    m_strSelected.clear();
    m_strLastHolder.clear();
    m_strLastHolderFolder.reset();
    m_pShownChoice.reset();
    m_nTitleWidth = kDefaultTitleWidth;
    m_nCommentWidth = kDefaultCommentWidth;
    m_nPathWidth = kDefaultPathWidth;
}

void CMORKA2Doc::ClearAll() {
    ClearEntries();
    m_ImageListTree.reset();
}

void CMORKA2Doc::ResetForNew() {
    ResetHeader();
    m_strClipTitle.clear();
    m_strClipComment.clear();
    m_strClipPath.clear();
    ClearEntries();
}

void CMORKA2Doc::ClearEntries() {
    m_HolderList.clear();
    holderEntries_.clear();
    ++holdersRevision_;
    m_EntryList.Clear();
    m_ExtList.clear();
    m_ImageListSmall.reset();
    m_ImageListLarge.reset();
}

bool CMORKA2Doc::ViewStateChanged() const {
    return m_strSelected != savedSelected_ || m_strLastHolder != savedLastHolder_;
}

void CMORKA2Doc::MarkUnchanged() {
    savedRevision_ = m_EntryList.Revision();
    savedSelected_ = m_strSelected;
    savedLastHolder_ = m_strLastHolder;
}

void CMORKA2Doc::KeepUnmodified(bool wasModified) {
    if (!wasModified) savedRevision_ = m_EntryList.Revision();
}

void CMORKA2Doc::AddObserver(CDocObserver* view) {
    if (std::find(observers_.begin(), observers_.end(), view) == observers_.end())
        observers_.push_back(view);
}

void CMORKA2Doc::RemoveObserver(CDocObserver* view) {
    observers_.erase(std::remove(observers_.begin(), observers_.end(), view), observers_.end());
}

void CMORKA2Doc::UpdateAllViews(CDocObserver* sender) {
    // A view may leave or join while another refreshes: walk a copy, and skip a view that
    // has left in the meantime.
    const std::vector<CDocObserver*> views = observers_;
    for (CDocObserver* view : views) {
        if (view == sender) continue;
        if (std::find(observers_.begin(), observers_.end(), view) == observers_.end()) continue;
        view->OnUpdate(sender);
    }
}

}  // namespace kantoria
