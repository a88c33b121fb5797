#include "ui/dialogs/dialog_entry_editor.h"

#include <QApplication>

#include "ui/dialogs/entry_dialog.h"

namespace kantoria {

bool DialogEntryEditor::Edit(EntryFields& fields) {
    CMORKA2Dlg dialog(programIcon_, QApplication::activeWindow());
    dialog.m_file = fields.file;
    dialog.m_title = fields.title;
    dialog.m_comment = fields.comment;
    dialog.m_encoding = fields.encoding;
    dialog.OnInitDialog();
    if (runner_.DoModal(dialog) != QDialog::Accepted) return false;
    fields.title = dialog.m_title;
    fields.comment = dialog.m_comment;
    return true;
}

}  // namespace kantoria
