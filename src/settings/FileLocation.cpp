#include "FileLocation.h"

#include "ProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <unistd.h>

namespace FileLocation {

QString configFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/nuvar-pos-zelvi-ip");
}

QString choose(const QString &fileName, const QString &programFolder, bool fileBesideProgram,
               bool programFolderWritable, const QString &configFolder) {
    if (fileBesideProgram || programFolderWritable)
        return programFolder + QLatin1Char('/') + fileName;
    return configFolder + QLatin1Char('/') + fileName;
}

QString programFile(const QString &fileName) {
    const QString folder = programFolder();
    const QString config = configFolder();
    const QString path =
        choose(fileName, folder, QFile::exists(folder + QLatin1Char('/') + fileName),
               ::access(QFile::encodeName(folder).constData(), W_OK) == 0, config);
    if (path.startsWith(config + QLatin1Char('/')))
        QDir().mkpath(config); // the first start of an installed copy
    return path;
}

} // namespace FileLocation
