// zelvi-ip-service: answers the program's POST to /ip.php with the caller's address.
//   zelvi-ip-service [--listen ADDRESS] [--port PORT]
#include "service/IpService.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstdio>

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("zelvi-ip-service"));
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Answers POST /ip.php with the caller's IPv4 address as plain text."));
    parser.addHelpOption();
    const QCommandLineOption listen(QStringLiteral("listen"),
                                    QStringLiteral("Address to listen on (default 0.0.0.0)."),
                                    QStringLiteral("address"), QStringLiteral("0.0.0.0"));
    const QCommandLineOption port(QStringLiteral("port"),
                                  QStringLiteral("Port (default 8080; 0 picks a free one)."),
                                  QStringLiteral("port"), QStringLiteral("8080"));
    parser.addOption(listen);
    parser.addOption(port);
    parser.process(app);

    const QHostAddress address(parser.value(listen));
    bool portOk = false;
    const uint portNumber = parser.value(port).toUInt(&portOk);
    if (address.isNull() || !portOk || portNumber > 65535) {
        std::fprintf(stderr, "zelvi-ip-service: bad --listen or --port\n");
        return 2;
    }
    IpService service;
    if (!service.listen(address, quint16(portNumber))) {
        std::fprintf(stderr, "zelvi-ip-service: %s\n", qPrintable(service.errorString()));
        return 1;
    }
    std::printf("listening on %s:%u\n", qPrintable(address.toString()), service.port());
    std::fflush(stdout);
    return QCoreApplication::exec();
}
