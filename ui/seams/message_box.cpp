#include "ui/seams/message_box.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <utility>
#include <vector>

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
        case MbButtons::ChangedFile:
        case MbButtons::LeavingChangedFile:
        case MbButtons::SaveUtf8Cancel:
            return QMessageBox::Cancel;
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

struct OwnButton {
    int text;
    MbAnswer answer;
};

// The buttons a set adds to the system's ones, in the order shown.
std::vector<OwnButton> OwnButtonsOf(MbButtons buttons) {
    const OwnButton keepMine[] = {{IDS_BUTTON_OVERWRITE, MbAnswer::Overwrite},
                                  {IDS_BUTTON_SAVE_AS, MbAnswer::SaveAs}};
    switch (buttons) {
        case MbButtons::ChangedFile:
            return {{IDS_BUTTON_RELOAD, MbAnswer::Reload}, keepMine[0], keepMine[1]};
        case MbButtons::LeavingChangedFile:
            return {{IDS_BUTTON_DISCARD, MbAnswer::Discard}, keepMine[0], keepMine[1]};
        case MbButtons::SaveUtf8Cancel:
            return {{IDS_BUTTON_SAVE_UTF8, MbAnswer::SaveUtf8}};
        default:
            return {};
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
    std::vector<std::pair<QAbstractButton*, MbAnswer>> own;
    for (const OwnButton& button : OwnButtonsOf(buttons))
        own.emplace_back(box.addButton(ToQt(LoadString(button.text)), QMessageBox::AcceptRole),
                         button.answer);
    // Each of these choices loses someone's work (or the Windows program's reading): Enter
    // must not pick one.
    if (!own.empty()) box.setDefaultButton(QMessageBox::Cancel);
    const int pressed = box.exec();
    for (const auto& [button, answer] : own)
        if (box.clickedButton() == button) return answer;
    return AnswerOf(pressed);
}

}  // namespace kantoria
