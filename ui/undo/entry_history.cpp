#include "ui/undo/entry_history.h"

#include <utility>

#include "platform/qt/qt_text.h"
#include "ui/undo/entry_steps.h"

namespace kantoria {

EntryHistory::EntryHistory(Catalogue& doc, std::function<void()> afterStep)
    : doc_(doc), afterStep_(std::move(afterStep)), generation_(doc.Entries().Generation()) {}

void EntryHistory::Sync() {
    if (doc_.Entries().Generation() != generation_) {
        stack_.clear();
        generation_ = doc_.Entries().Generation();
    }
    if (!doc_.IsModified() && !stack_.isClean()) stack_.setClean();
}

void EntryHistory::Record(StepKind kind, const std::function<bool()>& change) {
    // A change made within another (a dialog that adds while a command runs) belongs to it.
    if (recording_) {
        change();
        return;
    }
    Sync();
    EntryChange recorded;
    bool keep = false;
    recording_ = true;
    {
        EntryChangeRecorder recorder(doc_.Entries(), recorded);
        keep = change();
    }
    recording_ = false;
    // A change that read another catalogue in has nothing left to undo.
    if (doc_.Entries().Generation() != generation_) {
        Sync();
        return;
    }
    if (!keep || recorded.empty()) return;
    stack_.push(MakeStep(kind, *this, doc_.Entries(), std::move(recorded)).release());
}

bool EntryHistory::CanUndo() {
    Sync();
    return stack_.canUndo();
}

bool EntryHistory::CanRedo() {
    Sync();
    return stack_.canRedo();
}

std::string EntryHistory::UndoName() {
    return CanUndo() ? FromQt(stack_.undoText()) : std::string();
}

std::string EntryHistory::RedoName() {
    return CanRedo() ? FromQt(stack_.redoText()) : std::string();
}

void EntryHistory::Undo() {
    if (!CanUndo()) return;
    stack_.undo();
    Settle();
}

void EntryHistory::Redo() {
    if (!CanRedo()) return;
    stack_.redo();
    Settle();
}

void EntryHistory::Clear() {
    stack_.clear();
    generation_ = doc_.Entries().Generation();
}

void EntryHistory::Settle() {
    if (stack_.isClean()) doc_.KeepUnmodified(false);
    afterStep_();
}

void EntryHistory::SelectAfterStep(const EntryChange& change) {
    if (const EntryRef entry = doc_.Entries().FindById(change.FirstId()))
        doc_.SetSelectedTitle(entry->Title());
}

}  // namespace kantoria
