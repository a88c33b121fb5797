// The history of the open catalogue's changes to its entries, for undo and redo: one step per
// command, however many entries it touched. Each change is recorded while it runs; the history
// forgets everything when another catalogue (or the same one, read again) takes the entries'
// place, and a step that brings the entries back to what the file holds clears the modified
// mark.
#pragma once

#include <QUndoStack>
#include <functional>
#include <string>

#include "core/catalogue/catalogue.h"
#include "core/catalogue/entry_change.h"

namespace kantoria {

enum class StepKind { Add, Update, Rename, Delete, Cut, Paste, Search, Relocate, Import };

class EntryHistory {
  public:
    // afterStep brings holders, icons and views up to date after an undo or a redo.
    EntryHistory(Catalogue& doc, std::function<void()> afterStep);
    EntryHistory(const EntryHistory&) = delete;
    EntryHistory& operator=(const EntryHistory&) = delete;

    // Runs change, recording what it does to the entries; when it answers true and changed
    // something, that is kept as one step of kind and any undone steps are dropped.
    void Record(StepKind kind, const std::function<bool()>& change);

    bool CanUndo();
    bool CanRedo();
    // The names of the steps an undo and a redo would take ("削除 (12 件)"); empty when none.
    std::string UndoName();
    std::string RedoName();
    void Undo();
    void Redo();
    void Clear();

    // What a step does after its entries are back or gone again.
    void SelectAfterStep(const EntryChange& change);
    const QUndoStack& Stack() const { return stack_; }

  private:
    // Drops the steps of a catalogue no longer held, and takes the file's present state as
    // the clean one when it was written or read since.
    void Sync();
    void Settle();

    Catalogue& doc_;
    std::function<void()> afterStep_;
    QUndoStack stack_;
    std::uint64_t generation_;
    bool recording_ = false;
};

// Records change into history as one step when there is a history, else just runs it.
inline void RecordStep(EntryHistory* history, StepKind kind, const std::function<bool()>& change) {
    if (history)
        history->Record(kind, change);
    else
        change();
}

}  // namespace kantoria
