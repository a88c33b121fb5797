#include "ui/seams/resources_init.h"

#include <QtGlobal>

// Q_INIT_RESOURCE must be used outside any namespace.
static void InitKantoriaResources() {
    Q_INIT_RESOURCE(kantoria);
}

namespace kantoria {

void InitResources() {
    static const bool done = (InitKantoriaResources(), true);
    (void)done;
}

}  // namespace kantoria
