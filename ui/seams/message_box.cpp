#include "ui/seams/message_box.h"

#include <QApplication>
#include <QMessageBox>

#include "core/resources/string_table.h"
#include "platform/qt/qt_text.h"

namespace kantoria {
namespace {

QMessageBox::StandardButtons ButtonsOf(MbButtons buttons) {
    switch (buttons) {
        case MbButtons::Ok:
            return QMessageBox::Ok;
        case MbButtons::OkCancel:
            return QMessageBox::Ok | QMessageBox::Cancel;
        case MbButtons::YesNo:
            return QMessageBox::Yes | QMessageBox::No;
        case MbButtons::YesNoCancel:
            return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        case MbButtons::RetryCancel:
            return QMessageBox::Retry | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

QMessageBox::Icon IconOf(MbIcon icon) {
    switch (icon) {
        case MbIcon::None:
            return QMessageBox::NoIcon;
        case MbIcon::Exclamation:
            return QMessageBox::Warning;
        case MbIcon::Information:
            return QMessageBox::Information;
        case MbIcon::Question:
            return QMessageBox::Question;
        case MbIcon::Stop:
            return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

MbAnswer AnswerOf(int button) {
    switch (button) {
        case QMessageBox::Ok:
            return MbAnswer::Ok;
        case QMessageBox::Yes:
            return MbAnswer::Yes;
        case QMessageBox::No:
            return MbAnswer::No;
        case QMessageBox::Retry:
            return MbAnswer::Retry;
        default:
            return MbAnswer::Cancel;
    }
}

}  // namespace

MbIcon EffectiveIcon(MbButtons buttons, MbIcon icon) {
    if (icon == MbIcon::None && (buttons == MbButtons::Ok || buttons == MbButtons::OkCancel))
        return MbIcon::Exclamation;
    return icon;
}

MbAnswer QtMessageBoxes::Show(std::string_view text, MbButtons buttons, MbIcon icon) {
    QMessageBox box(IconOf(icon), ToQt(LoadString(IDS_PRODUCT_TITLE)), ToQt(text),
                    ButtonsOf(buttons), QApplication::activeWindow());
    return AnswerOf(box.exec());
}

}  // namespace kantoria
