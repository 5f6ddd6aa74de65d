// The external address: the answer's judgement, and the request against our own address
// service and against prepared answers, all on loopback.
#include "CannedHttpServer.h"
#include "discovery/ExternalAddress.h"
#include "service/IpService.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

using namespace ExternalAddress;

namespace {
QString u(const char *utf8) {
    return QString::fromUtf8(utf8);
}
} // namespace

class tst_ExternalAddress : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void judgement_data();
    void judgement();
    void ourServiceAnswersTheCaller();
    void ourServiceRefusesOtherRequests();
    void preparedAnswers();
    void failuresGiveNothing();
    void errorStatusIsNoAddress();
    void deadlineCountsTheWholeAnswer();
    void followable_data();
    void followable();
    void redirects_data();
    void redirects();
    void serviceProtocolEdges_data();
    void serviceProtocolEdges();
};

void tst_ExternalAddress::judgement_data() {
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("usable");
    QTest::newRow("address") << QByteArray("85.105.1.2") << u("85.105.1.2") << true;
    QTest::newRow("empty") << QByteArray() << QString() << false;
    QTest::newRow("four characters") << QByteArray("1.2.") << u("1.2.") << false;
    QTest::newRow("five characters") << QByteArray("1.2.3") << u("1.2.3") << true;
    QTest::newRow("the first line that shows anything")
        << QByteArray("\r\n\r\n85.105.1.2\r\nx") << u("85.105.1.2") << true;
    QTest::newRow("blank lines are no answer") << QByteArray("\r\n \x01\r\n\t") << u(" ") << true;
    QTest::newRow("line breaks count, but only the first line shows")
        << QByteArray("1.2\r\n<b>second</b>") << u("1.2") << true;
    QTest::newRow("control characters are not shown")
        << QByteArray("85.\x01\x1b[2J105.\t1.2") << u("85.[2J105.1.2") << true;
    QTest::newRow("text that reorders itself is not shown reordered") << QByteArray("\xE2\x80\xAE"
                                                                                    "7.311.0.302")
                                                                      << u("7.311.0.302") << true;
    QTest::newRow("every bidirectional control")
        << u("\u202A1\u202B2\u202C3\u202D4\u2066.\u2067.\u2068.\u2069.\u200E5\u200F").toUtf8()
        << u("1234....5") << true;
    QTest::newRow("HTML stays text") << QByteArray("<b>x</b>") << u("<b>x</b>") << true;
    QTest::newRow("Turkish letters") << QByteArray("İNTERNET") << u("İNTERNET") << true;
    QTest::newRow("long answer is cut")
        << QByteArray(1000, 'a') << QString(256, QLatin1Char('a')) << true;
    QByteArray split(255, 'a');
    split += "ş"; // two bytes: the cut falls inside the letter
    QTest::newRow("cut never halves a letter") << split << QString(255, QLatin1Char('a')) << true;
}

void tst_ExternalAddress::judgement() {
    QFETCH(QByteArray, body);
    QFETCH(QString, text);
    QFETCH(bool, usable);
    const Judgement j = judge(body);
    QCOMPARE(j.text, text);
    QCOMPARE(j.usable, usable);
}

void tst_ExternalAddress::ourServiceAnswersTheCaller() {
    IpService service;
    QVERIFY(service.listen(QHostAddress::LocalHost, 0));
    const QUrl url(u("http://127.0.0.1:%1/ip.php").arg(service.port()));
    QCOMPARE(HttpPost(url, QByteArray()), u("127.0.0.1"));
    QCOMPARE(HttpPost(url, QByteArray("ignored=1")), u("127.0.0.1"));
}

void tst_ExternalAddress::ourServiceRefusesOtherRequests() {
    IpService service;
    QVERIFY(service.listen(QHostAddress::LocalHost, 0));
    QNetworkAccessManager manager;
    const auto status = [&](QNetworkReply *reply) {
        QEventLoop loop;
        connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
        loop.exec();
        reply->deleteLater();
        return reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    };
    const QString base = u("http://127.0.0.1:%1").arg(service.port());
    QCOMPARE(status(manager.get(QNetworkRequest(QUrl(base + u("/ip.php"))))), 405);
    QCOMPARE(status(manager.post(QNetworkRequest(QUrl(base + u("/other"))), QByteArray())), 404);
}

void tst_ExternalAddress::preparedAnswers() {
    CannedHttpServer server;
    server.response = CannedHttpServer::http(200, "85.105.1.2");
    QCOMPARE(HttpPost(QUrl(server.url()), QByteArray()), u("85.105.1.2"));
    server.response = CannedHttpServer::http(200, QByteArray(100000, 'x'));
    QCOMPARE(HttpPost(QUrl(server.url()), QByteArray()).size(), MaxAnswerBytes);
    QCOMPARE(server.requests, 2);
}

void tst_ExternalAddress::errorStatusIsNoAddress() {
    // The service answered, so the internet is there; an error page is no address.
    CannedHttpServer server;
    for (const int status : {404, 500, 503}) {
        server.response = CannedHttpServer::http(status, "<h1>Service Unavailable</h1>");
        const Answer answer = post(QUrl(server.url()), QByteArray());
        QVERIFY(answer.complete);
        QCOMPARE(answer.status, status);
        QCOMPARE(outcome(answer).kind, Outcome::Kind::ServiceError);
    }
}

void tst_ExternalAddress::deadlineCountsTheWholeAnswer() {
    // One byte at a time: each byte comes well within the time, the whole answer does not.
    CannedHttpServer server;
    server.trickleMs = 30;
    server.response = CannedHttpServer::http(200, "85.105.1.2"); // about 100 bytes: 3 s
    const Answer answer = post(QUrl(server.url()), QByteArray(), 600);
    QVERIFY(!answer.complete);
    QCOMPARE(outcome(answer).kind, Outcome::Kind::NoInternet);
    QTRY_COMPARE(server.abandoned, 1); // the program stopped waiting
}

void tst_ExternalAddress::followable_data() {
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<bool>("followed");
    const QString from = u("http://ip.ornek:8080/ip.php");
    QTest::newRow("same server, other path") << from << u("http://IP.ornek:8080/yeni") << true;
    QTest::newRow("to https on the same port") << from << u("https://ip.ornek:8080/ip.php") << true;
    QTest::newRow("to https's own port") << from << u("https://ip.ornek/ip.php") << true;
    QTest::newRow("to https on a third port") << from << u("https://ip.ornek:8443/") << false;
    QTest::newRow("to another port") << from << u("http://ip.ornek:8081/ip.php") << false;
    QTest::newRow("to another host") << from << u("https://ip.ornek.evil:8080/") << false;
    QTest::newRow("from https down to http")
        << u("https://ip.ornek/ip.php") << u("http://ip.ornek:443/ip.php") << false;
}

void tst_ExternalAddress::followable() {
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(bool, followed);
    QCOMPARE(ExternalAddress::followable(QUrl(from), QUrl(to)), followed);
}

// What the line shows after a redirect, live on loopback: "to" is a path on the same server,
// "other" the other host's service, "https" the same server's port with https.
void tst_ExternalAddress::redirects_data() {
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("to");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("connections"); // to the server, the redirect's included
    QTest::addColumn<bool>("refused");    // the line's tooltip names the target
    const int address = int(Outcome::Kind::Address), error = int(Outcome::Kind::ServiceError);
    QTest::newRow("302 to another host") << 302 << u("other") << error << 1 << true;
    QTest::newRow("307 to another host") << 307 << u("other") << error << 1 << true;
    QTest::newRow("307 on the same server keeps the POST")
        << 307 << u("/yeni") << address << 2 << false;
    QTest::newRow("without end") << 307 << u("/ip.php") << error << MaxRedirects + 1 << false;
    // No TLS here: followed, the handshake fails (as for a certificate the computer does not
    // take, or a wrong clock): the service has answered, so the internet is there.
    QTest::newRow("to https on the same port, the handshake fails")
        << 301 << u("https") << error << 2 << true;
}

void tst_ExternalAddress::redirects() {
    QFETCH(int, status);
    QFETCH(QString, to);
    QFETCH(int, kind);
    QFETCH(int, connections);
    QFETCH(bool, refused);
    CannedHttpServer other(QHostAddress(u("127.0.0.2"))); // another host
    other.response = CannedHttpServer::http(200, "203.0.113.7");
    CannedHttpServer server;
    QString target = to == u("other") ? other.url() : server.url(to);
    if (to == u("https"))
        target = server.url().replace(u("http:"), u("https:"));
    server.responses = {CannedHttpServer::redirect(status, target),
                        CannedHttpServer::http(200, "85.105.1.2")};
    if (to == u("/ip.php"))
        server.responses.removeLast();
    const Answer answer = post(QUrl(server.url()), QByteArray(), 3000);
    QCOMPARE(int(outcome(answer).kind), kind);
    QTRY_COMPARE(server.connections, connections);
    QCOMPARE(other.connections, 0);
    QCOMPARE(answer.redirect, refused ? QUrl(target) : QUrl());
    if (refused)
        QVERIFY(errorHelp(answer, server.url()).contains(target));
    if (kind == int(Outcome::Kind::Address)) {
        QCOMPARE(outcome(answer).text, u("85.105.1.2"));
        QVERIFY(server.lastRequest.startsWith("POST /yeni "));
    }
}

void tst_ExternalAddress::failuresGiveNothing() {
    CannedHttpServer silent;
    silent.silent = true;
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(HttpPost(QUrl(silent.url()), QByteArray(), 300), QString());
    QVERIFY(timer.elapsed() < 5000);

    QTcpServer closed; // a port nobody listens on any more
    QVERIFY(closed.listen(QHostAddress::LocalHost, 0));
    const quint16 port = closed.serverPort();
    closed.close();
    QCOMPARE(HttpPost(QUrl(u("http://127.0.0.1:%1/ip.php").arg(port)), QByteArray()), QString());
    QCOMPARE(HttpPost(QUrl(), QByteArray()), QString());
}

void tst_ExternalAddress::serviceProtocolEdges_data() {
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<int>("status");
    const QByteArray post = "POST /ip.php HTTP/1.1\r\nHost: a\r\n";
    QTest::newRow("plain") << post + "\r\n" << 200;
    QTest::newRow("bare LF line ends") << QByteArray("POST /ip.php HTTP/1.1\nHost: a\n\n") << 200;
    QTest::newRow("body at the limit")
        << post + "Content-Length: 16384\r\n\r\n" + QByteArray(16384, 'x') << 200;
    QTest::newRow("more than announced is not read")
        << post + "Content-Length: 4\r\n\r\n" + QByteArray(300000, 'x') << 200;
    QTest::newRow("body above the limit") << post + "Content-Length: 16385\r\n\r\n" << 413;
    QTest::newRow("23-digit length") << post + "Content-Length: 10000000000000000000000\r\n\r\n"
                                     << 413;
    QTest::newRow("length that is no number") << post + "Content-Length: 12a\r\n\r\n" << 400;
    QTest::newRow("negative length") << post + "Content-Length: -1\r\n\r\n" << 400;
    QTest::newRow("two lengths") << post + "Content-Length: 1\r\nContent-Length: 2\r\n\r\nab"
                                 << 400;
    QTest::newRow("chunked body") << post + "Transfer-Encoding: chunked\r\n\r\n0\r\n\r\n" << 501;
    QTest::newRow("head without end") << post + "X: " + QByteArray(9000, 'y') << 431;
    // Blank lines before the request line take no room from a head and body at their limits.
    QTest::newRow("blank lines before the largest request")
        << QByteArray(300, '\n') + QByteArray(300, '\r').replace("\r", "\r\n") + post +
               "X: " + QByteArray(8000, 'y') + "\r\nContent-Length: 16384\r\n\r\n" +
               QByteArray(16384, 'x')
        << 200;
    QTest::newRow("blank lines without end") << QByteArray(5000, '\n') + post + "\r\n" << 400;
    QTest::newRow("blank before a colon") << post + "Content-Length : 3\r\n\r\nabc" << 400;
    QTest::newRow("no request line") << QByteArray("hello\r\n\r\n") << 400;
    QTest::newRow("GET") << QByteArray("GET /ip.php HTTP/1.1\r\n\r\n") << 405;
    QTest::newRow("other path") << QByteArray("POST /x HTTP/1.1\r\n\r\n") << 404;
}

void tst_ExternalAddress::serviceProtocolEdges() {
    QFETCH(QByteArray, request);
    QFETCH(int, status);
    IpService service;
    QVERIFY(service.listen(QHostAddress::LocalHost, 0));
    QTcpSocket client;
    client.connectToHost(QHostAddress::LocalHost, service.port());
    QVERIFY(client.waitForConnected(2000));
    client.write(request);
    // The service answers and closes, well before its time for a client runs out.
    QTRY_VERIFY_WITH_TIMEOUT(client.state() != QAbstractSocket::ConnectedState, 4000);
    const QByteArray answer = client.readAll();
    QVERIFY2(answer.startsWith("HTTP/1.1 " + QByteArray::number(status) + ' '), answer.constData());
    if (status == 200)
        QVERIFY(answer.endsWith("\r\n\r\n127.0.0.1"));
}

QTEST_GUILESS_MAIN(tst_ExternalAddress)
#include "tst_externaladdress.moc"
