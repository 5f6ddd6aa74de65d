// The login entry for any program path: valid for the desktop's own checker
// (desktop-file-validate), so that the program does start at login.
#include "TestFiles.h"
#include "core/Autostart.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

class tst_Autostart : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void validForAnyPath_data();
    void validForAnyPath();
};

void tst_Autostart::validForAnyPath_data() {
    QTest::addColumn<QString>("program");
    for (const char *path :
         {"/usr/bin/nuvar-pos-zelvi-ip", "/home/kasa/Masaüstü/zelvi ip/nuvar-pos-zelvi-ip",
          "/opt/a\\b/nuvar-pos-zelvi-ip", "/opt/\"q\"/$HOME/`x`/nuvar", "/opt/100%/nuvar",
          "/opt/a'b;c&d|e/nuvar", "/opt/tab\there/nuvar"})
        QTest::newRow(path) << QString::fromUtf8(path);
}

void tst_Autostart::validForAnyPath() {
    QFETCH(QString, program);
    if (QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate")).isEmpty())
        QSKIP("desktop-file-validate is not installed (scripts/setup.sh installs it)");
    QTemporaryDir dir;
    const QString entry = dir.filePath(QStringLiteral("nuvar-pos-zelvi-ip.desktop"));
    writeAll(entry, Autostart::entryText(program));
    QProcess check;
    check.start(QStringLiteral("desktop-file-validate"), {entry});
    QVERIFY(check.waitForFinished(10000));
    const QByteArray said = check.readAllStandardOutput() + check.readAllStandardError();
    QVERIFY2(check.exitCode() == 0 && !said.contains("error"),
             (said + "\n" + readAll(entry)).constData());
}

QTEST_GUILESS_MAIN(tst_Autostart)
#include "tst_autostart.moc"
