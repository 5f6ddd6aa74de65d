// The program's command line: its own options, and the start switch as the whole rest.
#include "CommandLine.h"
#include "MainWindowRules.h"

#include <QDir>
#include <QTest>

class tst_CommandLine : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void hideSwitch_data();
    void hideSwitch();
    void options();
    void captionAndParts();
};

void tst_CommandLine::hideSwitch_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<bool>("hidden");
    QTest::addColumn<bool>("warned"); // one line on stderr: the window opens all the same
    QTest::newRow("nothing") << QStringList{} << false << false;
    QTest::newRow("/HIDEONSTARTUP")
        << QStringList{QStringLiteral("/HIDEONSTARTUP")} << true << false;
    QTest::newRow("mixed case with /")
        << QStringList{QStringLiteral("/HideOnStartup")} << true << false;
    QTest::newRow("mixed case without /")
        << QStringList{QStringLiteral("hideONstartup")} << true << false;
    QTest::newRow("followed by another")
        << QStringList{QStringLiteral("/HIDEONSTARTUP"), QStringLiteral("x")} << false << false;
    QTest::newRow("twice") << QStringList{QStringLiteral("/HIDEONSTARTUP"),
                                          QStringLiteral("/HIDEONSTARTUP")}
                           << false << false;
    QTest::newRow("with our own option")
        << QStringList{QStringLiteral("--settings"), QStringLiteral("/tmp/a.config"),
                       QStringLiteral("HIDEONSTARTUP")}
        << true << false;
    QTest::newRow("one dash, as old shortcuts have it")
        << QStringList{QStringLiteral("-HIDEONSTARTUP")} << false << true;
}

void tst_CommandLine::hideSwitch() {
    QFETCH(QStringList, args);
    QFETCH(bool, hidden);
    QFETCH(bool, warned);
    const CommandLine cl = CommandLine::parse(args);
    QVERIFY(cl.error.isEmpty());
    QCOMPARE(cl.hideOnStartup, hidden);
    QCOMPARE(!cl.warning.isEmpty(), warned);
}

void tst_CommandLine::options() {
    const CommandLine a = CommandLine::parse({QStringLiteral("--settings=/x/y.config")});
    QCOMPARE(a.settingsFile, QStringLiteral("/x/y.config"));
    QVERIFY(a.error.isEmpty());
    QVERIFY(!CommandLine::parse({QStringLiteral("--settings")}).error.isEmpty());
    // The file named, exactly: nothing appended, relative to the current folder.
    QCOMPARE(CommandLine::parse({QStringLiteral("--settings"), QStringLiteral("/x/ayarlar")})
                 .settingsFile,
             QStringLiteral("/x/ayarlar"));
    QCOMPARE(CommandLine::parse({QStringLiteral("--settings=y")}).settingsFile,
             QDir::current().absoluteFilePath(QStringLiteral("y")));
    // No file, or unknown options: the usage, never silently something else.
    for (const QStringList &wrong : {QStringList{QStringLiteral("--settings"), QString()},
                                     {QStringLiteral("--settings=")},
                                     {QStringLiteral("--settings"), QDir::tempPath()},
                                     {QStringLiteral("--settings"), QStringLiteral("/x/")},
                                     {QStringLiteral("--setings=a")},
                                     {QStringLiteral("--uygula"), QStringLiteral("Kasa")},
                                     {QStringLiteral("--list"), QStringLiteral("-x")},
                                     {QStringLiteral("--json")},
                                     {QStringLiteral("--apply"), QStringLiteral("K"),
                                      QStringLiteral("--check-after"), QStringLiteral("5")}})
        QVERIFY2(!CommandLine::parse(wrong).error.isEmpty(), qPrintable(wrong.join(u' ')));
    QVERIFY(CommandLine::parse({QStringLiteral("--help")}).help);
    QCOMPARE(CommandLine::parse({QStringLiteral("a"), QStringLiteral("b")}).rest,
             QStringLiteral("a b"));
}

void tst_CommandLine::captionAndParts() {
    using namespace MainWindowRules;
    QCOMPARE(caption(QString()), QStringLiteral("Nuvar_POS_Zelvi_IP"));
    QCOMPARE(caption(QStringLiteral("Kasa 1")), QStringLiteral("Nuvar_POS_Zelvi_IP (Kasa 1)"));
    QVERIFY(profileParts(QString()).isEmpty());
    QCOMPARE(profileParts(QStringLiteral("1.2...")).size(), 5);
    QCOMPARE(cloneName(QStringLiteral("Kasa")), QStringLiteral("Kasa (CLONE)"));
    QCOMPARE(deleteQuestion(QStringLiteral("A%sB")).count(QStringLiteral("A%sB")), 1);
    QVERIFY(sameProfileName(QString::fromUtf8("ŞUBE İKİ"), QString::fromUtf8("şube iki")));
}

QTEST_APPLESS_MAIN(tst_CommandLine)
#include "tst_commandline.moc"
