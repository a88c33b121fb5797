// The undo stack's commands: one class per kind of change to the entries. Each holds the
// recorded change; the first redo is the change itself, which already happened.
#pragma once

#include <QUndoCommand>
#include <memory>
#include <utility>

#include "core/catalogue/entry_change.h"
#include "core/resources/string_table.h"
#include "ui/undo/entry_history.h"

namespace kantoria {

class EntryStep : public QUndoCommand {
  public:
    void undo() override;
    void redo() override;

  protected:
    // nameId names the kind; counted steps say how many entries they touched.
    EntryStep(EntryHistory& history, EntryList& list, EntryChange change, int nameId, bool counted);

  private:
    EntryHistory& history_;
    EntryList& list_;
    EntryChange change_;
    bool done_ = true;
};

// One class per kind of step, told apart by its name and whether it counts its entries.
template <int NameId, bool Counted>
class KindStep final : public EntryStep {
  public:
    KindStep(EntryHistory& history, EntryList& list, EntryChange change)
        : EntryStep(history, list, std::move(change), NameId, Counted) {}
};

using AddStep = KindStep<IDS_STEP_ADD, false>;
using UpdateStep = KindStep<IDS_STEP_UPDATE, false>;
using RenameStep = KindStep<IDS_STEP_RENAME, false>;
using DeleteStep = KindStep<IDS_STEP_DELETE, true>;
using CutStep = KindStep<IDS_STEP_CUT, false>;
using PasteStep = KindStep<IDS_STEP_PASTE, false>;
using SearchStep = KindStep<IDS_STEP_SEARCH, true>;
using RelocateStep = KindStep<IDS_STEP_RELOCATE, true>;
using ImportStep = KindStep<IDS_STEP_IMPORT, true>;

std::unique_ptr<EntryStep> MakeStep(StepKind kind, EntryHistory& history, EntryList& list,
                                    EntryChange change);

}  // namespace kantoria
