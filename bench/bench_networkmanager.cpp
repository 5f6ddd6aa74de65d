// Applying a static profile through our NetworkManager backend against nmcli making the
// same changes (the adapter to automatic addressing, then to the static profile), inside
// scripts/nm-harness.sh. Prints the time from the start of the apply until the static
// address is on the adapter, for each round and as medians. With PROGRAM, the program's
// command line (PROGRAM --apply NAME --all, a process of its own each time) takes the place
// of the backend called in this process.
//   scripts/nm-harness.sh build/default/bench/bench_networkmanager [ROUNDS [PROGRAM]]
#include "adapters/AdapterCommands.h"
#include "networkmanager/NetworkManagerBackend.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <algorithm>
#include <cstdio>

namespace {

QString run(const QStringList &args) {
    QProcess p;
    p.start(args.first(), args.mid(1));
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
}

bool hasAddress(const QString &iface, const QString &cidr) {
    return run({QStringLiteral("ip"), QStringLiteral("-4"), QStringLiteral("addr"),
                QStringLiteral("show"), QStringLiteral("dev"), iface})
        .contains(QStringLiteral("inet ") + cidr + QLatin1Char(' '));
}

void waitForAddress(const QString &iface, const QString &cidr) {
    QElapsedTimer t;
    t.start();
    while (!hasAddress(iface, cidr) && t.elapsed() < 30000)
        QThread::msleep(5);
}

double median(QList<double> values) {
    std::sort(values.begin(), values.end());
    const qsizetype n = values.size();
    return n == 0 ? 0 : (n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2);
}

} // namespace

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    const QString iface = qEnvironmentVariable("ZELVI_NM_IFACE");
    if (iface.isEmpty()) {
        std::fprintf(stderr, "run inside scripts/nm-harness.sh\n");
        return 2;
    }
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 9;
    const QString program = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
    const QString settings =
        qEnvironmentVariable("ZELVI_NM_WORK") + QStringLiteral("/bench.config");
    if (!program.isEmpty()) {
        QFile f(settings);
        if (!f.open(QIODevice::WriteOnly))
            return 2;
        f.write("[Profiles]\nP50=10.99.0.50.255.255.255.0.10.99.0.1.10.99.0.1....\n"
                "P51=10.99.0.51.255.255.255.0.10.99.0.1.10.99.0.1....\n");
    }
    run({QStringLiteral("nmcli"), QStringLiteral("connection"), QStringLiteral("add"),
         QStringLiteral("type"), QStringLiteral("ethernet"), QStringLiteral("ifname"), iface,
         QStringLiteral("con-name"), QStringLiteral("kasa"), QStringLiteral("ipv6.method"),
         QStringLiteral("disabled"), QStringLiteral("ipv4.dhcp-send-hostname"),
         QStringLiteral("no")});
    run({QStringLiteral("nmcli"), QStringLiteral("connection"), QStringLiteral("up"),
         QStringLiteral("kasa")});

    NetworkManagerBackend nm(QDBusConnection::systemBus());
    QList<double> ours;
    QList<double> theirs;
    for (int round = 0; round < rounds; ++round) {
        const QString host = QString::number(50 + round % 2);
        const QString address = QStringLiteral("10.99.0.") + host;
        const QString cidr = address + QStringLiteral("/24");
        QElapsedTimer t;

        // nmcli first on even rounds, ours first on odd ones.
        for (int turn = 0; turn < 2; ++turn) {
            const bool oursNow = (turn == 0) == (round % 2 == 1);
            const QString target =
                oursNow ? cidr : QStringLiteral("10.99.0.%1/24").arg(60 + round % 2);
            t.start();
            if (oursNow && !program.isEmpty()) {
                run({program, QStringLiteral("--settings"), settings, QStringLiteral("--backend"),
                     QStringLiteral("networkmanager"), QStringLiteral("--apply"),
                     QStringLiteral("P") + host, QStringLiteral("--all")});
            } else if (oursNow) {
                const QStringList parts =
                    (address + QStringLiteral(".255.255.255.0.10.99.0.1.10.99.0.1...."))
                        .split(QLatin1Char('.'));
                AdapterCommands::applyProfile(nm, iface, parts);
            } else {
                const QString nmcli = QStringLiteral("nmcli");
                run({nmcli, QStringLiteral("connection"), QStringLiteral("modify"),
                     QStringLiteral("kasa"), QStringLiteral("ipv4.method"), QStringLiteral("auto"),
                     QStringLiteral("ipv4.addresses"), QString(), QStringLiteral("ipv4.gateway"),
                     QString(), QStringLiteral("ipv4.dns"), QString()});
                run({nmcli, QStringLiteral("connection"), QStringLiteral("up"),
                     QStringLiteral("kasa")});
                run({nmcli, QStringLiteral("connection"), QStringLiteral("modify"),
                     QStringLiteral("kasa"), QStringLiteral("ipv4.method"),
                     QStringLiteral("manual"), QStringLiteral("ipv4.addresses"), target,
                     QStringLiteral("ipv4.gateway"), QStringLiteral("10.99.0.1"),
                     QStringLiteral("ipv4.dns"), QStringLiteral("10.99.0.1")});
                run({nmcli, QStringLiteral("connection"), QStringLiteral("up"),
                     QStringLiteral("kasa")});
            }
            waitForAddress(iface, target);
            const double ms = double(t.nsecsElapsed()) / 1e6;
            (oursNow ? ours : theirs).append(ms);
            std::printf("round %d %-6s %8.1f ms%s\n", round,
                        oursNow ? (program.isEmpty() ? "ours" : "cli") : "nmcli", ms,
                        hasAddress(iface, target) ? "" : "  (address never appeared)");
        }
    }
    std::printf("median %-5s %8.1f ms\nmedian nmcli %8.1f ms\n", program.isEmpty() ? "ours" : "cli",
                median(ours), median(theirs));
    return 0;
}
