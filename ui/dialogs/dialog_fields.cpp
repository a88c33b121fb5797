#include "ui/dialogs/dialog_fields.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPalette>
#include <QPlainTextEdit>

namespace kantoria {

void ShowAsReadOnly(QWidget* field) {
    QPalette palette = field->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Window));
    field->setPalette(palette);
}

QPlainTextEdit* NewWrappingField(QWidget* parent, int lines) {
    auto* field = new QPlainTextEdit(parent);
    field->setReadOnly(true);
    field->setFrameShape(QFrame::NoFrame);
    field->setFocusPolicy(Qt::NoFocus);
    field->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    field->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    field->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    field->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ShowAsReadOnly(field);
    const int lineHeight = field->fontMetrics().lineSpacing();
    field->setFixedHeight(lineHeight * lines +
                          2 * static_cast<int>(field->document()->documentMargin()));
    return field;
}

QLabel* NewIconLabel(QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setFixedSize(kDialogIconSize + 8, kDialogIconSize + 8);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

void ShowProgramIcon(QLabel* label, const ProgramIconLookup& programIcon, const std::string& file) {
    const QIcon icon = programIcon ? programIcon(file) : QIcon();
    label->setPixmap(icon.isNull() ? QPixmap() : icon.pixmap(kDialogIconSize));
}

}  // namespace kantoria
