// The entry dialog behind the entry-editor seam: each run is a fresh dialog filled with the
// fields, run through the dialog runner, so tests decide how it ends.
#pragma once

#include "core/ports/entry_editor.h"
#include "ui/dialogs/program_icon.h"
#include "ui/seams/dialog_runner.h"
#include "ui/seams/message_box.h"

namespace kantoria {

class DialogEntryEditor final : public EntryEditor {
  public:
    // runner and messages must outlive the editor.
    DialogEntryEditor(DialogRunner& runner, MessageBoxes& messages, ProgramIconLookup programIcon)
        : runner_(runner), messages_(messages), programIcon_(std::move(programIcon)) {}

    bool Edit(EntryFields& fields) override;
    void Refuse(std::string_view reason) override { AskUser(messages_, reason); }

  private:
    DialogRunner& runner_;
    MessageBoxes& messages_;
    ProgramIconLookup programIcon_;
};

}  // namespace kantoria
