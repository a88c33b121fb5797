// The desktop's message box: Enter picks the default each button set names, and the program's
// own buttons answer as scripted boxes assume.
#include "ui/seams/message_box.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <functional>

namespace kantoria {
namespace {

// Presses Enter, or the button labelled label, on the box once it is shown.
void PressOnceShown(const QString& label) {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) {
        QTimer::singleShot(0, [label] { PressOnceShown(label); });
        return;
    }
    if (label.isEmpty()) {
        QTest::keyClick(box, Qt::Key_Return);
        return;
    }
    for (QAbstractButton* button : box->buttons())
        if (button->text() == label) return button->click();
    ADD_FAILURE() << "no button " << label.toStdString();
    box->reject();
}

TEST(MessageBoxTest, EnterTakesTheSafeChoiceAndOwnButtonsAnswer) {
    struct Case {
        MbButtons buttons;
        QString pressed;  // empty: Enter
        MbAnswer answer;
    };
    const Case cases[] = {
        {MbButtons::GoOnUnsaved, "", MbAnswer::No},
        {MbButtons::GoOnUnsaved, "名前を付けて保存(&A)...", MbAnswer::SaveAs},
        {MbButtons::UnreadableFolder, "", MbAnswer::Yes},
        {MbButtons::UnreadableFolder, "以降はすべて飛ばす", MbAnswer::SkipAll},
        {MbButtons::LeavingChangedFile, "", MbAnswer::Cancel},
        {MbButtons::YesNo, "", MbAnswer::Yes},
    };
    QtMessageBoxes boxes;
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.buttons));
        EXPECT_EQ(EnterAnswer(c.buttons) == c.answer, c.pressed.isEmpty());
        QTimer::singleShot(0, [&c] { PressOnceShown(c.pressed); });
        EXPECT_EQ(boxes.Show("?", c.buttons, MbIcon::Question), c.answer);
    }
}

}  // namespace
}  // namespace kantoria
