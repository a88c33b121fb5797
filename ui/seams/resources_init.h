// The pictures and help pages compiled into the program.
#pragma once

#include <QByteArray>

namespace kantoria {

// Makes the compiled-in resources reachable under ":/kantoria". A static library's resources
// are not registered by themselves; calling this more than once is harmless.
void InitResources();

// The program's icon as a PNG, for the desktop's icon folders.
QByteArray ProgramIconPng();

}  // namespace kantoria
