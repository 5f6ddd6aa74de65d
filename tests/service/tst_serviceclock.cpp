// The address service's time for each client against a wall clock that steps (an operator or
// a time daemon sets it): a step back must not keep a silent client for ever, a step ahead must
// not end one early. This program stands in for the C library's wall clocks to step them.
#include "service/IpService.h"

#include <QTcpSocket>
#include <QTest>
#include <dlfcn.h>
#include <sys/time.h>
#include <time.h>

namespace {
long g_wallStep = 0; // seconds added to the wall clock from now on
} // namespace

extern "C" int clock_gettime(clockid_t id, struct timespec *ts) noexcept {
    using Real = int (*)(clockid_t, struct timespec *);
    static const Real real = reinterpret_cast<Real>(dlsym(RTLD_NEXT, "clock_gettime"));
    const int result = real(id, ts);
    if (result == 0 && (id == CLOCK_REALTIME || id == CLOCK_REALTIME_COARSE))
        ts->tv_sec += g_wallStep;
    return result;
}

extern "C" int gettimeofday(struct timeval *tv, void *zone) noexcept {
    using Real = int (*)(struct timeval *, void *);
    static const Real real = reinterpret_cast<Real>(dlsym(RTLD_NEXT, "gettimeofday"));
    const int result = real(tv, zone);
    if (result == 0)
        tv->tv_sec += g_wallStep;
    return result;
}

class tst_ServiceClock : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { g_wallStep = 0; }
    void silentClientEndsOnTime_data() {
        QTest::addColumn<long>("step");
        QTest::newRow("wall clock set an hour back") << -3600L;
        QTest::newRow("wall clock set an hour ahead") << 3600L;
    }
    void silentClientEndsOnTime() {
        QFETCH(long, step);
        IpService service;
        QVERIFY(service.listen(QHostAddress::LocalHost, 0));
        QTcpSocket client;
        client.connectToHost(QHostAddress::LocalHost, service.port());
        QVERIFY(client.waitForConnected(2000));
        QTRY_COMPARE(service.openConnections(), 1);
        g_wallStep = step;
        QTest::qWait(IpService::ClientTimeoutMs / 2);
        QCOMPARE(client.state(), QAbstractSocket::ConnectedState); // not ended early
        QTRY_COMPARE_WITH_TIMEOUT(client.state(), QAbstractSocket::UnconnectedState,
                                  IpService::ClientTimeoutMs * 2);
        QCOMPARE(service.openConnections(), 0);
    }
};

QTEST_GUILESS_MAIN(tst_ServiceClock)
#include "tst_serviceclock.moc"
