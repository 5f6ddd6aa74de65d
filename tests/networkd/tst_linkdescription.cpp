// What the program reads back from networkd's description of a link: only what is on the link
// counts, not an entry networkd is still adding or removing.
#include "networkd/LinkDescription.h"

#include <QJsonDocument>
#include <QTest>

class tst_LinkDescription : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void held_data();
    void held();
    void adapters_data();
    void adapters();
};

void tst_LinkDescription::held_data() {
    QTest::addColumn<QByteArray>("addresses"); // the description's "Addresses" entries
    QTest::addColumn<QByteArray>("routes");
    QTest::addColumn<QString>("held");     // as "ADDRESS/MASK via GATEWAY", or "DHCP"
    QTest::addColumn<bool>("holdsStatic"); // 10.99.0.31 from the .network file
    const QByteArray gateway = R"({"Family":2,"Gateway":[10,99,0,1],"DestinationPrefixLength":0,
                                   "ConfigSource":"static","ConfigState":"configured"})";
    const QByteArray ours = R"({"Family":2,"Address":[10,99,0,31],"PrefixLength":24,
                                "ConfigSource":"static","ConfigState":"configured"})";
    QTest::newRow("static beside a lease networkd still lists as being removed")
        << ours + R"(,{"Family":2,"Address":[10,99,0,125],"PrefixLength":24,
                       "ConfigSource":"foreign","ConfigState":"removing"})"
        << gateway << "10.99.0.31/255.255.255.0 via 10.99.0.1" << true;
    QTest::newRow("static whose old gateway is being removed")
        << ours << gateway + R"(,{"Family":2,"Gateway":[10,99,0,254],"DestinationPrefixLength":0,
                          "ConfigSource":"static","ConfigState":"configured,removing"})"
        << "10.99.0.31/255.255.255.0 via 10.99.0.1" << true;
    QTest::newRow("static still being added")
        << QByteArray(R"({"Family":2,"Address":[10,99,0,31],"PrefixLength":24,
                          "ConfigSource":"static","ConfigState":"requesting"})")
        << QByteArray() << "DHCP" << false;
    QTest::newRow("a networkd that gives no states")
        << QByteArray(R"({"Family":2,"Address":[10,99,0,31],"PrefixLength":24,
                          "ConfigSource":"static"})")
        << QByteArray(R"({"Family":2,"Gateway":[10,99,0,1],"DestinationPrefixLength":0})")
        << "10.99.0.31/255.255.255.0 via 10.99.0.1" << true;
}

void tst_LinkDescription::held() {
    QFETCH(QByteArray, addresses);
    QFETCH(QByteArray, routes);
    QFETCH(QString, held);
    QFETCH(bool, holdsStatic);
    const QJsonObject d =
        QJsonDocument::fromJson("{\"Addresses\":[" + addresses + "],\"Routes\":[" + routes + "]}")
            .object();
    QVERIFY(!d.isEmpty());
    const WmiAdapter::Held now = LinkDescription::held(d);
    const QString shown =
        now.dhcp ? QStringLiteral("DHCP")
                 : QStringLiteral("%1/%2 via %3")
                       .arg(now.address.join(QLatin1Char(',')), now.mask.join(QLatin1Char(',')),
                            now.gateway.join(QLatin1Char(',')));
    QCOMPARE(shown, held);
    QCOMPARE(LinkDescription::holdsStatic(d, QStringLiteral("10.99.0.31")), holdsStatic);
}

// Only cards are adapters: an apply puts every adapter on DHCP first, and a bridge, bond, VLAN
// or WireGuard link carries what an administrator built (a till may be reached over it).
void tst_LinkDescription::adapters_data() {
    QTest::addColumn<QByteArray>("description");
    QTest::addColumn<bool>("adapter");
    QTest::newRow("Ethernet card") << QByteArray(R"("Type":"ether")") << true;
    QTest::newRow("veth, the tests' cable")
        << QByteArray(R"("Type":"ether","Kind":"veth")") << true;
    QTest::newRow("bridge holding the shop's 10.50.0.1/24")
        << QByteArray(R"("Type":"ether","Kind":"bridge")") << false;
    QTest::newRow("VLAN on a card") << QByteArray(R"("Type":"ether","Kind":"vlan")") << false;
    QTest::newRow("WireGuard the till is reached over")
        << QByteArray(R"("Type":"none","Kind":"wireguard")") << false;
    QTest::newRow("card networkd leaves alone")
        << QByteArray(R"("Type":"ether","AdministrativeState":"unmanaged")") << false;
}

void tst_LinkDescription::adapters() {
    QFETCH(QByteArray, description);
    QFETCH(bool, adapter);
    const QJsonObject d = QJsonDocument::fromJson("{" + description + "}").object();
    QVERIFY(!d.isEmpty());
    QCOMPARE(LinkDescription::isAdapter(d), adapter);
}

QTEST_GUILESS_MAIN(tst_LinkDescription)
#include "tst_linkdescription.moc"
