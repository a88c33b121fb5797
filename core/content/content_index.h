// The text of a catalogue's documents, kept so that a document can be found by what it says.
// One Xapian database per catalogue in the user's cache (index_folder.h). Text is folded for
// finding (FoldForFind) before it is indexed with CJK n-grams; a query's candidates are then
// checked against the stored text by the word rule (word_rule.h), so that a marker finds its
// document and nothing that merely shares its n-grams.
//
// Updating is incremental: a document is known by its path and read again only when its size,
// modification time or inode changed; documents whose entry left the catalogue are dropped.
// Text comes from the extraction program, kept running under limits per document
// (extraction.h), two at a time. Only one updater holds an index at a time; readers need no
// lock.
#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/base/status.h"
#include "core/content/index_folder.h"
#include "core/os/limited_run.h"

namespace kantoria {

struct FailedFile {
    std::string path;  // system path
    std::string reason;
};

struct IndexReport {
    std::size_t indexed = 0;      // read now
    std::size_t unchanged = 0;    // kept as they were
    std::size_t removed = 0;      // gone from the catalogue
    std::size_t unsupported = 0;  // files of a kind not read
    std::size_t missing = 0;      // not there (their text, if any, is kept)
    std::vector<FailedFile> failed;
    double seconds = 0;
    Status status = Status::Ok();  // not Ok: the update stopped (what was committed stays)
};

struct IndexOptions {
    std::string cacheRoot;  // empty: the user's cache
    std::string extractor;  // empty: DefaultExtractor()
    RunLimits limits;
    int workers = 2;
    std::chrono::milliseconds lockPatience{10000};
    std::chrono::milliseconds statPatience{2000};
};

struct ContentHit {
    std::string path;  // system path
    std::string snippet;
};

// (done, total) documents so far.
using IndexProgress = std::function<void(std::size_t, std::size_t)>;

class ContentIndex {
  public:
    // Opens the index of the catalogue at cataloguePath (system path) for updating: waits at
    // most options.lockPatience for another updater (then Busy), makes the index when there is
    // none, and sets a damaged or foreign one aside to start afresh (notice says so).
    static std::unique_ptr<ContentIndex> OpenForUpdate(const std::string& cataloguePath,
                                                       const IndexOptions& options, Status& status,
                                                       std::string& notice);
    // Opens the index for finding. NotFound when the catalogue has none yet.
    static std::unique_ptr<ContentIndex> OpenForReading(const std::string& cataloguePath,
                                                        const IndexOptions& options,
                                                        Status& status);
    ~ContentIndex();
    ContentIndex(const ContentIndex&) = delete;
    ContentIndex& operator=(const ContentIndex&) = delete;

    // Brings the index up to the documents at paths (system paths; folders are passed over).
    // Stops early, keeping what was done, when stop becomes true.
    IndexReport Update(const std::vector<std::string>& paths, const IndexProgress& progress = {},
                       const std::atomic<bool>* stop = nullptr);

    // The documents whose text holds the folded word by the word rule, each with a snippet
    // around its first place, except where the word was found without reading any text (the
    // shortest kanji and kana words): those snippets are empty and Snippet gives them.
    // typing: the word may be the beginning of a text's word. An index that cannot be read
    // answers nothing, with status saying why.
    std::vector<ContentHit> FindWord(const std::string& foldedWord, bool typing, Status& status);
    // The snippet around the folded word's first place in the document at path; empty when
    // the index does not have its text or the text does not hold the word.
    std::string Snippet(const std::string& path, const std::string& foldedWord, bool typing,
                        Status& status);
    // The documents whose text holds every word of text (FindWords), the last one as typed.
    std::vector<ContentHit> Find(const std::string& text, Status& status);
    // The documents the last updates could not read, with why.
    std::vector<FailedFile> FailedFiles(Status& status);

    const IndexFolder& folder() const { return folder_; }

    struct Impl;

  private:
    ContentIndex(IndexFolder folder, std::unique_ptr<Impl> impl);
    IndexFolder folder_;
    std::unique_ptr<Impl> impl_;
};

}  // namespace kantoria
