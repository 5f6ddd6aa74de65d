#include "discovery/ipbul.h"

#include "settings/UserPrompts.h"

#include <QList>
#include <arpa/inet.h>
#include <cerrno>
#include <ifaddrs.h>
#include <net/if.h>
#include <netdb.h>
#include <unistd.h>

namespace ipbul {

namespace {

bool isLoopback(quint32 address) {
    return (address >> 24) == 127;
}

QString dotted(quint32 address) {
    return QStringLiteral("%1.%2.%3.%4")
        .arg(address >> 24)
        .arg((address >> 16) & 0xFF)
        .arg((address >> 8) & 0xFF)
        .arg(address & 0xFF);
}

} // namespace

Platform Platform::system() {
    Platform p;
    p.hostName = [](QString &name, int &error) {
        char buffer[256] = {};
        if (::gethostname(buffer, sizeof buffer - 1) != 0) {
            error = errno;
            return false;
        }
        name = QString::fromLocal8Bit(buffer);
        return true;
    };
    p.resolve = [](const QString &name) {
        QList<quint32> found;
        addrinfo hints{};
        hints.ai_family = AF_INET;
        hints.ai_socktype = SOCK_STREAM;
        addrinfo *result = nullptr;
        if (::getaddrinfo(name.toLocal8Bit().constData(), nullptr, &hints, &result) != 0)
            return found;
        for (const addrinfo *a = result; a; a = a->ai_next) {
            const auto *in = reinterpret_cast<const sockaddr_in *>(a->ai_addr);
            const quint32 address = ntohl(in->sin_addr.s_addr);
            if (!found.contains(address))
                found.append(address);
        }
        ::freeaddrinfo(result);
        return found;
    };
    p.interfaceAddresses = [] {
        QList<quint32> found;
        ifaddrs *list = nullptr;
        if (::getifaddrs(&list) != 0)
            return found;
        for (const ifaddrs *i = list; i; i = i->ifa_next) {
            if (!i->ifa_addr || i->ifa_addr->sa_family != AF_INET || !(i->ifa_flags & IFF_UP))
                continue;
            found.append(
                ntohl(reinterpret_cast<const sockaddr_in *>(i->ifa_addr)->sin_addr.s_addr));
        }
        ::freeifaddrs(list);
        return found;
    };
    return p;
}

QString GetLocalAddress(UserPrompts &prompts, const Platform &platform) {
    QString name;
    int error = 0;
    if (!platform.hostName(name, error)) {
        // The code with a leading blank when it is not negative, as the message always had.
        const QString code = error >= 0 ? QStringLiteral(" %1").arg(error) : QString::number(error);
        prompts.message(QStringLiteral("Windows Sockets error ") + code +
                            QStringLiteral(" has occurred. Unable to successfully get Host Name."),
                        UserPrompts::Icon::None);
        return {};
    }
    const QList<quint32> addresses = platform.resolve(name);
    if (addresses.isEmpty()) {
        prompts.message(QStringLiteral("Windows Sockets are not responding. ") +
                            QStringLiteral("Unable to successfully get Host Name."),
                        UserPrompts::Icon::None);
        return {};
    }
    if (isLoopback(addresses.first())) {
        for (const quint32 address : platform.interfaceAddresses()) {
            if (!isLoopback(address))
                return dotted(address);
        }
    }
    return dotted(addresses.first());
}

} // namespace ipbul
