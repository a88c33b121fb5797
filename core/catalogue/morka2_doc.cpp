#include "core/catalogue/morka2_doc.h"

#include <algorithm>
#include <unordered_map>

#include "core/text/path_identity.h"
#include "core/text/path_split.h"

namespace kantoria {

void CMORKA2Doc::RebuildHolders() {
    m_HolderList.clear();
    // Keys are views into the holders' own strings, which a std::list keeps in place.
    std::unordered_map<std::string_view, CHolder*, PathHash, PathEqual> byFolder;
    std::string_view lastKey;
    bool haveLast = false;
    for (const CDocEntry& entry : m_EntryList) {
        const std::string_view key = FolderOf(entry.m_strPath);
        // Neighbouring entries mostly share a folder: skip the lookup then.
        if (haveLast && key == lastKey) continue;
        if (byFolder.find(key) == byFolder.end()) {
            CHolder& holder = m_HolderList.emplace_back();
            holder.m_strFolder.assign(key);
            byFolder.emplace(holder.m_strFolder, &holder);
        }
        lastKey = key;
        haveLast = true;
    }
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
