// The local address: the host name's first IPv4 address, the machine's first non-loopback
// address where the name maps to loopback, and the messages when the lookup fails.
#include "FakePrompts.h"
#include "discovery/ipbul.h"

#include <QTest>

namespace {

QString u(const char *utf8) {
    return QString::fromUtf8(utf8);
}

quint32 ip(int a, int b, int c, int d) {
    return quint32(a << 24 | b << 16 | c << 8 | d);
}

ipbul::Platform platform(QList<quint32> resolved, QList<quint32> interfaces = {}, int error = 0) {
    ipbul::Platform p;
    p.hostName = [error](QString &name, int &code) {
        name = u("kasa-pc");
        code = error;
        return error == 0;
    };
    p.resolve = [resolved](const QString &) { return resolved; };
    p.interfaceAddresses = [interfaces] { return interfaces; };
    return p;
}

} // namespace

class tst_ipbul : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void firstAddressOfTheName();
    void loopbackNameTakesTheInterfaceAddress();
    void failuresAreToldAndGiveNothing();
};

void tst_ipbul::firstAddressOfTheName() {
    FakePrompts prompts;
    QCOMPARE(ipbul::GetLocalAddress(prompts, platform({ip(192, 168, 1, 50), ip(10, 0, 0, 5)})),
             u("192.168.1.50"));
    QCOMPARE(ipbul::GetLocalAddress(prompts, platform({ip(10, 0, 0, 5)})), u("10.0.0.5"));
    QVERIFY(prompts.messages.isEmpty());
}

void tst_ipbul::loopbackNameTakesTheInterfaceAddress() {
    FakePrompts prompts;
    QCOMPARE(ipbul::GetLocalAddress(
                 prompts, platform({ip(127, 0, 1, 1)},
                                   {ip(127, 0, 0, 1), ip(192, 0, 2, 2), ip(10, 1, 1, 1)})),
             u("192.0.2.2"));
    // Only loopback anywhere: that is the answer.
    QCOMPARE(ipbul::GetLocalAddress(prompts, platform({ip(127, 0, 1, 1)}, {ip(127, 0, 0, 1)})),
             u("127.0.1.1"));
}

void tst_ipbul::failuresAreToldAndGiveNothing() {
    FakePrompts prompts;
    QCOMPARE(ipbul::GetLocalAddress(prompts, platform({}, {}, 36)), QString());
    QCOMPARE(prompts.messages.last(),
             u("Windows Sockets error  36 has occurred. Unable to successfully get Host Name."));
    QCOMPARE(ipbul::GetLocalAddress(prompts, platform({}, {}, -3)), QString());
    QCOMPARE(prompts.messages.last(),
             u("Windows Sockets error -3 has occurred. Unable to successfully get Host Name."));
    QCOMPARE(ipbul::GetLocalAddress(prompts, platform({})), QString());
    QCOMPARE(prompts.messages.last(),
             u("Windows Sockets are not responding. Unable to successfully get Host Name."));
    QCOMPARE(prompts.icons.last(), UserPrompts::Icon::None);
}

QTEST_GUILESS_MAIN(tst_ipbul)
#include "tst_ipbul.moc"
