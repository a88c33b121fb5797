#include "ui/undo/entry_steps.h"

#include <string>
#include <utility>

#include "core/resources/string_table.h"
#include "platform/qt/qt_text.h"

namespace kantoria {

EntryStep::EntryStep(EntryHistory& history, EntryList& list, EntryChange change, int nameId,
                     bool counted)
    : history_(history), list_(list), change_(std::move(change)) {
    const std::string name =
        counted ? FormatString(IDS_STEP_COUNTED,
                               {LoadString(nameId), std::to_string(change_.EntriesTouched())})
                : std::string(LoadString(nameId));
    setText(ToQt(name));
}

void EntryStep::undo() {
    change_.Undo(list_);
    done_ = false;
    history_.SelectAfterStep(change_);
}

void EntryStep::redo() {
    if (done_) return;  // pushed after the change was made
    change_.Redo(list_);
    done_ = true;
    history_.SelectAfterStep(change_);
}

std::unique_ptr<EntryStep> MakeStep(StepKind kind, EntryHistory& history, EntryList& list,
                                    EntryChange change) {
    switch (kind) {
        case StepKind::Add:
            return std::make_unique<AddStep>(history, list, std::move(change));
        case StepKind::Update:
            return std::make_unique<UpdateStep>(history, list, std::move(change));
        case StepKind::Rename:
            return std::make_unique<RenameStep>(history, list, std::move(change));
        case StepKind::Delete:
            return std::make_unique<DeleteStep>(history, list, std::move(change));
        case StepKind::Cut:
            return std::make_unique<CutStep>(history, list, std::move(change));
        case StepKind::Paste:
            return std::make_unique<PasteStep>(history, list, std::move(change));
        case StepKind::Search:
            return std::make_unique<SearchStep>(history, list, std::move(change));
        case StepKind::Relocate:
            return std::make_unique<RelocateStep>(history, list, std::move(change));
        case StepKind::Import:
            return std::make_unique<ImportStep>(history, list, std::move(change));
    }
    return nullptr;
}

}  // namespace kantoria
