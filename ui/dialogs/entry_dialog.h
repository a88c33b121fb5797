// The dialog in which the user types an entry's title and comment; the entry's file is shown
// beside them with the picture of the program that opens it. The dialog checks nothing: its
// callers decide whether a title is acceptable, and may show it again with what was typed.
#pragma once

#include <QDialog>

#include <string>

#include "core/text/text_codec.h"
#include "ui/dialogs/program_icon.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace kantoria {

class EntryDialog : public QDialog {
    Q_OBJECT
  public:
    explicit EntryDialog(ProgramIconLookup programIcon, QWidget* parent = nullptr);

    // Shows the members, runs the dialog and, on OK, takes the typed values back into them.
    // Answers QDialog::Accepted or QDialog::Rejected.
    int DoModal();

    // Puts the members into the fields and the program's picture beside the path; DoModal
    // does this itself, tests that drive the dialog without running it call it directly.
    void OnInitDialog();

    std::string title;
    std::string comment;  // line breaks as CR LF, as the catalogue keeps them
    std::string file;
    Encoding encoding = Encoding::Cp932;  // the catalogue's: how its text shows

  public slots:
    void accept() override;

  private:
    ProgramIconLookup programIcon_;
    QLineEdit* titleEdit_;
    QPlainTextEdit* commentEdit_;
    QPlainTextEdit* fileField_;
    QLabel* iconLabel_;
    std::string shownComment_;  // the comment as put into the field, to notice edits
};

}  // namespace kantoria
