#include "adapters/NeighbourProbe.h"

#include "settings/BackgroundWork.h"

#include <QElapsedTimer>
#include <QFile>
#include <QList>
#include <QThread>
#include <arpa/inet.h>
#include <net/if.h>
#include <netinet/in.h>
#include <optional>
#include <sys/socket.h>
#include <unistd.h>

namespace NeighbourProbe {

namespace {

constexpr unsigned kComplete = 0x2; // ATF_COM: the link-layer address is known

std::optional<QByteArray> table() {
    QFile file(QStringLiteral("/proc/net/arp"));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.read(1024 * 1024);
}

} // namespace

bool completeIn(const QByteArray &table, const QString &interface, const QString &address) {
    const QList<QByteArray> lines = table.split('\n');
    // "IP address  HW type  Flags  HW address  Mask  Device", after a heading line.
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QList<QByteArray> f = lines[i].simplified().split(' ');
        bool ok = false;
        if (f.size() >= 6 && f[0] == address.toLatin1() && f[5] == interface.toLocal8Bit() &&
            (f[2].toUInt(&ok, 16) & kComplete) && ok)
            return true;
    }
    return false;
}

Answer ask(const QString &interface, const QString &address, int deadlineMs) {
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(9); // discard: nothing is expected back but the neighbour's address
    const QByteArray name = interface.toLocal8Bit();
    if (::inet_pton(AF_INET, address.toLatin1().constData(), &to.sin_addr) != 1 ||
        ::if_nametoindex(name.constData()) == 0 || !table())
        return Answer::Unknown;
    Answer answer = Answer::Silent;
    // Off the window's thread: the window paints meanwhile, and takes no input.
    BackgroundWork::run([&] {
        const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        if (fd < 0) {
            answer = Answer::Unknown;
            return;
        }
        // Through this card (a user may bind an unbound socket to one since Linux 5.7; before,
        // the route to the address picks the card, which is this one for its own subnet).
        (void)::setsockopt(fd, SOL_SOCKET, SO_BINDTODEVICE, name.constData(),
                           socklen_t(name.size()));
        QElapsedTimer clock;
        clock.start();
        qint64 lastSent = -1000;
        while (clock.elapsed() < deadlineMs) {
            if (clock.elapsed() - lastSent >= 1000) {
                (void)::sendto(fd, "", 1, MSG_DONTWAIT, reinterpret_cast<const sockaddr *>(&to),
                               sizeof to);
                lastSent = clock.elapsed();
            }
            if (const std::optional<QByteArray> now = table();
                now && completeIn(*now, interface, address)) {
                answer = Answer::Answered;
                break;
            }
            QThread::msleep(100);
        }
        ::close(fd);
    });
    return answer;
}

} // namespace NeighbourProbe
