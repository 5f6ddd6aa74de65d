#include "core/Autostart.h"

#include "settings/FileLocation.h"
#include "settings/Text.h"
#include "settings/WholeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

namespace Autostart {

namespace {

QString execQuoted(const QString &path);

// A program path as the Exec key takes it: quoted when it holds a reserved character, with
// the characters that are special inside quotes escaped, and "%" doubled; then, as every
// string value of the file, with "\" and the control characters escaped once more.
QString execArgument(const QString &path) {
    QString value;
    for (const QChar c : execQuoted(path)) {
        if (c == u'\\')
            value += QStringLiteral("\\\\");
        else if (c == u'\n')
            value += QStringLiteral("\\n");
        else if (c == u'\t')
            value += QStringLiteral("\\t");
        else if (c == u'\r')
            value += QStringLiteral("\\r");
        else
            value += c;
    }
    return value;
}

QString execQuoted(const QString &path) {
    QString escaped = path;
    escaped.replace(QLatin1Char('%'), QStringLiteral("%%"));
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    if (std::none_of(escaped.begin(), escaped.end(), [](QChar c) { return reserved.contains(c); }))
        return escaped;
    QString quoted;
    for (const QChar c : escaped) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            quoted += QLatin1Char('\\');
        quoted += c;
    }
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

} // namespace

QString entryPath() {
    return FileLocation::configBase() + QStringLiteral("/autostart/nuvar-pos-zelvi-ip.desktop");
}

bool isEnabled() {
    return QFileInfo::exists(entryPath());
}

QByteArray entryText(const QString &program) {
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Nuvar POS Zelvi IP\n"
           "Comment=Network profiles and automatic IP (DHCP)\n"
           "Comment[tr]=Ağ profilleri ve otomatik IP (DHCP)\n"
           "Exec=" +
           execArgument(program).toUtf8() +
           " /HIDEONSTARTUP\n"
           "Icon=nuvar-pos-zelvi-ip\n"
           "Terminal=false\n"
           "X-GNOME-Autostart-enabled=true\n";
}

bool setEnabled(bool on, const QString &program, QString &error) {
    const QString path = entryPath();
    if (!on) {
        if (!QFileInfo::exists(path) || QFile::remove(path))
            return true;
        error = Text::tr("Oturum açılınca başlatma kaldırılamadı: %1").arg(path);
        return false;
    }
    QDir().mkpath(QFileInfo(path).absolutePath());
    const std::optional<QString> failed = WholeFile::replace(path, entryText(program));
    if (!failed)
        return true;
    error = Text::tr("Oturum açılınca başlatma ayarlanamadı: %1").arg(*failed);
    return false;
}

} // namespace Autostart
