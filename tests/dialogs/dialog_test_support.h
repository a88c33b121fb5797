// Finding a dialog's parts by name, and a picture to stand for a program's icon.
#pragma once

#include <gtest/gtest.h>

#include <QDialog>
#include <QIcon>
#include <QPixmap>

#include <string>

namespace kantoria::test {

template <class W>
W* Part(QDialog& dialog, const char* name) {
    W* part = dialog.findChild<W*>(QString::fromLatin1(name));
    EXPECT_NE(part, nullptr) << name;
    return part;
}

// Saves a picture of widget to $KANTORIA_SHOTS/name.png when that variable is set, so that a
// person can look at the dialogs as the tests leave them.
inline void SaveShot(QWidget& widget, const char* name) {
    const QByteArray folder = qgetenv("KANTORIA_SHOTS");
    if (!folder.isEmpty()) widget.grab().save(QString::fromLocal8Bit(folder) + "/" + name + ".png");
}

inline QIcon RedIcon() {
    QPixmap picture(32, 32);
    picture.fill(Qt::red);
    return QIcon(picture);
}

// A lookup that answers the red icon for every file and remembers what it was asked.
struct IconLookupSpy {
    std::string asked;
    bool answer = true;
    auto Lookup() {
        return [this](const std::string& file) {
            asked = file;
            return answer ? RedIcon() : QIcon();
        };
    }
};

}  // namespace kantoria::test
