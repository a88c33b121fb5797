// Registering the catalogue type on a freedesktop desktop: a MIME package for *.ZNL files and
// a desktop entry that opens them with this program and its icon, under the user's data folder.
#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

#include "core/ports/file_type_registrar.h"

namespace kantoria {

inline constexpr char kCatalogueMimeType[] = "application/x-morka2-document";

// The desktop entry's Exec line for program: quoted as the desktop entry format asks when
// it holds characters that need it.
QString DesktopExecLine(const QString& program);

// Writes the MIME package, the desktop entry and the icon (a PNG) under dataHome where they are
// missing or differ; answers how many files were written. Nothing is written when nothing changed.
int WriteFileTypeRegistration(const QString& dataHome, const QString& program,
                              const QByteArray& iconPng);

class FreedesktopRegistrar final : public FileTypeRegistrar {
  public:
    // iconPng makes the program's icon, only when a registration is written.
    explicit FreedesktopRegistrar(std::function<QByteArray()> iconPng)
        : iconPng_(std::move(iconPng)) {}
    // Registers the running program under the user's data folder and refreshes the desktop's
    // caches when a file changed; only when the program runs from its build folder.
    void RegisterShellFileTypes() override;

  private:
    std::function<QByteArray()> iconPng_;
};

}  // namespace kantoria
