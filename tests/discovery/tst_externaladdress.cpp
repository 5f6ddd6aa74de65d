// The external address: the answer's judgement, and the request against our own address
// service and against prepared answers, all on loopback.
#include "CannedHttpServer.h"
#include "ExternalAddress.h"
#include "IpService.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTcpServer>
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
};

void tst_ExternalAddress::judgement_data() {
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("usable");
    QTest::newRow("address") << QByteArray("85.105.1.2") << u("85.105.1.2") << true;
    QTest::newRow("empty") << QByteArray() << QString() << false;
    QTest::newRow("four characters") << QByteArray("1.2.") << u("1.2.") << false;
    QTest::newRow("five characters") << QByteArray("1.2.3") << u("1.2.3") << true;
    QTest::newRow("line breaks count") << QByteArray("1.2\r\n") << u("1.2\r\n") << true;
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
    server.response = CannedHttpServer::http(404, "Not here, sorry");
    QCOMPARE(HttpPost(QUrl(server.url()), QByteArray()), u("Not here, sorry")); // any status
    server.response = CannedHttpServer::http(200, QByteArray(100000, 'x'));
    QCOMPARE(HttpPost(QUrl(server.url()), QByteArray()).size(), MaxAnswerBytes);
    QCOMPARE(server.requests, 3);
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

QTEST_GUILESS_MAIN(tst_ExternalAddress)
#include "tst_externaladdress.moc"
