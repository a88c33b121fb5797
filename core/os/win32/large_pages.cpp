#include "core/os/large_pages.h"

namespace kantoria {

// The Windows heap needs no asking.
void UseLargeHeapPages(char** /*argv*/) {}

}  // namespace kantoria
