// kantoria-views-demo: the holder tree and the entry list side by side over one catalogue,
// for looking at the two panes before the main window exists. It keeps its settings in memory
// and writes nothing.
//
// Usage: kantoria-views-demo CATALOGUE [--mode 0-3] [--holder LABELPATH]
#include <QApplication>
#include <QSplitter>
#include <QStyle>
#include <iostream>
#include <memory>

#include "core/os/environment.h"
#include "core/text/text_codec.h"
#include "platform/qt/qt_icon_factory.h"
#include "platform/system_desktop_shell.h"
#include "platform/system_file_types.h"
#include "testing/core/settings_memory.h"
#include "ui/seams/dialog_runner.h"
#include "ui/seams/file_dialogs.h"
#include "ui/seams/message_box.h"
#include "ui/views/entry_list_view.h"
#include "ui/views/holder_tree_view.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() < 2) {
        std::cerr << "usage: kantoria-views-demo CATALOGUE [--mode 0-3] [--holder LABELPATH]\n";
        return 2;
    }
    kantoria::Catalogue doc;
    if (const kantoria::Status status = doc.LoadCatalogue(args[1].toStdString()); !status) {
        std::cerr << "cannot read " << args[1].toStdString() << ": " << status.reason() << "\n";
        return 1;
    }
    doc.RebuildHolders();
    kantoria::MemorySettingsStore settings;
    for (qsizetype i = 2; i + 1 < args.size(); i += 2) {
        if (args[i] == "--mode")
            settings.WriteProfileString("SETTINGS", "TYPE", args[i + 1].toStdString());
        if (args[i] == "--holder") doc.SetLastHolder(args[i + 1].toStdString());
    }

    QSplitter window;
    window.setWindowTitle(QStringLiteral("Kantoria"));
    const std::unique_ptr<kantoria::DesktopShell> shell = kantoria::CreateDesktopShell();
    kantoria::QtMessageBoxes messages;
    kantoria::QtFileDialogs files;
    kantoria::ExecDialogRunner dialogs;
    const std::unique_ptr<kantoria::FileTypeRegistry> types = kantoria::MakeSystemFileTypes();
    kantoria::QtIconFactory icons;
    kantoria::ProcessEnvironment environment;
    const kantoria::EntryListServices services{settings, messages, files,
                                               dialogs,  *shell,   {*types, icons, environment}};
    auto* tree = new kantoria::HolderTreeView(doc, *shell, messages, &window);
    auto* list = new kantoria::EntryListView(doc, services, &window);
    tree->SetList(list);
    // Until file-type icons exist, every entry shows the style's file picture.
    const QIcon file = app.style()->standardIcon(QStyle::SP_FileIcon);
    list->SetIconLookup([file](int, bool) { return file; });
    window.addWidget(tree);
    window.addWidget(list);
    window.setSizes({260, 740});
    window.resize(1000, 560);
    doc.UpdateAllViews(nullptr);
    window.show();
    return QApplication::exec();
}
