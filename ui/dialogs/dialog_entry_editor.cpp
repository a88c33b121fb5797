#include "ui/dialogs/dialog_entry_editor.h"

#include <QApplication>

#include "ui/dialogs/entry_dialog.h"

namespace kantoria {

bool DialogEntryEditor::Edit(EntryFields& fields) {
    EntryDialog dialog(programIcon_, QApplication::activeWindow());
    dialog.file = fields.file;
    dialog.title = fields.title;
    dialog.comment = fields.comment;
    dialog.encoding = fields.encoding;
    dialog.OnInitDialog();
    if (runner_.DoModal(dialog) != QDialog::Accepted) return false;
    fields.title = dialog.title;
    fields.comment = dialog.comment;
    return true;
}

}  // namespace kantoria
