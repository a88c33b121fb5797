// Everything the application reaches outside itself, gathered so that tests hand in fakes.
#pragma once

#include "core/icons/rebuild_icons.h"
#include "core/ports/desktop_shell.h"
#include "core/ports/file_type_registrar.h"
#include "core/ports/instance_directory.h"
#include "core/ports/settings_store.h"
#include "ui/seams/dialog_runner.h"
#include "ui/seams/file_dialogs.h"
#include "ui/seams/message_box.h"

namespace kantoria {

struct AppServices {
    SettingsStore& settings;
    MessageBoxes& messages;
    FileDialogs& files;
    DialogRunner& dialogs;
    DesktopShell& shell;
    InstanceDirectory& instances;
    FileTypeRegistrar& registrar;
    IconServices icons;
};

}  // namespace kantoria
