// Running a dialog modally through a seam: the desktop runs it, a test decides how it ends.
#pragma once

#include <QDialog>

namespace kantoria {

class DialogRunner {
  public:
    virtual ~DialogRunner() = default;
    // Runs dialog modally and answers QDialog::Accepted (OK) or QDialog::Rejected.
    virtual int DoModal(QDialog& dialog) = 0;
};

class ExecDialogRunner final : public DialogRunner {
  public:
    int DoModal(QDialog& dialog) override { return dialog.exec(); }
};

}  // namespace kantoria
