#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

#include "dialogs/dialog_prompter.h"

namespace kantoria {
namespace {

QMessageBox::Icon BoxIcon(DialogPrompter::Icon icon) {
    switch (icon) {
        case DialogPrompter::Icon::Question:
            return QMessageBox::Question;
        case DialogPrompter::Icon::Information:
            return QMessageBox::Information;
        case DialogPrompter::Icon::Exclamation:
            break;
    }
    return QMessageBox::Warning;
}

class DesktopPrompter final : public DialogPrompter {
  public:
    Answer Message(QWidget* owner, const QString& text, Buttons buttons, Icon icon) override {
        QMessageBox box(BoxIcon(icon), QStringLiteral("Kantoria"), text, QMessageBox::NoButton,
                        owner);
        switch (buttons) {
            case Buttons::Ok:
                box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
                break;
            case Buttons::OkCancel:
                box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
                box.setEscapeButton(
                    box.addButton(QStringLiteral("ｷｬﾝｾﾙ"), QMessageBox::RejectRole));
                break;
            case Buttons::YesNo:
                box.addButton(QStringLiteral("はい(&Y)"), QMessageBox::YesRole);
                box.setEscapeButton(
                    box.addButton(QStringLiteral("いいえ(&N)"), QMessageBox::NoRole));
                break;
        }
        box.exec();
        const QMessageBox::ButtonRole role = box.buttonRole(box.clickedButton());
        if (buttons == Buttons::YesNo)
            return role == QMessageBox::YesRole ? Answer::Yes : Answer::No;
        return role == QMessageBox::AcceptRole ? Answer::Ok : Answer::Cancel;
    }

    std::optional<QString> PickFolder(QWidget* owner, const QString& prompt) override {
        const QString folder = QFileDialog::getExistingDirectory(owner, prompt);
        if (folder.isEmpty()) return std::nullopt;
        return folder;
    }
};

}  // namespace

std::unique_ptr<DialogPrompter> MakeDesktopPrompter() {
    return std::make_unique<DesktopPrompter>();
}

}  // namespace kantoria
