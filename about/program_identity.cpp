#include "about/program_identity.h"

#include <QDir>
#include <QStringList>

// Defined by the build from the project's version; nothing else spells it.
#ifndef TAMBORO_VERSION
#error "TAMBORO_VERSION must be defined by the build"
#endif

static void initIconResources() { Q_INIT_RESOURCE(tamboro_icons); }

namespace tamboro {

QString programVersion() { return QStringLiteral(TAMBORO_VERSION); }

QIcon programIcon() {
    initIconResources();  // the library is static: its resources register on demand
    QIcon icon;
    const QStringList files = QDir(QStringLiteral(":/icons")).entryList(QDir::Files);
    for (const QString& file : files) icon.addFile(QStringLiteral(":/icons/") + file);
    return icon;
}

}  // namespace tamboro
