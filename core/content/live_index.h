// The content index of the open catalogue, kept up to date and asked in the background so
// that the window never waits for it: one thread brings the index up to the catalogue's
// documents, another answers finds. Leaving the catalogue or ending the program never waits
// for either: the update is told to stop (its extraction programs are killed) and the threads
// end by themselves, however long a hung mount holds one of them.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/content/content_index.h"
#include "core/content/document_words.h"

namespace kantoria {

// What the threads tell; called on them, so each must return quickly (post to the owner's
// thread). None is called once the LiveIndex is gone.
struct LiveIndexEvents {
    // (done, total) documents of the running update, a few times a second at most.
    std::function<void(std::size_t, std::size_t)> progress;
    // An update ended, whole or stopped (report.status says), with every document the index
    // could not read, this update's and earlier ones'.
    std::function<void(const IndexReport&, const std::vector<FailedFile>&)> updated;
    // The answer to the newest question; its findText says which. An index that is not there
    // yet or cannot be read answers that no document holds a word.
    std::function<void(std::shared_ptr<const DocumentWords>)> answered;
    // The same answer again with the snippets it lacked (the shortest words are found
    // without reading any text), unless a newer question came first.
    std::function<void(std::shared_ptr<const DocumentWords>)> snippets;
};

class LiveIndex {
  public:
    LiveIndex(IndexOptions options, LiveIndexEvents events);
    // Stops the update and leaves both threads to end by themselves.
    ~LiveIndex();
    LiveIndex(const LiveIndex&) = delete;
    LiveIndex& operator=(const LiveIndex&) = delete;

    // The catalogue (system path) whose index is kept from now on; empty: none. Work for the
    // one before is stopped. carryFrom, when not empty, names the catalogue's path before a
    // save under another name: its index is copied to the new path first.
    void SetCatalogue(std::string path, std::string carryFrom = {});
    // Brings the index up to these documents (DocumentPath of every entry); an update already
    // running is stopped and this one runs instead.
    void Update(std::vector<std::string> documents);
    // The same, reading every document again.
    void Rebuild(std::vector<std::string> documents);
    // A paused update stops where it is (what it read is kept) and goes on when resumed.
    void SetPaused(bool paused);
    bool Paused() const;
    // Whether an update is waiting or running.
    bool Updating() const;
    // Asks which documents hold each word of findText (FindWords); only the newest question
    // is answered.
    void Ask(std::string findText);

    struct State;

  private:
    void Queue(std::vector<std::string> documents, bool rebuild);

    std::shared_ptr<State> state_;
};

// Copies the index of the catalogue at from to the catalogue at to (system paths), replacing
// what to had; nothing to do when from has none.
Status CopyIndex(const std::string& from, const std::string& to, const std::string& cacheRoot);

}  // namespace kantoria
