// Registering the catalogue file type with the desktop, so that a double-click on a .ZNL file
// starts the program with it.
#pragma once

namespace kantoria {

class FileTypeRegistrar {
  public:
    virtual ~FileTypeRegistrar() = default;
    // Registers the type for the current user. Failures are ignored: the program runs without.
    virtual void RegisterShellFileTypes() = 0;
};

}  // namespace kantoria
