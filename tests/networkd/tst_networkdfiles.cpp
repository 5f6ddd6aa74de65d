// The program's own .network files: what they say, and that a file of another (the
// administrator's, netplan's) is never replaced or removed, whatever its name.
#include "TestFiles.h"
#include "networkd/NetworkdFiles.h"

#include <QTemporaryDir>
#include <QTest>

class tst_NetworkdFiles : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void files_data();
    void files();
};

void tst_NetworkdFiles::files_data() {
    QTest::addColumn<QByteArray>("before"); // the file of that name before; null: none
    QTest::addColumn<bool>("dhcp");
    QTest::addColumn<bool>("written");
    QTest::addColumn<QByteArray>("contains");
    const QByteArray mark =
        "# Written by nuvar-pos-zelvi-ip for this link; it changes or removes it.\n";
    QTest::newRow("static, new") << QByteArray() << false << true
                                 << QByteArray("[Match]\nName=eth0\n\n[Network]\n"
                                               "Address=10.0.0.5/24\nGateway=10.0.0.1\n"
                                               "DNS=10.0.0.1\nDNS=8.8.8.8\n");
    QTest::newRow("DHCP over the program's own")
        << mark + "[Network]\nAddress=1.2.3.4/8\n"
        << true << true << QByteArray("[Network]\nDHCP=ipv4\n");
    QTest::newRow("the program's own, emptied by a full disk")
        << QByteArray("") << false << true << QByteArray("Address=10.0.0.5/24\n");
    QTest::newRow("the administrator's file of that name")
        << QByteArray("[Match]\nName=eth0\n[Network]\nDHCP=yes\n") << false << false
        << QByteArray("DHCP=yes");
}

void tst_NetworkdFiles::files() {
    QFETCH(QByteArray, before);
    QFETCH(bool, dhcp);
    QFETCH(bool, written);
    QFETCH(QByteArray, contains);
    QTemporaryDir dir;
    const QString path = dir.filePath(NetworkdFiles::fileName(QStringLiteral("eth0")));
    if (!before.isNull())
        writeAll(path, before);
    NetworkdFiles::LinkConfig config;
    config.dhcp = dhcp;
    config.addresses = {QStringLiteral("10.0.0.5/24")};
    config.gateways = {QStringLiteral("10.0.0.1")};
    config.dns = {QStringLiteral("10.0.0.1"), QStringLiteral("8.8.8.8")};
    const std::optional<QString> problem =
        NetworkdFiles::write(dir.path(), QStringLiteral("eth0"), config);
    QCOMPARE(!problem.has_value(), written);
    QVERIFY2(readAll(path).contains(contains), readAll(path).constData());
    QCOMPARE(NetworkdFiles::isOurs(path), written);
    // Removed only when it is the program's.
    QCOMPARE(!NetworkdFiles::remove(dir.path(), QStringLiteral("eth0")).has_value(), written);
    QCOMPARE(QFile::exists(path), !written);
    // A trial's file sorts before the lasting one, and both before netplan's.
    QVERIFY(NetworkdFiles::fileName(QStringLiteral("eth0"), true) <
            NetworkdFiles::fileName(QStringLiteral("eth0")));
    QVERIFY(NetworkdFiles::fileName(QStringLiteral("eth0")) <
            QStringLiteral("10-netplan-eth0.network"));
}

QTEST_GUILESS_MAIN(tst_NetworkdFiles)
#include "tst_networkdfiles.moc"
