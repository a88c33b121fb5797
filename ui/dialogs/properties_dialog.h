// Shows one entry read-only: its title, comment and path, and its file's time of last change,
// size and the picture of the program that opens it, or that the file is not there.
#pragma once

#include <QDialog>

#include <string>

#include "core/text/text_codec.h"
#include "ui/dialogs/program_icon.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace kantoria {

class PropertiesDialog : public QDialog {
    Q_OBJECT
  public:
    explicit PropertiesDialog(ProgramIconLookup programIcon, QWidget* parent = nullptr);

    int DoModal();
    // Looks at the file and fills the fields; DoModal does this itself.
    void OnInitDialog();

    std::string title;
    std::string comment;
    std::string file;
    Encoding encoding = Encoding::Cp932;  // the catalogue's: how its text shows
    std::string dateText;
    std::string sizeText;
    std::string textProblem;  // why the document's text could not be read; empty: it could

  private:
    ProgramIconLookup programIcon_;
    QLineEdit* titleField_;
    QPlainTextEdit* commentField_;
    QPlainTextEdit* fileField_;
    QLineEdit* dateField_;
    QLineEdit* sizeField_;
    QLabel* iconLabel_;
    QLabel* missingLabel_;  // shown when the file or folder is not there
    QLabel* textLabel_;     // shown when the document's text could not be read
};

}  // namespace kantoria
