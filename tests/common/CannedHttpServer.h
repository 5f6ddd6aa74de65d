#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QObject>
#include <QTcpServer>
#include <QTcpSocket>

// An HTTP server on loopback that answers every request with a prepared response, or not at
// all, and counts the requests.
class CannedHttpServer : public QObject {
public:
    static QByteArray http(int status, const QByteArray &body) {
        return "HTTP/1.1 " + QByteArray::number(status) +
               " X\r\nContent-Type: text/plain\r\nContent-Length: " +
               QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
    }

    CannedHttpServer() {
        QObject::connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = m_server.nextPendingConnection()) {
                QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
                QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                    m_buffer += socket->readAll();
                    if (!m_buffer.contains("\r\n\r\n"))
                        return;
                    m_buffer.clear();
                    ++requests;
                    if (silent)
                        return;
                    socket->write(response);
                    socket->disconnectFromHost();
                });
            }
        });
        m_server.listen(QHostAddress::LocalHost, 0);
    }

    QString url() const {
        return QStringLiteral("http://127.0.0.1:%1/ip.php").arg(m_server.serverPort());
    }

    QByteArray response = http(200, "85.105.1.2");
    bool silent = false;
    int requests = 0;

private:
    QTcpServer m_server;
    QByteArray m_buffer;
};
