#pragma once

#include <QHostAddress>
#include <QObject>
#include <QSocketNotifier>
#include <QString>
#include <QTimer>
#include <memory>

// A minimal HTTP server that answers "POST /ip.php" with the caller's IPv4 address as plain
// text and nothing else. Other paths get 404, other methods 405, malformed requests 400,
// bodies above the limit 413. It holds its bounds against any client: a request is read up
// to its head and announced body and no further, a client has ClientTimeoutMs for its whole
// request, at most MaxConnections are open at once, and when the process runs out of file
// descriptors it stops accepting (without spinning) until some come back.
class IpService : public QObject {
    Q_OBJECT

public:
    explicit IpService(QObject *parent = nullptr);
    ~IpService() override;

    bool listen(const QHostAddress &address, quint16 port);
    quint16 port() const { return m_port; }
    QString errorString() const { return m_error; }
    int openConnections() const { return m_open; }

    static constexpr int ClientTimeoutMs = 5000;
    static constexpr int MaxConnections = 2048;
    // How long accepting pauses after the process ran out of descriptors.
    static constexpr int RetryAcceptMs = 100;

private:
    void acceptReady();
    void serve(int fd);
    void connectionClosed();
    void pauseAccepting(bool retryLater);

    int m_listenFd = -1;
    quint16 m_port = 0;
    QString m_error;
    int m_open = 0;
    std::unique_ptr<QSocketNotifier> m_notifier;
    QTimer m_retry;
};
