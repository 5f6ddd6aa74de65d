// Test helper: puts a static address on an adapter through the NetworkManager backend, or
// puts it on DHCP, and prints the result code and NetworkManager's message:
//   nm_client IFACE ADDRESS MASK
//   nm_client IFACE dhcp
#include "adapters/Wmi.h"
#include "networkmanager/NetworkManagerBackend.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <cstdio>

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    const bool dhcp = argc == 3 && QByteArrayView(argv[2]) == "dhcp";
    if (argc != 4 && !dhcp)
        return 2;
    NetworkManagerBackend nm(QDBusConnection::systemBus());
    WmiError error;
    WmiAdapterList adapters;
    if (!nm.connect(error) || !nm.ipEnabledAdapters(adapters, error)) {
        std::printf("error %lld %s\n", error.number, qPrintable(error.description));
        return 1;
    }
    for (const auto &adapter : adapters) {
        if (adapter->Caption().endsWith(QLatin1String(" ") + QString::fromLocal8Bit(argv[1]))) {
            const qint32 code = dhcp ? adapter->EnableDHCP()
                                     : adapter->EnableStatic({QString::fromLocal8Bit(argv[2])},
                                                             {QString::fromLocal8Bit(argv[3])});
            std::printf("%d %s\n", code, qPrintable(adapter->lastErrorText()));
            return 0;
        }
    }
    std::printf("no adapter\n");
    return 1;
}
