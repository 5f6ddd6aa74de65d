#include "MainWindowRules.h"

#include "IniCodec.h"
#include "ShownText.h"

#include <QCollator>

namespace MainWindowRules {

QString caption(const QString &currentProfile) {
    const QString product = QStringLiteral(ZELVI_PRODUCT_NAME);
    return currentProfile.isEmpty() ? product
                                    : product + QStringLiteral(" (") +
                                          ShownText::escaped(currentProfile) + QLatin1Char(')');
}

QString trialText(int seconds) {
    return QStringLiteral("deneniyor, %1 sn").arg(seconds);
}

QStringList profileParts(const QString &value) {
    return value.isEmpty() ? QStringList() : value.split(QLatin1Char('.'));
}

QString cloneName(const QString &name) {
    return name + QStringLiteral(" (CLONE)");
}

QString deleteQuestion(const QString &name) {
    QString text = QStringLiteral("\"%s\" profili silinecek.\nEmin misiniz?");
    return text.replace(QStringLiteral("%s"), name);
}

bool sameProfileName(const QString &a, const QString &b) {
    return IniCodec::foldName(a.trimmed()) == IniCodec::foldName(b.trimmed());
}

bool profileBefore(const QString &a, const QString &b) {
    static const QCollator collator = [] {
        QCollator c(QLocale(QLocale::Turkish, QLocale::Turkey));
        c.setCaseSensitivity(Qt::CaseInsensitive);
        c.setNumericMode(true);
        return c;
    }();
    const int order = collator.compare(a, b);
    return order != 0 ? order < 0 : a < b;
}

QString noServiceHelp() {
    return QStringLiteral("Dış adres servisi ayarlanmamış: internet bağlantısı denetlenmiyor ve "
                          "bağlantı yokken otomatik IP'ye geçilmiyor.\nAyar dosyasının [Links] "
                          "bölümüne servisin adresini yazın, örneğin:\n[Links]\n"
                          "ExternalAddressUrl=http://sunucu.ornek:8080/ip.php");
}

} // namespace MainWindowRules
