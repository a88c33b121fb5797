#include "ui/dialogs/properties_dialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/dialogs/comment_text.h"
#include "core/dialogs/file_facts.h"
#include "core/resources/string_table.h"
#include "platform/qt/qt_text.h"
#include "ui/dialogs/dialog_fields.h"

namespace kantoria {
namespace {

QLineEdit* NewReadOnlyLine(QWidget* parent) {
    auto* field = new QLineEdit(parent);
    field->setReadOnly(true);
    field->setFrame(false);
    field->setFocusPolicy(Qt::NoFocus);
    ShowAsReadOnly(field);
    return field;
}

QGroupBox* NewGroup(const QString& title, QWidget* parent, QWidget* content) {
    auto* group = new QGroupBox(title, parent);
    auto* layout = new QVBoxLayout(group);
    layout->addWidget(content);
    return group;
}

}  // namespace

PropertiesDialog::PropertiesDialog(ProgramIconLookup programIcon, QWidget* parent)
    : QDialog(parent), programIcon_(std::move(programIcon)) {
    setWindowTitle(ToQt(LoadString(IDS_PRODUCT_TITLE)));
    titleField_ = NewReadOnlyLine(this);
    commentField_ = NewWrappingField(this, 3);
    fileField_ = NewWrappingField(this, 3);
    dateField_ = NewReadOnlyLine(this);
    sizeField_ = NewReadOnlyLine(this);
    iconLabel_ = NewIconLabel(this);
    titleField_->setObjectName(QStringLiteral("title"));
    commentField_->setObjectName(QStringLiteral("comment"));
    fileField_->setObjectName(QStringLiteral("file"));
    dateField_->setObjectName(QStringLiteral("date"));
    sizeField_->setObjectName(QStringLiteral("size"));
    iconLabel_->setObjectName(QStringLiteral("icon"));
    missingLabel_ = new QLabel(ToQt(LoadString(IDS_FILE_NOT_FOUND)), this);
    missingLabel_->setObjectName(QStringLiteral("missing"));
    missingLabel_->setStyleSheet(QStringLiteral("font-weight: bold; color: #c62828;"));
    missingLabel_->hide();
    textLabel_ = new QLabel(this);
    textLabel_->setObjectName(QStringLiteral("unreadable"));
    textLabel_->setWordWrap(true);
    textLabel_->hide();
    auto* ok = new QPushButton(ToQt(LoadString(IDS_BUTTON_OK)), this);
    ok->setObjectName(QStringLiteral("ok"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* fileBox = new QGroupBox(ToQt(LoadString(IDS_FIELD_FILE)), this);
    auto* fileGrid = new QGridLayout(fileBox);
    fileGrid->addWidget(fileField_, 0, 0, 1, 3);
    fileGrid->addWidget(new QLabel(ToQt(LoadString(IDS_FIELD_MODIFIED)), fileBox), 1, 0);
    fileGrid->addWidget(dateField_, 1, 1);
    fileGrid->addWidget(new QLabel(ToQt(LoadString(IDS_FIELD_SIZE)), fileBox), 2, 0);
    fileGrid->addWidget(sizeField_, 2, 1);
    fileGrid->addWidget(iconLabel_, 1, 2, 2, 1, Qt::AlignCenter);

    auto* grid = new QGridLayout(this);
    grid->addWidget(NewGroup(ToQt(LoadString(IDS_FIELD_TITLE)), this, titleField_), 0, 0);
    grid->addWidget(ok, 0, 1, Qt::AlignTop);
    grid->addWidget(NewGroup(ToQt(LoadString(IDS_FIELD_COMMENT)), this, commentField_), 1, 0);
    grid->addWidget(fileBox, 2, 0);
    grid->addWidget(missingLabel_, 3, 0);
    grid->addWidget(textLabel_, 4, 0);
    grid->setColumnMinimumWidth(0, fontMetrics().horizontalAdvance(QLatin1Char('x')) * 44);
}

void PropertiesDialog::OnInitDialog() {
    // The file is named as the window shows it: a twin code is its character on disk.
    const std::string onDisk = FileSystemText(file, encoding);
    const FileFacts facts = DescribeFile(onDisk);
    dateText = facts.date;
    sizeText = facts.size;
    if (facts.exists) ShowProgramIcon(iconLabel_, programIcon_, onDisk);
    missingLabel_->setVisible(!facts.exists);
    textLabel_->setText(ToQt(FormatString(IDS_CONTENT_UNREADABLE, {textProblem})));
    textLabel_->setVisible(facts.exists && !textProblem.empty());
    titleField_->setText(ToDisplayQt(title, encoding));
    titleField_->setCursorPosition(0);
    commentField_->setPlainText(ToDisplayQt(CommentForField(comment), encoding));
    fileField_->setPlainText(ToDisplayQt(file, encoding));
    dateField_->setText(ToDisplayQt(dateText));
    sizeField_->setText(ToDisplayQt(sizeText));
}

int PropertiesDialog::DoModal() {
    OnInitDialog();
    return exec();
}

}  // namespace kantoria
