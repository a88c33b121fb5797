// The desktop shell of the session the program runs in.
#pragma once

#include <memory>

#include "core/ports/desktop_shell.h"

namespace kantoria {

std::unique_ptr<DesktopShell> CreateDesktopShell();

}  // namespace kantoria
