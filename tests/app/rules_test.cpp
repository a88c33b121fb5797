// The shell's rules that reach Qt: message-box icons and the desktop registration files.
#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>

#include "platform/qt/freedesktop_registrar.h"
#include "platform/qt/windows_registrar.h"
#include "ui/seams/message_box.h"

namespace kantoria {
namespace {

TEST(MessageBoxTest, PlainOkBoxesShowTheExclamationIcon) {
    EXPECT_EQ(EffectiveIcon(MbButtons::Ok, MbIcon::None), MbIcon::Exclamation);
    EXPECT_EQ(EffectiveIcon(MbButtons::OkCancel, MbIcon::None), MbIcon::Exclamation);
    EXPECT_EQ(EffectiveIcon(MbButtons::Ok, MbIcon::Information), MbIcon::Information);
    EXPECT_EQ(EffectiveIcon(MbButtons::YesNo, MbIcon::None), MbIcon::None);
    EXPECT_EQ(EffectiveIcon(MbButtons::YesNoCancel, MbIcon::None), MbIcon::None);
}

TEST(RegistrationTest, ExecLineQuotesWhatTheDesktopWouldSplit) {
    EXPECT_EQ(DesktopExecLine("/usr/bin/kantoria"), "/usr/bin/kantoria %f");
    EXPECT_EQ(DesktopExecLine("/opt/My Apps/kantoria"), "\"/opt/My Apps/kantoria\" %f");
    EXPECT_EQ(DesktopExecLine("/opt/a\"b$c/k"), "\"/opt/a\\\\\"b\\\\$c/k\" %f");
    EXPECT_EQ(DesktopExecLine("/opt/100%/k"), "/opt/100%%/k %f");
}

TEST(RegistrationTest, WritesOnlyWhatIsMissingOrDifferent) {
    QTemporaryDir home;
    ASSERT_EQ(WriteFileTypeRegistration(home.path(), "/usr/bin/kantoria", "icon"), 3);
    EXPECT_TRUE(QFileInfo::exists(home.filePath("icons/hicolor/32x32/apps/kantoria.png")));
    const QString entry = home.filePath("applications/kantoria.desktop");
    const QString package = home.filePath("mime/packages/kantoria.xml");
    ASSERT_TRUE(QFileInfo::exists(entry));
    QFile xml(package);
    ASSERT_TRUE(xml.open(QIODevice::ReadOnly));
    const QByteArray mime = xml.readAll();
    EXPECT_TRUE(mime.contains("<glob pattern=\"*.ZNL\"/>"));
    EXPECT_TRUE(mime.contains("<glob pattern=\"*.znl\"/>"));
    EXPECT_EQ(WriteFileTypeRegistration(home.path(), "/usr/bin/kantoria", "icon"), 0);
    EXPECT_EQ(WriteFileTypeRegistration(home.path(), "/opt/kantoria", "icon"), 1);
    QFile desktop(entry);
    ASSERT_TRUE(desktop.open(QIODevice::ReadOnly));
    const QByteArray text = desktop.readAll();
    EXPECT_TRUE(text.contains("Exec=/opt/kantoria %f\n"));
    EXPECT_TRUE(text.contains("MimeType=application/x-morka2-document;\n"));
}

// The keys Windows reads, written here to a file in the registry's shape.
TEST(RegistrationTest, WindowsTypeNamesTheProgramAndIsWrittenOnce) {
    QTemporaryDir dir;
    QSettings classes(dir.filePath("classes.ini"), QSettings::IniFormat);
    ASSERT_EQ(WriteWindowsFileType(classes, "C:/Program Files/Kantoria/kantoria.exe"), 4);
    EXPECT_EQ(classes.value(".ZNL/.").toString(), "MORKA2.Document");
    EXPECT_EQ(classes.value("MORKA2.Document/shell/open/command/.").toString(),
              "\"C:\\Program Files\\Kantoria\\kantoria.exe\" \"%1\"");
    EXPECT_EQ(classes.value("MORKA2.Document/DefaultIcon/.").toString(),
              "\"C:\\Program Files\\Kantoria\\kantoria.exe\",0");
    EXPECT_EQ(WriteWindowsFileType(classes, "C:/Program Files/Kantoria/kantoria.exe"), 0);
}

}  // namespace
}  // namespace kantoria
