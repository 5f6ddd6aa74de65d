// Which network manager the program works through when none is named: the one that manages
// the cards; both on one card is said and nothing changes.
#include "adapters/BackendChoice.h"

#include <QTest>

class tst_BackendChoice : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void decide_data();
    void decide();
};

using Cards = std::optional<QStringList>;

void tst_BackendChoice::decide_data() {
    QTest::addColumn<Cards>("networkManager"); // its adapters' captions; none: not running
    QTest::addColumn<Cards>("networkd");
    QTest::addColumn<QString>("picked");
    const QStringList card{QStringLiteral("[00000002] zc0")};
    QTest::newRow("NetworkManager beside networkd, managing no card")
        << Cards(QStringList()) << Cards(card) << "networkd";
    QTest::newRow("both on the card after apt brought NetworkManager")
        << Cards(QStringList{QStringLiteral("[00000002] zc0 - Intel")}) << Cards(card)
        << "neither: zc0";
    QTest::newRow("each on a card of its own")
        << Cards(QStringList{QStringLiteral("[00000003] wlan0")}) << Cards(card)
        << "NetworkManager";
}

void tst_BackendChoice::decide() {
    QFETCH(Cards, networkManager);
    QFETCH(Cards, networkd);
    QFETCH(QString, picked);
    const BackendChoice::Decision d = BackendChoice::decide(networkManager, networkd);
    QString got = QStringLiteral("neither");
    if (d.pick == BackendChoice::Pick::NetworkManager)
        got = QStringLiteral("NetworkManager");
    else if (d.pick == BackendChoice::Pick::Networkd)
        got = QStringLiteral("networkd");
    else if (d.problem.contains(QStringLiteral(": zc0.")))
        got += QStringLiteral(": zc0");
    QCOMPARE(got, picked);
}

QTEST_GUILESS_MAIN(tst_BackendChoice)
#include "tst_backendchoice.moc"
