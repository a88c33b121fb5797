// Everything the application reaches outside itself, gathered so that tests hand in fakes.
#pragma once

#include "app/dialog_runner.h"
#include "app/file_dialogs.h"
#include "app/file_type_registrar.h"
#include "app/instance_directory.h"
#include "app/message_box.h"
#include "catalogue/rebuild_icons.h"
#include "platform/desktop_shell.h"
#include "platform/settings_store.h"

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
