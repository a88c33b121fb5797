// The undo stack's commands: one class per kind of change to the entries. Each holds the
// recorded change; the first redo is the change itself, which already happened.
#pragma once

#include <QUndoCommand>
#include <memory>

#include "core/catalogue/entry_change.h"
#include "ui/app/entry_history.h"

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

class AddStep final : public EntryStep {
  public:
    AddStep(EntryHistory& history, EntryList& list, EntryChange change);
};
class UpdateStep final : public EntryStep {
  public:
    UpdateStep(EntryHistory& history, EntryList& list, EntryChange change);
};
class RenameStep final : public EntryStep {
  public:
    RenameStep(EntryHistory& history, EntryList& list, EntryChange change);
};
class DeleteStep final : public EntryStep {
  public:
    DeleteStep(EntryHistory& history, EntryList& list, EntryChange change);
};
class CutStep final : public EntryStep {
  public:
    CutStep(EntryHistory& history, EntryList& list, EntryChange change);
};
class PasteStep final : public EntryStep {
  public:
    PasteStep(EntryHistory& history, EntryList& list, EntryChange change);
};
class SearchStep final : public EntryStep {
  public:
    SearchStep(EntryHistory& history, EntryList& list, EntryChange change);
};
class RelocateStep final : public EntryStep {
  public:
    RelocateStep(EntryHistory& history, EntryList& list, EntryChange change);
};
class ImportStep final : public EntryStep {
  public:
    ImportStep(EntryHistory& history, EntryList& list, EntryChange change);
};

std::unique_ptr<EntryStep> MakeStep(StepKind kind, EntryHistory& history, EntryList& list,
                                    EntryChange change);

}  // namespace kantoria
