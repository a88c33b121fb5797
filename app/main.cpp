// kantoria: the desktop program.
#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "app/first_run_sample.h"
#include "app/terminal_answers.h"
#include "core/app/instance_match.h"
#include "core/os/environment.h"
#include "core/os/large_pages.h"
#include "core/resources/string_table.h"
#include "platform/qt/freedesktop_registrar.h"
#include "platform/qt/local_instances.h"
#include "platform/qt/qsettings_store.h"
#include "platform/qt/qt_icon_factory.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/windows_registrar.h"
#include "platform/system_desktop_shell.h"
#include "platform/system_file_types.h"
#include "ui/app/application.h"
#include "ui/frame/frame_views.h"
#include "ui/seams/resources_init.h"

int main(int argc, char* argv[]) {
    using namespace kantoria;
    // Before QApplication, which would connect to a display.
    if (const auto code = AnswerOnTerminal(argc, argv, std::cout)) return *code;
    UseLargeHeapPages(argv);
    QApplication application(argc, argv);
    QApplication::setDesktopFileName(QStringLiteral("kantoria"));
    ChooseIconTheme();
    // The program speaks Japanese whatever the locale, so Qt's own dialogs and buttons do too.
    QTranslator qtTexts;
    if (qtTexts.load(QStringLiteral("qtbase_ja"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);

    QSettingsStore settings(LoadString(IDS_REGISTRY_KEY), LoadString(AFX_IDS_APP_TITLE));
    QtMessageBoxes messages;
    QtFileDialogs files;
    ExecDialogRunner dialogs;
    const std::unique_ptr<DesktopShell> shell = CreateDesktopShell();
    ProcessEnvironment environment;
    LocalInstances instances(LocalInstances::DefaultFolder(), ToQt(InstanceScope(environment)));
#ifdef _WIN32
    WindowsRegistrar registrar;
#else
    FreedesktopRegistrar registrar(&ProgramIconPng);
#endif
    const std::unique_ptr<FileTypeRegistry> types = MakeSystemFileTypes();
    QtIconFactory icons;
    AppServices services{settings, messages,  files,     dialogs,
                         *shell,   instances, registrar, IconServices{*types, icons, environment}};

    std::vector<std::string> arguments;
    const QStringList all = QApplication::arguments();
    for (qsizetype i = 1; i < all.size(); ++i) arguments.push_back(PathFromQt(all.at(i)));
    if (arguments.empty())
        if (const auto sample = FirstRunSample(settings)) arguments.push_back(*sample);

    Application app(services, MakeFrameViews);
    if (!app.InitInstance(arguments)) return app.ExitCode();
    const int result = QApplication::exec();
    app.ExitInstance();
    return result;
}
