#include "IpService.h"

#include <QTcpSocket>
#include <QTimer>

namespace {

QByteArray response(int status, const char *reason, const QByteArray &body) {
    return "HTTP/1.1 " + QByteArray::number(status) + ' ' + reason +
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

// Answers one request once its head (and announced body) has arrived.
void serve(QTcpSocket *socket, QByteArray &buffer) {
    const qsizetype headEnd = buffer.indexOf("\r\n\r\n");
    if (headEnd < 0) {
        if (buffer.size() > IpService::MaxRequestBytes) {
            socket->write(response(431, "Request Header Fields Too Large", "too large\n"));
            socket->disconnectFromHost();
        }
        return;
    }
    const QList<QByteArray> lines = buffer.left(headEnd).split('\n');
    const QList<QByteArray> requestLine = lines.value(0).trimmed().split(' ');
    qsizetype contentLength = 0;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArray line = lines[i].trimmed();
        if (line.toLower().startsWith("content-length:"))
            contentLength = line.mid(15).trimmed().toLongLong();
    }
    if (contentLength < 0 || contentLength > IpService::MaxRequestBytes) {
        socket->write(response(413, "Content Too Large", "too large\n"));
        socket->disconnectFromHost();
        return;
    }
    if (buffer.size() < headEnd + 4 + contentLength)
        return; // the body is still coming
    const QByteArray method = requestLine.value(0);
    const QByteArray path = requestLine.value(1).split('?').value(0);
    if (path != "/ip.php")
        socket->write(response(404, "Not Found", "not found\n"));
    else if (method != "POST")
        socket->write(response(405, "Method Not Allowed", "use POST\n"));
    else
        socket->write(response(200, "OK", callerAddress(*socket)));
    socket->disconnectFromHost();
}

} // namespace

IpService::IpService(QObject *parent) : QObject(parent) {
    connect(&m_server, &QTcpServer::newConnection, this, &IpService::accept);
}

bool IpService::listen(const QHostAddress &address, quint16 port) {
    return m_server.listen(address, port);
}

void IpService::accept() {
    while (QTcpSocket *socket = m_server.nextPendingConnection()) {
        auto *buffer = new QByteArray;
        connect(socket, &QObject::destroyed, socket, [buffer] { delete buffer; });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QTcpSocket::readyRead, socket, [socket, buffer] {
            *buffer += socket->read(MaxRequestBytes + 1 - buffer->size());
            serve(socket, *buffer);
        });
        QTimer::singleShot(ClientTimeoutMs, socket, [socket] { socket->abort(); });
    }
}
