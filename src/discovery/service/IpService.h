#pragma once

#include <QHostAddress>
#include <QObject>
#include <QTcpServer>

// A minimal HTTP server that answers "POST /ip.php" with the caller's IPv4 address as plain
// text and nothing else. Other paths get 404, other methods 405. Requests are read up to a
// bounded size and a slow client is dropped after a few seconds.
class IpService : public QObject {
    Q_OBJECT

public:
    explicit IpService(QObject *parent = nullptr);

    bool listen(const QHostAddress &address, quint16 port);
    quint16 port() const { return m_server.serverPort(); }
    QString errorString() const { return m_server.errorString(); }

    static constexpr int MaxRequestBytes = 16384;
    static constexpr int ClientTimeoutMs = 5000;

private:
    void accept();

    QTcpServer m_server;
};
