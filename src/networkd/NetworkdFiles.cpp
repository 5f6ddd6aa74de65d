#include "networkd/NetworkdFiles.h"

#include "settings/Text.h"
#include "settings/WholeFile.h"

#include <QDir>
#include <QFile>

namespace NetworkdFiles {

namespace {

const QByteArray kMark = "# Written by nuvar-pos-zelvi-ip for this link; it changes or removes it.";

} // namespace

QString fileName(const QString &link, bool onTrial) {
    return QStringLiteral("%1-nuvar-zelvi-%2.network")
        .arg(onTrial ? QStringLiteral("04") : QStringLiteral("05"), link);
}

QString text(const QString &link, const LinkConfig &config) {
    QString out =
        QString::fromLatin1(kMark) + QStringLiteral("\n[Match]\nName=%1\n\n[Network]\n").arg(link);
    if (config.dhcp)
        return out + QStringLiteral("DHCP=ipv4\n");
    for (const QString &address : config.addresses)
        out += QStringLiteral("Address=%1\n").arg(address);
    for (const QString &gateway : config.gateways)
        out += QStringLiteral("Gateway=%1\n").arg(gateway);
    for (const QString &dns : config.dns)
        out += QStringLiteral("DNS=%1\n").arg(dns);
    return out;
}

bool isOurs(const QString &path) {
    QFile file(path);
    // An empty file under the program's name is what a full disk left of one of its files
    // (networkd ignores it): nobody else's settings are in it.
    return file.open(QIODevice::ReadOnly) &&
           (file.size() == 0 || file.readLine().trimmed() == kMark);
}

std::optional<QString> write(const QString &folder, const QString &link, const LinkConfig &config,
                             bool onTrial) {
    return writeText(folder, fileName(link, onTrial), text(link, config).toUtf8());
}

std::optional<QString> writeText(const QString &folder, const QString &name,
                                 const QByteArray &content) {
    const QString path = folder + QLatin1Char('/') + name;
    if (QFile::exists(path) && !isOurs(path))
        return Text::tr("%1 bu programın dosyası değil; değiştirilmedi.").arg(path);
    return WholeFile::replace(path, content, 0644); // networkd reads it as its own user
}

QStringList linksWithFiles(const QString &folder, bool onTrial) {
    const QString prefix = fileName(QString(), onTrial).section(QLatin1Char('.'), 0, 0);
    const QString suffix = QStringLiteral(".network");
    QStringList links;
    const QStringList names = QDir(folder).entryList({prefix + QLatin1Char('*') + suffix},
                                                     QDir::Files | QDir::System | QDir::Hidden);
    for (const QString &name : names) {
        if (isOurs(folder + QLatin1Char('/') + name))
            links.append(name.mid(prefix.size(), name.size() - prefix.size() - suffix.size()));
    }
    return links;
}

std::optional<QString> remove(const QString &folder, const QString &link, bool onTrial) {
    const QString path = folder + QLatin1Char('/') + fileName(link, onTrial);
    if (!QFile::exists(path))
        return std::nullopt;
    if (!isOurs(path))
        return Text::tr("%1 bu programın dosyası değil; silinmedi.").arg(path);
    QFile file(path);
    if (!file.remove())
        return Text::tr("%1 silinemedi: %2").arg(path, file.errorString());
    return std::nullopt;
}

} // namespace NetworkdFiles
