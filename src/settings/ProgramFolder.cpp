#include "settings/ProgramFolder.h"

#include <QCoreApplication>
#include <QFileInfo>

QString programFolder() {
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
    // Without an application object (tools, benchmarks) ask the kernel.
    return QFileInfo(QStringLiteral("/proc/self/exe"))
        .canonicalFilePath()
        .section(QLatin1Char('/'), 0, -2);
}
