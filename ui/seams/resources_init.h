// The pictures and help pages compiled into the program.
#pragma once

namespace kantoria {

// Makes the compiled-in resources reachable under ":/kantoria". A static library's resources
// are not registered by themselves; calling this more than once is harmless.
void InitResources();

}  // namespace kantoria
