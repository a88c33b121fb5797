// One registered file and one holder.
#pragma once

#include <cstdint>
#include <list>
#include <memory>
#include <string>
#include <string_view>

namespace kantoria {

class Entry;

// An entry's place among the entries that share its key in one index (see FoldedIndex): a list
// in Id order whose first entry's prev names the last entry, so that appending needs no walk.
struct IndexLink {
    const Entry* prev = nullptr;  // null while the entry is not in the index
    const Entry* next = nullptr;
};

class Entry {
  public:
    Entry() = default;
    Entry(const Entry&) = delete;
    Entry& operator=(const Entry&) = delete;

    // The three texts lie back to back in one block the entry owns (a million entries hold
    // a block each rather than three strings each); they change only through EntryList, and a
    // change replaces the block, so a view of a text lasts until its entry changes.
    std::string_view Path() const { return path_; }    // as added; changes when its folder moves
    std::string_view Title() const { return title_; }  // the key by which the views find it
    std::string_view Comment() const { return comment_; }  // free text; may hold line breaks
    // Index of the entry's extension in the catalogue's extension and image lists.
    int ImageIndex() const { return imageIndex_; }

    // Unique for the life of the document and increasing in catalogue order: the identity a
    // view may carry, and how "first in catalogue order" is decided among index hits.
    std::uint64_t Id() const { return id_; }

  private:
    friend class EntryList;
    friend class FoldedIndex;
    friend struct EntryTesting;  // tests make entries that no list holds
    void SetTexts(std::string_view path, std::string_view title, std::string_view comment);

    std::unique_ptr<char[]> texts_;
    std::string_view path_;
    std::string_view title_;
    std::string_view comment_;
    int imageIndex_ = 0;
    std::uint64_t id_ = 0;
    // Bookkeeping of the indexes that hold the entry, one each; no part of its value.
    mutable IndexLink links_[2];
    std::list<Entry>::iterator self_;
};

// The handle of one entry; null stands for "none".
using EntryRef = const Entry*;

struct Holder {
    // Drive and directory with its trailing separator, spelled as in the first entry that
    // yields it.
    std::string folder;
};

}  // namespace kantoria
