#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QHostAddress>
#include <QObject>
#include <QSocketNotifier>
#include <QString>
#include <QTimer>
#include <memory>
#include <unordered_map>

// A minimal HTTP server that answers "POST /ip.php" with the caller's IPv4 address as plain
// text and nothing else. Other paths get 404, other methods 405, malformed requests 400,
// bodies above the limit 413. It holds its bounds against any client: a request is read up
// to its head and announced body and no further, a client has ClientTimeoutMs for its whole
// exchange, at most MaxConnections are open at once, and when the process runs out of file
// descriptors it stops accepting (without spinning) until some come back.
//
// The connections are plain descriptors in one epoll set, which the Qt event loop watches
// through a single notifier: the cost of a wake-up does not grow with the open connections.
class IpService : public QObject {
    Q_OBJECT

public:
    explicit IpService(QObject *parent = nullptr);
    ~IpService() override;

    bool listen(const QHostAddress &address, quint16 port);
    quint16 port() const { return m_port; }
    QString errorString() const { return m_error; }
    int openConnections() const { return int(m_connections.size()); }

    static constexpr int ClientTimeoutMs = 5000;
    static constexpr int MaxConnections = 2048;
    // How long accepting pauses after the process ran out of descriptors.
    static constexpr int RetryAcceptMs = 100;
    // Connections taken at one wake-up, so that those already open are served in between.
    static constexpr int AcceptBatch = 64;

private:
    struct Connection {
        QByteArray peer; // the caller's address as text
        QByteArray received;
        QByteArray answer;
        qsizetype written = 0;
        qint64 since = 0;    // on m_clock
        qsizetype blank = 0; // bytes of blank lines skipped before the request line
        bool answered = false;
    };

    void events();
    void acceptSome();
    void readFrom(int fd, Connection &c);
    void writeTo(int fd, Connection &c);
    void drop(int fd);
    void dropLateClients();
    void setAccepting(bool on);

    int m_listenFd = -1;
    int m_epollFd = -1;
    bool m_accepting = false;
    quint16 m_port = 0;
    QString m_error;
    std::unordered_map<int, Connection> m_connections;
    std::unique_ptr<QSocketNotifier> m_notifier;
    QTimer m_retry;
    QTimer m_sweep;        // ends connections whose time is up
    QElapsedTimer m_clock; // monotonic: a step of the wall clock moves no client's time
};
