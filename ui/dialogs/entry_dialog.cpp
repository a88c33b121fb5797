#include "ui/dialogs/entry_dialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "core/dialogs/comment_text.h"
#include "core/resources/string_table.h"
#include "platform/qt/qt_text.h"
#include "ui/dialogs/dialog_fields.h"

namespace kantoria {

EntryDialog::EntryDialog(ProgramIconLookup programIcon, QWidget* parent)
    : QDialog(parent), programIcon_(std::move(programIcon)) {
    setWindowTitle(ToQt(LoadString(IDS_PRODUCT_TITLE)));
    titleEdit_ = new QLineEdit(this);
    commentEdit_ = new QPlainTextEdit(this);
    // Enter starts a new line; Tab moves on to the buttons, as in a dialog's edit field.
    commentEdit_->setTabChangesFocus(true);
    commentEdit_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    commentEdit_->setFixedHeight(commentEdit_->fontMetrics().lineSpacing() * 3 + 10);
    fileField_ = NewWrappingField(this, 3);
    iconLabel_ = NewIconLabel(this);
    titleEdit_->setObjectName(QStringLiteral("title"));
    commentEdit_->setObjectName(QStringLiteral("comment"));
    fileField_->setObjectName(QStringLiteral("file"));
    iconLabel_->setObjectName(QStringLiteral("icon"));

    auto* ok = new QPushButton(ToQt(LoadString(IDS_BUTTON_OK)), this);
    auto* cancel = new QPushButton(ToQt(LoadString(IDS_BUTTON_CANCEL)), this);
    ok->setObjectName(QStringLiteral("ok"));
    cancel->setObjectName(QStringLiteral("cancel"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(ToQt(LoadString(IDS_FIELD_TITLE)), this), 0, 0);
    grid->addWidget(titleEdit_, 1, 0);
    grid->addWidget(ok, 1, 1);
    grid->addWidget(new QLabel(ToQt(LoadString(IDS_FIELD_COMMENT)), this), 2, 0);
    grid->addWidget(commentEdit_, 3, 0);
    grid->addWidget(cancel, 3, 1, Qt::AlignTop);
    grid->addWidget(new QLabel(ToQt(LoadString(IDS_FIELD_FILE)), this), 4, 0);
    grid->addWidget(fileField_, 5, 0);
    grid->addWidget(iconLabel_, 5, 1, Qt::AlignCenter);
    grid->setColumnMinimumWidth(0, fontMetrics().horizontalAdvance(QLatin1Char('x')) * 40);
    setTabOrder(titleEdit_, commentEdit_);
    setTabOrder(commentEdit_, ok);
    setTabOrder(ok, cancel);
}

void EntryDialog::OnInitDialog() {
    titleEdit_->setText(ToDisplayQt(title, encoding));
    shownComment_ = comment;
    commentEdit_->setPlainText(ToDisplayQt(CommentForField(comment), encoding));
    fileField_->setPlainText(ToDisplayQt(file, encoding));
    ShowProgramIcon(iconLabel_, programIcon_, file);
    titleEdit_->setFocus();
    titleEdit_->selectAll();
}

void EntryDialog::accept() {
    // A field the user left alone gives back its member unchanged, so bytes the screen can
    // only show as replacement characters survive an OK.
    if (titleEdit_->text() != ToDisplayQt(title, encoding)) title = FromQt(titleEdit_->text());
    const QString shown = commentEdit_->toPlainText();
    if (shown != ToDisplayQt(CommentForField(shownComment_), encoding))
        comment = CommentFromField(FromQt(shown));
    QDialog::accept();
}

int EntryDialog::DoModal() {
    OnInitDialog();
    return exec();
}

}  // namespace kantoria
