#include "service/IpService.h"

#include "service/HttpRequest.h"

#include <QHash>
#include <arpa/inet.h>
#include <array>
#include <cerrno>
#include <cstring>
#include <netinet/in.h>
#include <sys/epoll.h>
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

QByteArray answerFor(const HttpRequest::Parsed &request, const QByteArray &peer) {
    using State = HttpRequest::Parsed::State;
    if (request.state == State::Refused)
        return response(request.status, "bad request\n");
    if (request.path != "/ip.php")
        return response(404, "not found\n");
    if (request.method != "POST")
        return response(405, "use POST\n");
    return response(200, peer);
}

// The caller's address as IPv4 text, also when it came in over an IPv6 socket.
QByteArray peerText(const sockaddr_storage &peer) {
    QHostAddress address(reinterpret_cast<const sockaddr *>(&peer));
    bool isV4 = false;
    const quint32 v4 = address.toIPv4Address(&isV4);
    return (isV4 ? QHostAddress(v4) : address).toString().toLatin1();
}

constexpr qsizetype kMaxRequest = HttpRequest::MaxHeadBytes + HttpRequest::MaxBodyBytes + 4;

} // namespace

IpService::IpService(QObject *parent) : QObject(parent) {
    m_clock.start();
    connect(&m_sweep, &QTimer::timeout, this, &IpService::dropLateClients);
    m_retry.setSingleShot(true);
    connect(&m_retry, &QTimer::timeout, this, [this] {
        if (int(m_connections.size()) < MaxConnections)
            setAccepting(true);
    });
}

IpService::~IpService() {
    m_notifier.reset();
    for (const auto &entry : m_connections)
        ::close(entry.first);
    if (m_epollFd >= 0)
        ::close(m_epollFd);
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
    m_epollFd = ::epoll_create1(EPOLL_CLOEXEC);
    const int one = 1;
    epoll_event listening{};
    listening.events = EPOLLIN;
    listening.data.fd = m_listenFd;
    if (m_listenFd < 0 || m_epollFd < 0 ||
        ::setsockopt(m_listenFd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one) != 0 ||
        ::bind(m_listenFd, reinterpret_cast<sockaddr *>(&storage), length) != 0 ||
        ::listen(m_listenFd, SOMAXCONN) != 0 ||
        ::getsockname(m_listenFd, reinterpret_cast<sockaddr *>(&storage), &length) != 0 ||
        ::epoll_ctl(m_epollFd, EPOLL_CTL_ADD, m_listenFd, &listening) != 0) {
        m_error = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    m_accepting = true;
    m_port = ntohs(v6 ? reinterpret_cast<sockaddr_in6 *>(&storage)->sin6_port
                      : reinterpret_cast<sockaddr_in *>(&storage)->sin_port);
    m_notifier = std::make_unique<QSocketNotifier>(m_epollFd, QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, &IpService::events);
    m_sweep.start(250);
    return true;
}

void IpService::setAccepting(bool on) {
    if (on == m_accepting)
        return;
    epoll_event e{};
    e.events = on ? uint32_t(EPOLLIN) : 0u;
    e.data.fd = m_listenFd;
    ::epoll_ctl(m_epollFd, EPOLL_CTL_MOD, m_listenFd, &e);
    m_accepting = on;
}

void IpService::events() {
    std::array<epoll_event, 256> ready{};
    const int n = ::epoll_wait(m_epollFd, ready.data(), int(ready.size()), 0);
    for (int i = 0; i < n; ++i) {
        const int fd = ready[std::size_t(i)].data.fd;
        const uint32_t what = ready[std::size_t(i)].events;
        if (fd == m_listenFd) {
            acceptSome();
            continue;
        }
        const auto it = m_connections.find(fd);
        if (it == m_connections.end())
            continue; // dropped earlier in this round
        if (what & (EPOLLERR | EPOLLHUP)) {
            drop(fd);
            continue;
        }
        if (what & EPOLLOUT)
            writeTo(fd, it->second);
        if ((what & EPOLLIN) && m_connections.count(fd))
            readFrom(fd, it->second);
    }
}

void IpService::acceptSome() {
    for (int taken = 0; taken < AcceptBatch; ++taken) {
        if (int(m_connections.size()) >= MaxConnections) {
            setAccepting(false); // until a connection closes
            return;
        }
        sockaddr_storage peer{};
        socklen_t length = sizeof peer;
        const int fd = ::accept4(m_listenFd, reinterpret_cast<sockaddr *>(&peer), &length,
                                 SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0) {
            if (errno == EINTR || errno == ECONNABORTED)
                continue;
            if (errno == EMFILE || errno == ENFILE || errno == ENOBUFS || errno == ENOMEM) {
                // Out of descriptors or memory: no busy retry, a pause.
                setAccepting(false);
                m_retry.start(RetryAcceptMs);
            }
            return; // EAGAIN: nothing more waiting
        }
        epoll_event e{};
        e.events = EPOLLIN;
        e.data.fd = fd;
        if (::epoll_ctl(m_epollFd, EPOLL_CTL_ADD, fd, &e) != 0) {
            ::close(fd);
            continue;
        }
        Connection &c = m_connections[fd];
        c.peer = peerText(peer);
        c.since = m_clock.elapsed();
    }
    // More may be waiting: epoll reports the listening socket again next round, after the
    // open connections had their turn.
}

void IpService::readFrom(int fd, Connection &c) {
    char buffer[16384];
    if (c.answered) {
        // The answer is out: whatever the client still sends is thrown away unread until it
        // closes (closing with unread data would reset the connection, answer and all).
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n == 0 || (n < 0 && errno != EAGAIN && errno != EINTR))
            drop(fd);
        return;
    }
    const qsizetype room = kMaxRequest - c.received.size();
    const ssize_t n = ::read(fd, buffer, size_t(std::min<qsizetype>(room, sizeof buffer)));
    if (n == 0 || (n < 0 && errno != EAGAIN && errno != EINTR)) {
        drop(fd);
        return;
    }
    if (n < 0)
        return;
    c.received.append(buffer, n);
    // Blank lines before the request line take no room from the request itself.
    if (const qsizetype blank = HttpRequest::leadingBlank(c.received); blank > 0) {
        c.blank += blank;
        c.received.remove(0, blank);
    }
    HttpRequest::Parsed request = HttpRequest::parse(c.received);
    if (c.blank > HttpRequest::MaxLeadingBlankBytes)
        request = {HttpRequest::Parsed::State::Refused, 400, {}, {}};
    if (request.state == HttpRequest::Parsed::State::NeedMore)
        return; // never at kMaxRequest: a whole request fits
    c.answer = answerFor(request, c.peer);
    c.answered = true;
    c.received = QByteArray();
    writeTo(fd, c);
}

void IpService::writeTo(int fd, Connection &c) {
    while (c.written < c.answer.size()) {
        const ssize_t n = ::send(fd, c.answer.constData() + c.written,
                                 size_t(c.answer.size() - c.written), MSG_NOSIGNAL);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            if (errno == EAGAIN) { // the rest when the client takes it
                epoll_event e{};
                e.events = EPOLLIN | EPOLLOUT;
                e.data.fd = fd;
                ::epoll_ctl(m_epollFd, EPOLL_CTL_MOD, fd, &e);
                return;
            }
            drop(fd);
            return;
        }
        c.written += n;
    }
    ::shutdown(fd, SHUT_WR); // the answer is complete
    epoll_event e{};
    e.events = EPOLLIN;
    e.data.fd = fd;
    ::epoll_ctl(m_epollFd, EPOLL_CTL_MOD, fd, &e);
}

void IpService::drop(int fd) {
    ::epoll_ctl(m_epollFd, EPOLL_CTL_DEL, fd, nullptr);
    ::close(fd);
    m_connections.erase(fd);
    if (!m_retry.isActive() && int(m_connections.size()) < MaxConnections)
        setAccepting(true);
}

void IpService::dropLateClients() {
    const qint64 now = m_clock.elapsed();
    std::vector<int> late;
    for (const auto &[fd, c] : m_connections) {
        if (now - c.since >= ClientTimeoutMs)
            late.push_back(fd);
    }
    for (const int fd : late)
        drop(fd);
}
