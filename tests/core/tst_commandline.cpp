// The program's command line: its own options, and the start switch as the whole rest.
#include "core/CommandLine.h"
#include "core/MainWindowRules.h"
#include "settings/Language.h"

#include <QDir>
#include <QTest>

class tst_CommandLine : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void hideSwitch_data();
    void hideSwitch();
    void options();
    void captionAndParts();
    void language_data();
    void language();
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
// Turkish where the desktop is Turkish or says nothing, English for every other language;
// --language decides above both, and only "tr" or "en" is taken.
void tst_CommandLine::language_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QStringList>("environment"); // LC_ALL, LC_MESSAGES, LANG, LANGUAGE
    QTest::addColumn<bool>("english");
    QTest::addColumn<bool>("wrong");
    const QStringList none = {{}, {}, {}, {}};
    const auto lang = [](const char *value) {
        return QStringList{{}, {}, QString::fromLatin1(value), {}};
    };
    QTest::newRow("nothing set") << QStringList() << none << false << false;
    QTest::newRow("C.UTF-8") << QStringList() << lang("C.UTF-8") << false << false;
    QTest::newRow("POSIX, LANGUAGE ignored")
        << QStringList() << QStringList{{}, {}, QStringLiteral("POSIX"), QStringLiteral("en")}
        << false << false;
    QTest::newRow("Turkish") << QStringList() << lang("tr_TR.UTF-8") << false << false;
    QTest::newRow("German") << QStringList() << lang("de_DE.UTF-8") << true << false;
    QTest::newRow("LC_ALL above LANG")
        << QStringList()
        << QStringList{QStringLiteral("en_US.UTF-8"), {}, QStringLiteral("tr_TR.UTF-8"), {}} << true
        << false;
    QTest::newRow("LANGUAGE's first entry")
        << QStringList()
        << QStringList{{}, {}, QStringLiteral("en_US.UTF-8"), QStringLiteral("tr:en")} << false
        << false;
    QTest::newRow("LANGUAGE's empty entries skipped")
        << QStringList()
        << QStringList{{}, {}, QStringLiteral("en_US.UTF-8"), QStringLiteral(":tr")} << false
        << false;
    QTest::newRow("tr-TR") << QStringList() << lang("tr-TR") << false << false;
    QTest::newRow("--language en")
        << QStringList{QStringLiteral("--language"), QStringLiteral("en")} << none << true << false;
    QTest::newRow("--language=tr")
        << QStringList{QStringLiteral("--language=tr")} << lang("en_US.UTF-8") << false << false;
    QTest::newRow("--language fr")
        << QStringList{QStringLiteral("--language"), QStringLiteral("fr")} << lang("en_US.UTF-8")
        << true << true;
    QTest::newRow("--language without a value")
        << QStringList{QStringLiteral("--language")} << none << false << true;
}

void tst_CommandLine::language() {
    QFETCH(QStringList, args);
    QFETCH(QStringList, environment);
    QFETCH(bool, english);
    QFETCH(bool, wrong);
    const CommandLine cl = CommandLine::parse(args);
    QCOMPARE(!cl.error.isEmpty(), wrong);
    const auto variable = [&environment](const char *name) {
        const QStringList names = {QStringLiteral("LC_ALL"), QStringLiteral("LC_MESSAGES"),
                                   QStringLiteral("LANG"), QStringLiteral("LANGUAGE")};
        return environment.value(names.indexOf(QString::fromLatin1(name)));
    };
    const Language::Choice choice =
        Language::fromOption(cl.language).value_or(Language::fromEnvironment(variable));
    QCOMPARE(choice == Language::Choice::English, english);
}

#include "tst_commandline.moc"
