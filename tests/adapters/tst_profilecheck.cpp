// A profile is judged whole before any adapter changes: what cannot work is refused with
// the field named, what is most likely a typing mistake is asked about.
#include "adapters/ProfileCheck.h"

#include <QTest>

class tst_ProfileCheck : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void judgement_data();
    void judgement();
};

void tst_ProfileCheck::judgement_data() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("refusal"); // a part of the refusal, empty when none
    QTest::addColumn<QString>("doubt");   // a part of the doubts, empty when none

    const auto row = [](const char *name, const char *value, const char *refusal,
                        const char *doubt) {
        QTest::newRow(name) << QString::fromUtf8(value) << QString::fromUtf8(refusal)
                            << QString::fromUtf8(doubt);
    };
    row("good", "192.168.5.50.255.255.255.0.192.168.5.254.8.8.8.8.8.8.4.4", "", "");
    row("second DNS blank", "10.0.0.5.255.0.0.0.10.0.0.1.10.0.0.1....", "", "");
    row("a /31 has no network address", "10.0.0.0.255.255.255.254.10.0.0.1.8.8.8.8....", "", "");
    row("incomplete", "10.0.0.5", "eksik", "");
    row("octet 300", "10.0.0.300.255.0.0.0.10.0.0.1.8.8.8.8....", "ZELVİ IP", "");
    row("octet 999 in the gateway", "10.0.0.5.255.0.0.0.10.0.0.999.8.8.8.8....", "MODEM IP", "");
    row("letters", "10.0.0.5.255.0.0.0.10.0.0.1.8.8.a.8....", "DNS 1", "");
    row("half a second DNS", "10.0.0.5.255.0.0.0.10.0.0.1.8.8.8.8.1...", "DNS 2", "");
    row("everything empty", "...................", "ZELVİ IP (bilgisayarın IP adresi): boş", "");
    row("empty mask", "10.0.0.5.....10.0.0.1.8.8.8.8....", "MASKE (alt ağ maskesi): boş", "");
    row("mask with a hole", "10.0.0.5.255.0.255.0.10.0.0.1.8.8.8.8....", "MASKE", "");
    row("mask 0.0.0.0", "10.0.0.5.0.0.0.0.10.0.0.1.8.8.8.8....", "MASKE", "");
    row("address 0.0.0.0", "0.0.0.0.255.0.0.0.10.0.0.1.8.8.8.8....", "0.0.0.0", "");
    row("gateway 0.0.0.0", "10.0.0.5.255.0.0.0.0.0.0.0.8.8.8.8....",
        "MODEM IP (ağ geçidi): 0.0.0.0", "");
    row("DNS 1 0.0.0.0", "10.0.0.5.255.0.0.0.10.0.0.1.0.0.0.0....", "DNS 1: 0.0.0.0", "");
    row("multicast", "224.0.0.5.255.255.255.0.224.0.0.1.8.8.8.8....", "multicast", "");
    row("loopback", "127.0.0.5.255.0.0.0.127.0.0.1.8.8.8.8....", "loopback", "");
    row("broadcast", "255.255.255.255.255.255.255.0.10.0.0.1.8.8.8.8....", "genel yayın", "");
    row("network address", "192.168.5.0.255.255.255.0.192.168.5.1.8.8.8.8....", "", "ağ adresi");
    row("broadcast of the subnet", "192.168.5.255.255.255.255.0.192.168.5.1.8.8.8.8....", "",
        "yayın");
    row("gateway outside", "192.168.5.50.255.255.255.0.192.168.6.1.8.8.8.8....", "", "dışında");
    row("gateway is the address", "192.168.5.50.255.255.255.0.192.168.5.50.8.8.8.8....", "",
        "kendi IP");
}

void tst_ProfileCheck::judgement() {
    QFETCH(QString, value);
    QFETCH(QString, refusal);
    QFETCH(QString, doubt);
    const ProfileCheck::Result r = ProfileCheck::check(value.split(QLatin1Char('.')));
    if (refusal.isEmpty()) {
        QVERIFY2(r.canApply(), qPrintable(r.refusal.value_or(QString())));
    } else {
        QVERIFY(!r.canApply());
        QVERIFY2(r.refusal->contains(refusal), qPrintable(*r.refusal));
    }
    if (doubt.isEmpty())
        QVERIFY2(r.doubts.isEmpty(), qPrintable(r.doubts.join(QLatin1Char('\n'))));
    else
        QVERIFY2(r.doubts.join(QLatin1Char('\n')).contains(doubt),
                 qPrintable(r.doubts.join(QLatin1Char('\n'))));
}

QTEST_APPLESS_MAIN(tst_ProfileCheck)
#include "tst_profilecheck.moc"
