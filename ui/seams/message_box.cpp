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
        case MbButtons::GoOnUnsaved:
        case MbButtons::UnreadableFolder:
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

QMessageBox::StandardButton ButtonOf(MbAnswer answer) {
    switch (answer) {
        case MbAnswer::Ok:
            return QMessageBox::Ok;
        case MbAnswer::Cancel:
            return QMessageBox::Cancel;
        case MbAnswer::Yes:
            return QMessageBox::Yes;
        case MbAnswer::No:
            return QMessageBox::No;
        case MbAnswer::Retry:
            return QMessageBox::Retry;
        default:
            return QMessageBox::NoButton;  // one of the program's own buttons
    }
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
        case MbButtons::GoOnUnsaved:
            return {keepMine[1]};
        case MbButtons::UnreadableFolder:
            return {{IDS_BUTTON_SKIP_ALL, MbAnswer::SkipAll}};
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

MbAnswer EnterAnswer(MbButtons buttons) {
    switch (buttons) {
        case MbButtons::Ok:
        case MbButtons::OkCancel:
            return MbAnswer::Ok;
        case MbButtons::YesNo:
        case MbButtons::YesNoCancel:
        case MbButtons::UnreadableFolder:
            return MbAnswer::Yes;
        case MbButtons::RetryCancel:
            return MbAnswer::Retry;
        case MbButtons::ChangedFile:
        case MbButtons::LeavingChangedFile:
        case MbButtons::SaveUtf8Cancel:
            return MbAnswer::Cancel;
        case MbButtons::GoOnUnsaved:
            return MbAnswer::No;
    }
    return MbAnswer::Ok;
}

MbAnswer QtMessageBoxes::Show(std::string_view text, MbButtons buttons, MbIcon icon) {
    QMessageBox box(IconOf(icon), ToQt(LoadString(IDS_PRODUCT_TITLE)), ToQt(text),
                    ButtonsOf(buttons), QApplication::activeWindow());
    std::vector<std::pair<QPushButton*, MbAnswer>> own;
    const MbAnswer enter = EnterAnswer(buttons);
    auto* byDefault = qobject_cast<QPushButton*>(box.button(ButtonOf(enter)));
    for (const OwnButton& button : OwnButtonsOf(buttons)) {
        own.emplace_back(box.addButton(ToQt(LoadString(button.text)), QMessageBox::AcceptRole),
                         button.answer);
        if (button.answer == enter) byDefault = own.back().first;
    }
    if (byDefault != nullptr) box.setDefaultButton(byDefault);
    const int pressed = box.exec();
    for (const auto& [button, answer] : own)
        if (box.clickedButton() == button) return answer;
    return AnswerOf(pressed);
}

}  // namespace kantoria
