// Which entries' files to look at, and when, so that the list can mark the missing ones: the
// listed rows first, then the whole catalogue in slices, each path at most once per walk; a
// refresh of the same rows asks only about what is not known to be there; answers for a list
// that has since been replaced are dropped. The checker does the looking off the caller's
// thread; the caller only ticks: it calls AskNext while a walk goes on and TakeAnswers while
// answers are awaited.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "core/catalogue/entry_list.h"
#include "core/os/presence_checker.h"
#include "core/text/text_codec.h"

namespace kantoria {

// What is known of the files behind the entries, by path; a path not in it is not known yet.
// Both are looked up by the entries' own texts without copying them.
struct TextHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const {
        return std::hash<std::string_view>{}(text);
    }
};
using PresenceMap = std::unordered_map<std::string, Presence, TextHash, std::equal_to<>>;
using PathSet = std::unordered_set<std::string, TextHash, std::equal_to<>>;

// What the caller is to do after a step.
struct PresenceWork {
    bool collect = false;  // paths were handed to the checker: take the answers until idle
    bool walkOn = false;   // the walk over the catalogue goes on: call AskNext again soon
    bool restart = false;  // the entries changed under the walk: call Check again
};

// What taking the answers brought.
struct PresenceAnswers {
    bool changed = false;  // some presence was learnt: repaint
    bool busy = false;     // the checker was still looking before the answers were taken
};

class PresenceTracker {
  public:
    // Paths of the catalogue's entries the walk hands over per AskNext.
    static constexpr std::size_t kSlice = 20000;

    explicit PresenceTracker(std::unique_ptr<PresenceChecker> checker);
    // Looks through another checker from now on and forgets everything known.
    void Replace(std::unique_ptr<PresenceChecker> checker);

    // After the list was filled: listed are its rows, shownHolder the folder of the holder it
    // shows (nothing for a choice). A change of the entries starts a walk over the catalogue;
    // otherwise the rows not known to be there are asked about again, all of them when
    // another holder is shown.
    PresenceWork Check(const EntryList& entries, const std::vector<EntryRef>& listed,
                       std::optional<std::string> shownHolder, Encoding encoding);
    // Hands the checker the next slice of the walk.
    PresenceWork AskNext(const EntryList& entries, Encoding encoding);
    // Applies the answers that came.
    PresenceAnswers TakeAnswers();

    const PresenceMap& Known() const { return known_; }
    bool Missing(std::string_view path) const;
    bool Walking() const { return unasked_.has_value(); }

  private:
    void Restart(const EntryList& entries);
    void Ask(std::string_view path, std::vector<std::string>& paths);
    // Hands paths to the checker as the file system spells them.
    PresenceWork Enqueue(std::vector<std::string> paths, Encoding encoding);

    std::unique_ptr<PresenceChecker> checker_;
    PresenceMap known_;
    // Queued or being looked at for the current catalogue: an answer for a path not in it
    // was asked for a catalogue since replaced, and is dropped.
    PathSet asked_;
    // The entry path of each path the checker was given in another spelling.
    std::unordered_map<std::string, std::string> entryPaths_;
    std::uint64_t checkedRevision_ = ~std::uint64_t{0};
    std::optional<std::string> lookedAt_;  // the holder whose rows were last looked at whole
    // The walk over the catalogue after a change of its entries: where it goes on, the paths
    // it has asked about (each once), and what is known of the paths it met (what stays known
    // once it is over).
    std::optional<EntryList::const_iterator> unasked_;
    PathSet walked_;
    PresenceMap kept_;
    // Set once a catalogue's files have all been looked at: a later walk (after a change of
    // its entries) asks only about paths not known yet. checkedGeneration_ is the entries'
    // generation that walk was over.
    bool walkKeepsKnown_ = false;
    std::uint64_t checkedGeneration_ = ~std::uint64_t{0};
};

}  // namespace kantoria
