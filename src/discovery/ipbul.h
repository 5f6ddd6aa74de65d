#pragma once

#include <QString>
#include <functional>

class UserPrompts;

// The computer's own IPv4 address: its host name, looked up. Where the host name maps to a
// loopback address (Debian maps it to 127.0.1.1), the first IPv4 address of the machine's
// interfaces that is not a loopback address is taken instead.
namespace ipbul {

// The platform's calls, replaceable for tests.
struct Platform {
    // The host name, or the error number (errno) of the failure.
    std::function<bool(QString &name, int &error)> hostName;
    // The IPv4 addresses of a name, in the resolver's order; empty when it finds nothing.
    std::function<QList<quint32>(const QString &name)> resolve;
    // The IPv4 addresses of the machine's interfaces that are up, in interface order.
    std::function<QList<quint32>()> interfaceAddresses;

    static Platform system();
};

// The address as dotted text, or the empty text after telling the user what failed.
QString GetLocalAddress(UserPrompts &prompts, const Platform &platform = Platform::system());

} // namespace ipbul
