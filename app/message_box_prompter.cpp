#include "app/message_box_prompter.h"

#include <QMessageBox>
#include <QString>

namespace kantoria {
namespace {

QMessageBox::StandardButtons ButtonsOf(MessageButtons buttons) {
    switch (buttons) {
        case MessageButtons::Ok:
            return QMessageBox::Ok;
        case MessageButtons::OkCancel:
            return QMessageBox::Ok | QMessageBox::Cancel;
        case MessageButtons::YesNo:
            return QMessageBox::Yes | QMessageBox::No;
        case MessageButtons::YesNoCancel:
            return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

QMessageBox::Icon IconOf(MessageIcon icon, MessageButtons buttons) {
    switch (icon) {
        case MessageIcon::Default:
            return buttons == MessageButtons::Ok || buttons == MessageButtons::OkCancel
                       ? QMessageBox::Warning
                       : QMessageBox::NoIcon;
        case MessageIcon::Exclamation:
            return QMessageBox::Warning;
        case MessageIcon::Question:
            return QMessageBox::Question;
        case MessageIcon::Information:
            return QMessageBox::Information;
        case MessageIcon::Error:
            return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

MessageAnswer AnswerOf(int button) {
    switch (button) {
        case QMessageBox::Ok:
            return MessageAnswer::Ok;
        case QMessageBox::Yes:
            return MessageAnswer::Yes;
        case QMessageBox::No:
            return MessageAnswer::No;
        default:
            return MessageAnswer::Cancel;
    }
}

}  // namespace

MessageAnswer MessageBoxPrompter::ShowMessage(std::string_view text, MessageButtons buttons,
                                              MessageIcon icon) {
    QMessageBox box(IconOf(icon, buttons), QStringLiteral("Kantoria"),
                    QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())),
                    ButtonsOf(buttons), parent_);
    return AnswerOf(box.exec());
}

}  // namespace kantoria
