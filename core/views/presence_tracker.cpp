#include "core/views/presence_tracker.h"

#include <utility>

namespace kantoria {

PresenceTracker::PresenceTracker(std::unique_ptr<PresenceChecker> checker)
    : checker_(std::move(checker)) {}

void PresenceTracker::Replace(std::unique_ptr<PresenceChecker> checker) {
    checker_ = std::move(checker);
    known_.clear();
    asked_.clear();
    entryPaths_.clear();
    unasked_.reset();
    walked_.clear();
    kept_.clear();
    checkedRevision_ = ~std::uint64_t{0};
    walkKeepsKnown_ = false;
}

bool PresenceTracker::Missing(std::string_view path) const {
    const auto known = known_.find(path);
    return known != known_.end() && known->second == Presence::Missing;
}

void PresenceTracker::Restart(const EntryList& entries) {
    // Another catalogue came: every file is looked at again, the listed ones first, and what
    // is known of paths no longer held is forgotten once the walk is over. What was known
    // stays shown until the new answer comes.
    checkedGeneration_ = entries.Generation();
    walkKeepsKnown_ = false;
    checker_->DropQueued();
    entryPaths_.clear();
    asked_.clear();
    kept_.clear();
}

void PresenceTracker::Ask(std::string_view path, std::vector<std::string>& paths) {
    // While a walk goes on, a path it (or the listed rows before it) asked about is not asked
    // again, even when its answer has come meanwhile.
    if (unasked_ && !walked_.emplace(path).second) return;
    if (asked_.emplace(path).second) paths.emplace_back(path);
}

PresenceWork PresenceTracker::Check(const EntryList& entries, const std::vector<EntryRef>& listed,
                                    std::optional<std::string> shownHolder, Encoding encoding) {
    std::vector<std::string> paths;
    // A holder shown after another one (or after a find) is looked at whole again: a file may
    // have gone while it was not shown. Refreshing the same holder asks only about its marked
    // rows, so that a refresh after every change costs no walk over a large holder.
    const bool shownAgain = shownHolder.has_value() && shownHolder != lookedAt_;
    lookedAt_ = std::move(shownHolder);
    if (entries.Revision() == checkedRevision_) {
        // Shown again: a file that was missing or did not answer may be back, and one that
        // was there may have gone.
        for (const EntryRef e : listed) {
            const auto known = known_.find(e->Path());
            if (shownAgain || known == known_.end() || known->second != Presence::Present)
                Ask(e->Path(), paths);
        }
        return Enqueue(std::move(paths), encoding);
    }
    checkedRevision_ = entries.Revision();
    if (checkedGeneration_ != entries.Generation() || !walkKeepsKnown_) Restart(entries);
    // After a change of the entries the listed files are looked at again, and elsewhere only
    // paths not known yet: a search, a deletion or an undo in a large catalogue does not ask
    // the file system about every file once more.
    unasked_ = entries.begin();
    walked_.clear();
    for (const EntryRef e : listed) Ask(e->Path(), paths);
    PresenceWork work = Enqueue(std::move(paths), encoding);
    work.walkOn = true;
    return work;
}

PresenceWork PresenceTracker::AskNext(const EntryList& entries, Encoding encoding) {
    if (!unasked_) return {};
    if (entries.Revision() != checkedRevision_) {
        // Changed meanwhile: the walk starts over.
        unasked_.reset();
        return {.restart = true};
    }
    std::vector<std::string> paths;
    EntryList::const_iterator& at = *unasked_;
    for (std::size_t n = 0; at != entries.end() && n < kSlice; ++at, ++n) {
        const std::string_view path = at->Path();
        const auto known = known_.find(path);
        if (walkKeepsKnown_ && known != known_.end()) continue;
        if (known != known_.end()) kept_.insert(*known);
        Ask(path, paths);
    }
    const bool over = at == entries.end();
    PresenceWork work = Enqueue(std::move(paths), encoding);
    if (!over) {
        work.walkOn = true;
        return work;
    }
    unasked_.reset();
    walked_.clear();
    if (!walkKeepsKnown_) known_ = std::move(kept_);
    kept_.clear();
    walkKeepsKnown_ = true;
    return work;
}

PresenceWork PresenceTracker::Enqueue(std::vector<std::string> paths, Encoding encoding) {
    if (paths.empty()) return {};
    // A code page 932 path names its file as Windows decodes it: a twin code as its character.
    for (std::string& path : paths) {
        if (path.find('\xED') == std::string::npos) continue;  // no escape
        std::string system = FileSystemText(path, encoding);
        if (system == path) continue;
        std::string entryPath = std::exchange(path, system);
        entryPaths_[std::move(system)] = std::move(entryPath);
    }
    checker_->Enqueue(std::move(paths));
    return {.collect = true};
}

PresenceAnswers PresenceTracker::TakeAnswers() {
    // Asked first: answers that come after it are taken on the next round.
    PresenceAnswers taken{.busy = checker_->Busy()};
    for (PresenceResult& answer : checker_->TakeResults()) {
        if (const auto named = entryPaths_.find(answer.path); named != entryPaths_.end())
            answer.path = named->second;
        if (asked_.erase(answer.path) == 0) continue;
        // While the walk goes on, what it keeps must hold the newest answers too.
        if (unasked_ && !walkKeepsKnown_) kept_[answer.path] = answer.presence;
        known_[std::move(answer.path)] = answer.presence;
        taken.changed = true;
    }
    return taken;
}

}  // namespace kantoria
