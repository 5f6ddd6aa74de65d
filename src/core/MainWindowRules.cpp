#include "core/MainWindowRules.h"

#include "settings/IniCodec.h"
#include "settings/ShownText.h"
#include "settings/Text.h"

#include <QCollator>
#include <algorithm>
#include <numeric>
#include <vector>

namespace MainWindowRules {

QString caption(const QString &currentProfile) {
    const QString product = QStringLiteral(ZELVI_PRODUCT_NAME);
    return currentProfile.isEmpty() ? product
                                    : product + QStringLiteral(" (") +
                                          ShownText::escaped(currentProfile) + QLatin1Char(')');
}

QString trialText(int seconds) {
    return Text::tr("deneniyor, %1 sn").arg(seconds);
}

QString simulationNote() {
    return Text::tr(" [BENZETİM: ağa dokunmaz]");
}

QStringList profileParts(const QString &value) {
    return value.isEmpty() ? QStringList() : value.split(QLatin1Char('.'));
}

QString cloneName(const QString &name) {
    return name + QStringLiteral(" (CLONE)");
}

QString deleteQuestion(const QString &name) {
    QString text = Text::tr("\"%s\" profili silinecek.\nEmin misiniz?");
    return text.replace(QStringLiteral("%s"), name);
}

QString foldedProfileName(const QString &name) {
    return IniCodec::foldName(name.trimmed());
}

bool sameProfileName(const QString &a, const QString &b) {
    return foldedProfileName(a) == foldedProfileName(b);
}

namespace {

QCollator makeProfileCollator() {
    QCollator c(QLocale(QLocale::Turkish, QLocale::Turkey));
    c.setCaseSensitivity(Qt::CaseInsensitive);
    c.setNumericMode(true);
    return c;
}

} // namespace

QStringList sortedProfileNames(const QStringList &names) {
    if (names.size() < 2)
        return names; // nothing to order: no collator (the collation data is megabytes)
    const QCollator collator = makeProfileCollator(); // its own: this may run on any thread
    std::vector<QCollatorSortKey> keys;
    keys.reserve(std::size_t(names.size()));
    for (const QString &name : names)
        keys.push_back(collator.sortKey(name));
    std::vector<qsizetype> order(std::size_t(names.size()));
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) {
        const int byKey = keys[std::size_t(a)].compare(keys[std::size_t(b)]);
        return byKey != 0 ? byKey < 0 : names[a] < names[b];
    });
    QStringList sorted;
    sorted.reserve(names.size());
    for (const qsizetype i : order)
        sorted.append(names[i]);
    return sorted;
}

QString noServiceHelp() {
    return Text::tr(
        "Dış adres servisi ayarlanmamış:\n"
        "internet bağlantısı denetlenmiyor; bir profil, MODEM IP'si cevap vermezse geri alınır.\n"
        "Servisin adresini komutla yazın, örneğin:\n"
        "nuvar-pos-zelvi-ip --set-link ExternalAddressUrl http://sunucu.ornek:8080/ip.php");
}

} // namespace MainWindowRules
