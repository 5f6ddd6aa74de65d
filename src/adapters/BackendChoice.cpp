#include "adapters/BackendChoice.h"

#include "settings/Text.h"

#include <QRegularExpression>

namespace BackendChoice {

namespace {

// The interface index a caption starts with; empty when it has none.
QString indexOf(const QString &caption) {
    static const QRegularExpression index(QStringLiteral("^\\[(\\d+)\\]"));
    return index.match(caption).captured(1);
}

// The caption's name: what follows the index, up to a " - " and the model.
QString nameOf(const QString &caption) {
    return caption.section(QLatin1Char(']'), 1).trimmed().section(QStringLiteral(" - "), 0, 0);
}

} // namespace

Decision decide(const std::optional<QStringList> &networkManager,
                const std::optional<QStringList> &networkd) {
    if (!networkManager && !networkd)
        return {};
    if (!networkd)
        return {Pick::NetworkManager, {}};
    if (!networkManager)
        return {Pick::Networkd, {}};
    QStringList both;
    for (const QString &card : *networkd) {
        for (const QString &other : *networkManager) {
            if (!indexOf(card).isEmpty() && indexOf(card) == indexOf(other))
                both.append(nameOf(card));
        }
    }
    if (!both.isEmpty())
        return {Pick::Neither,
                Text::tr("Şu ağ kartlarını hem NetworkManager hem systemd-networkd yönetiyor: %1.\n"
                         "İkisi aynı kartın ayarlarını yazdığı için hiçbir şey değiştirilmedi; "
                         "kartı yalnız birine bırakın.")
                    .arg(both.join(QStringLiteral(", ")))};
    // NetworkManager running beside networkd without a card of its own (a desktop package
    // that brought it along): networkd's cards are the computer's.
    if (networkManager->isEmpty() && !networkd->isEmpty())
        return {Pick::Networkd, {}};
    return {Pick::NetworkManager, {}};
}

} // namespace BackendChoice
