#include "ui/seams/resources_init.h"

#include <QBuffer>
#include <QImage>
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

QByteArray ProgramIconPng() {
    InitResources();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImage(QStringLiteral(":/kantoria/icon128.xpm")).save(&buffer, "PNG");
    return bytes;
}

}  // namespace kantoria
