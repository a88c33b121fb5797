// Large memory pages for the heap. A big catalogue puts hundreds of megabytes of small blocks
// on the heap as it is read; with the system's usual small pages a good part of the reading
// goes into faulting them in one by one.
#pragma once

namespace kantoria {

// Where the system hands out large pages only to programs that ask, and the C library can be
// asked only as the program starts, starts the program again in place (same arguments) asking
// for them; answers without doing anything everywhere else, when asked already, or when the
// program cannot be started again. Call first thing in main, before any thread exists. The
// request is taken back from the environment of the program started again, so the programs it
// opens for the user start as they would without it.
void UseLargeHeapPages(char** argv);

}  // namespace kantoria
