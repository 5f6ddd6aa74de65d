#include "IpService.h"

#include "HttpRequest.h"

#include <QHash>
#include <QTcpSocket>
#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

QByteArray response(int status, const QByteArray &body) {
    static const QHash<int, QByteArray> reasons = {{200, "OK"},
                                                   {400, "Bad Request"},
                                                   {404, "Not Found"},
                                                   {405, "Method Not Allowed"},
                                                   {413, "Content Too Large"},
                                                   {431, "Request Header Fields Too Large"},
                                                   {501, "Not Implemented"}};
    return "HTTP/1.1 " + QByteArray::number(status) + ' ' + reasons.value(status, "Error") +
           "\r\nContent-Type: text/plain; charset=utf-8\r\nContent-Length: " +
           QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
}

// The caller's address as IPv4 text, also when it came in over an IPv6 socket.
QByteArray callerAddress(const QTcpSocket &socket) {
    bool isV4 = false;
    const quint32 v4 = socket.peerAddress().toIPv4Address(&isV4);
    if (isV4)
        return QHostAddress(v4).toString().toLatin1();
    return socket.peerAddress().toString().toLatin1();
}

QByteArray answerFor(const HttpRequest::Parsed &request, const QTcpSocket &socket) {
    using State = HttpRequest::Parsed::State;
    if (request.state == State::Refused)
        return response(request.status, "bad request\n");
    if (request.path != "/ip.php")
        return response(404, "not found\n");
    if (request.method != "POST")
        return response(405, "use POST\n");
    return response(200, callerAddress(socket));
}

} // namespace

IpService::IpService(QObject *parent) : QObject(parent) {
    m_retry.setSingleShot(true);
    connect(&m_retry, &QTimer::timeout, this, [this] {
        if (m_notifier && m_open < MaxConnections)
            m_notifier->setEnabled(true);
    });
}

IpService::~IpService() {
    // Connections first, while the counts they report to still exist.
    qDeleteAll(findChildren<QTcpSocket *>(Qt::FindDirectChildrenOnly));
    m_notifier.reset();
    if (m_listenFd >= 0)
        ::close(m_listenFd);
}

bool IpService::listen(const QHostAddress &address, quint16 port) {
    sockaddr_storage storage{};
    socklen_t length = 0;
    const bool v6 = address.protocol() == QAbstractSocket::IPv6Protocol;
    if (v6) {
        auto *a = reinterpret_cast<sockaddr_in6 *>(&storage);
        a->sin6_family = AF_INET6;
        a->sin6_port = htons(port);
        const Q_IPV6ADDR bytes = address.toIPv6Address();
        std::memcpy(&a->sin6_addr, &bytes, sizeof bytes);
        length = sizeof *a;
    } else {
        auto *a = reinterpret_cast<sockaddr_in *>(&storage);
        a->sin_family = AF_INET;
        a->sin_port = htons(port);
        a->sin_addr.s_addr = htonl(address.toIPv4Address());
        length = sizeof *a;
    }
    m_listenFd = ::socket(v6 ? AF_INET6 : AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    const int one = 1;
    if (m_listenFd < 0 ||
        ::setsockopt(m_listenFd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one) != 0 ||
        ::bind(m_listenFd, reinterpret_cast<sockaddr *>(&storage), length) != 0 ||
        ::listen(m_listenFd, SOMAXCONN) != 0 ||
        ::getsockname(m_listenFd, reinterpret_cast<sockaddr *>(&storage), &length) != 0) {
        m_error = QString::fromLocal8Bit(std::strerror(errno));
        if (m_listenFd >= 0)
            ::close(m_listenFd);
        m_listenFd = -1;
        return false;
    }
    m_port = ntohs(v6 ? reinterpret_cast<sockaddr_in6 *>(&storage)->sin6_port
                      : reinterpret_cast<sockaddr_in *>(&storage)->sin_port);
    m_notifier = std::make_unique<QSocketNotifier>(m_listenFd, QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, &IpService::acceptReady);
    return true;
}

void IpService::pauseAccepting(bool retryLater) {
    m_notifier->setEnabled(false);
    if (retryLater && !m_retry.isActive())
        m_retry.start(RetryAcceptMs);
}

void IpService::acceptReady() {
    while (m_open < MaxConnections) {
        const int fd = ::accept4(m_listenFd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd >= 0) {
            serve(fd);
            continue;
        }
        if (errno == EINTR || errno == ECONNABORTED)
            continue;
        if (errno == EMFILE || errno == ENFILE || errno == ENOBUFS || errno == ENOMEM)
            pauseAccepting(true); // out of descriptors or memory: try again a little later
        return;                   // EAGAIN: nothing more waiting
    }
    pauseAccepting(false); // until a connection closes
}

void IpService::serve(int fd) {
    auto *socket = new QTcpSocket(this);
    if (!socket->setSocketDescriptor(fd)) {
        ::close(fd);
        delete socket;
        return;
    }
    ++m_open;
    // Never more than a request's head and body in memory, whatever the client sends.
    socket->setReadBufferSize(HttpRequest::MaxHeadBytes + HttpRequest::MaxBodyBytes + 64);
    auto *received = new QByteArray;
    connect(socket, &QObject::destroyed, socket, [received] { delete received; });
    connect(socket, &QObject::destroyed, this, &IpService::connectionClosed);
    connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QTcpSocket::readyRead, socket, [socket, received] {
        const qsizetype room =
            HttpRequest::MaxHeadBytes + HttpRequest::MaxBodyBytes + 4 - received->size();
        if (room > 0)
            *received += socket->read(room);
        const HttpRequest::Parsed request = HttpRequest::parse(*received);
        if (request.state == HttpRequest::Parsed::State::NeedMore)
            return;
        // Answered once. Whatever else the client sends is thrown away unread until it
        // closes (or its time runs out): closing with unread data would reset the connection
        // and could take the answer with it.
        QObject::disconnect(socket, &QTcpSocket::readyRead, nullptr, nullptr);
        QObject::connect(socket, &QTcpSocket::readyRead, socket,
                         [socket] { socket->skip(socket->bytesAvailable()); });
        QObject::connect(socket, &QTcpSocket::bytesWritten, socket, [socket] {
            if (socket->bytesToWrite() == 0)
                ::shutdown(int(socket->socketDescriptor()), SHUT_WR); // the answer is complete
        });
        socket->write(answerFor(request, *socket));
        received->clear();
        received->squeeze();
    });
    // The whole request, from the connection on, has this much time.
    QTimer::singleShot(ClientTimeoutMs, socket, [socket] { socket->abort(); });
}

void IpService::connectionClosed() {
    --m_open;
    if (m_notifier && !m_notifier->isEnabled() && !m_retry.isActive() && m_open < MaxConnections)
        m_notifier->setEnabled(true);
}
