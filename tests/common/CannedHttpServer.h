#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

// An HTTP server on loopback that answers every request with a prepared response, or not at
// all, and counts the requests. It can also misbehave as a server on the internet may: answer
// one byte at a time (trickleMs), answer each request differently (responses, in order; the
// last one repeats), listen on another loopback address (another host).
class CannedHttpServer : public QObject {
public:
    static QByteArray http(int status, const QByteArray &body, const QByteArray &headers = {}) {
        return "HTTP/1.1 " + QByteArray::number(status) +
               " X\r\nContent-Type: text/plain\r\nContent-Length: " +
               QByteArray::number(body.size()) + "\r\nConnection: close\r\n" + headers + "\r\n" +
               body;
    }
    static QByteArray redirect(int status, const QString &location) {
        return http(status, "moved", "Location: " + location.toUtf8() + "\r\n");
    }

    explicit CannedHttpServer(const QHostAddress &address = QHostAddress::LocalHost) {
        QObject::connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = m_server.nextPendingConnection()) {
                ++connections;
                QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
                QObject::connect(socket, &QTcpSocket::readyRead, socket,
                                 [this, socket] { onRead(socket); });
            }
        });
        m_server.listen(address, 0);
    }

    QString url(const QString &path = QStringLiteral("/ip.php")) const {
        return QStringLiteral("http://%1:%2%3")
            .arg(m_server.serverAddress().toString())
            .arg(m_server.serverPort())
            .arg(path);
    }

    QByteArray response = http(200, "85.105.1.2");
    QList<QByteArray> responses; // when not empty: one for each request, in order
    bool silent = false;
    int trickleMs = 0; // > 0: the response goes out one byte every trickleMs
    int requests = 0;
    int connections = 0;    // also those that sent no HTTP request (a TLS handshake)
    int abandoned = 0;      // answers the client stopped waiting for before their end
    QByteArray lastRequest; // head of the last request

private:
    void onRead(QTcpSocket *socket) {
        m_buffer += socket->readAll();
        const qsizetype end = m_buffer.indexOf("\r\n\r\n");
        if (end < 0)
            return;
        lastRequest = m_buffer.left(end);
        m_buffer.clear();
        const QByteArray answer = responses.isEmpty()
                                      ? response
                                      : responses.value(qMin(requests, int(responses.size()) - 1));
        ++requests;
        if (silent)
            return;
        if (trickleMs <= 0) {
            socket->write(answer);
            socket->disconnectFromHost();
            return;
        }
        auto *timer = new QTimer(socket);
        auto *sent = new qsizetype(0);
        QObject::connect(socket, &QObject::destroyed, socket, [sent] { delete sent; });
        QObject::connect(socket, &QTcpSocket::disconnected, socket, [this, sent, answer] {
            if (*sent < answer.size())
                ++abandoned;
        });
        QObject::connect(timer, &QTimer::timeout, socket, [socket, timer, sent, answer] {
            socket->write(answer.mid(*sent, 1));
            if (++*sent == answer.size()) {
                timer->stop();
                socket->disconnectFromHost();
            }
        });
        timer->start(trickleMs);
    }

    QTcpServer m_server;
    QByteArray m_buffer;
};
