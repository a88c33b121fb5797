// Registering the catalogue type with Windows for the current user, as the Windows program's
// registration of its document type did: ".ZNL" names the type MORKA2.Document, whose open
// command starts this program with the file.
#pragma once

#include <QSettings>
#include <QString>

#include "core/ports/file_type_registrar.h"

namespace kantoria {

// The open command for program: the program and the file, each quoted, as Explorer runs it.
QString WindowsOpenCommand(const QString& program);

// Writes the registration under classes (on Windows HKEY_CURRENT_USER\Software\Classes, where
// a key's unnamed value is "."); answers how many values were missing or differed. Nothing is
// written when nothing changed.
int WriteWindowsFileType(QSettings& classes, const QString& program);

class WindowsRegistrar final : public FileTypeRegistrar {
  public:
    // Registers for the running program and tells Explorer when something changed.
    void RegisterShellFileTypes() override;
};

}  // namespace kantoria
