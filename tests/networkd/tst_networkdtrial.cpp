// The record of a change on trial in /run, as the keeper and every run read it: whatever lies
// there (a FIFO, garbage, a deadline no trial has) is never waited on nor taken as "no trial",
// and a clock correction or an earlier version's record does not stretch the trial.
#include "TestFiles.h"
#include "networkd/NetworkdTrial.h"

#include <QDateTime>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>

class tst_NetworkdTrial : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void read_data();
    void read();
};

void tst_NetworkdTrial::read_data() {
    QTest::addColumn<QByteArray>("content"); // "FIFO": a FIFO there; empty: no file
    QTest::addColumn<QString>("expected");   // "none", "untrusted" or the seconds left (about)
    const QByteArray links = R"("links":["zc0"])";
    const auto ahead = [](qint64 ms) { return QByteArray::number(NetworkdTrial::now() + ms); };
    QTest::newRow("no trial") << QByteArray() << "none";
    QTest::newRow("a FIFO, which would hang a plain read") << QByteArray("FIFO") << "untrusted";
    QTest::newRow("garbage") << QByteArray("{\"until\": 1e99, ") << "untrusted";
    QTest::newRow("a deadline ten days ahead")
        << "{" + links + R"(,"untilBoot":)" + ahead(864000000) + "}"
        << "untrusted";
    QTest::newRow("a link name that climbs out of /run")
        << R"({"links":["../../etc/x"],"untilBoot":)" + ahead(30000) + "}"
        << "untrusted";
    QTest::newRow("30 s left on the boot clock")
        << "{" + links + R"(,"untilBoot":)" + ahead(30000) + "}"
        << "30";
    QTest::newRow("an earlier version's record, 30 s ahead on the wall clock")
        << "{" + links + R"(,"until":)" +
               QByteArray::number(QDateTime::currentMSecsSinceEpoch() + 30000) + "}"
        << "30";
    QTest::newRow("made in another boot")
        << "{" + links + R"(,"boot":"0-other-boot","untilBoot":)" + ahead(30000) + "}"
        << "0";
}

void tst_NetworkdTrial::read() {
    QFETCH(QByteArray, content);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    const QString file = NetworkdTrial::path(dir.path());
    if (content == "FIFO")
        QCOMPARE(::mkfifo(QFile::encodeName(file).constData(), 0644), 0);
    else if (!content.isEmpty())
        writeAll(file, content);
    const NetworkdTrial::Read r = NetworkdTrial::read(dir.path());
    QString got = QStringLiteral("none");
    if (!r.untrusted.isEmpty())
        got = QStringLiteral("untrusted");
    else if (r.record) {
        // Whole seconds left; a busy machine may take a few between the row and the read.
        const qint64 left = (r.record->until - NetworkdTrial::now() + 999) / 1000;
        got = QString::number(left > 20 && left <= 30 ? 30 : std::max<qint64>(0, left));
    }
    QCOMPARE(got, expected);
}

QTEST_GUILESS_MAIN(tst_NetworkdTrial)
#include "tst_networkdtrial.moc"
