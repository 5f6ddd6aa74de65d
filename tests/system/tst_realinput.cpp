// The main window and its dialogs in a real X session, driven through the X server by the
// keyboard and the mouse (xdotool), as a technician uses them: which entry the commands act
// on, where the keyboard focus goes, and what typing into a box does.
#include "FakePrompts.h"
#include "FakeTrayIcon.h"
#include "SimulatedFixture.h"
#include "TestFiles.h"
#include "app/frmMain.h"
#include "dialogs/AddressBox.h"
#include "dialogs/frmNewSettings.h"
#include "dialogs/frmSelectNIC.h"
#include "settings/Language.h"
#include "settings/Text.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

namespace {

QString u(const char *utf8) {
    return QString::fromUtf8(utf8);
}

void xdo(const QStringList &args) {
    QProcess::execute(QStringLiteral("xdotool"), args);
}

// Moves the pointer onto the point of the widget and clicks the left button `count` times.
void clickOn(const QWidget *w, QPoint at = {-1, -1}, int count = 1) {
    const QPoint global = w->mapToGlobal(at.x() < 0 ? w->rect().center() : at);
    xdo({u("mousemove"), u("--sync"), QString::number(global.x()), QString::number(global.y())});
    xdo({u("click"), u("--repeat"), QString::number(count), u("--delay"), u("80"), u("1")});
}

void keys(const QString &names) {
    xdo(QStringList{u("key"), u("--delay"), u("60")} + names.split(u' '));
}

// A series of inputs, each sent once the window is ready for it, that goes on while a modal
// dialog holds the test. Past its time it closes every modal dialog (also one that its last
// input opened), so that a fault makes the test fail instead of hanging it.
class Script : public QObject {
public:
    struct Step {
        std::function<bool()> ready;
        std::function<void()> act;
    };

    explicit Script(QList<Step> steps) : m_steps(std::move(steps)) {
        m_clock.start();
        connect(&m_timer, &QTimer::timeout, this, &Script::tick);
        m_timer.start(50);
    }
    bool finished() const { return m_next == m_steps.size(); }
    bool timedOut() const { return m_timedOut; }

private:
    void tick() {
        if (m_clock.elapsed() > 20000) {
            if (QWidget *modal = QApplication::activeModalWidget()) {
                m_timedOut = true;
                modal->close();
            }
            m_timedOut = m_timedOut || !finished();
            return;
        }
        if (finished() || !m_steps[m_next].ready())
            return;
        const auto act = m_steps[m_next++].act;
        act();
    }

    QList<Step> m_steps;
    qsizetype m_next = 0;
    QTimer m_timer;
    QElapsedTimer m_clock;
    bool m_timedOut = false;
};

template <typename T> T *activeModal() {
    auto *w = qobject_cast<T *>(QApplication::activeModalWidget());
    return w && w->isActiveWindow() ? w : nullptr;
}

QString xprop(WId window, const char *property) {
    QProcess p;
    p.start(u("xprop"), {u("-id"), QString::number(window), QString::fromLatin1(property)});
    p.waitForFinished();
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}

} // namespace

class tst_RealInput : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void startFocusAndEmptyTitles();
    void commandsActOnlyOnTheSelection();
    void focusArrivalKeepsTheText();
    void returnPressesTheFocusedButton();

private:
    void start(const QByteArray &settings);
    bool run(QList<Script::Step> steps);
    QPoint rowCentre(int row) const;

    QTemporaryDir m_dir;
    QString m_path;
    FakePrompts m_prompts;
    FakeTrayIcon m_tray;
    std::unique_ptr<SimulatedFixture> m_pc;
    std::unique_ptr<frmMain> m_window;
};

// ZELVI_TEST_LANGUAGE=en: the same inputs to the English program, its texts expected.
void tst_RealInput::initTestCase() {
    if (qEnvironmentVariable("ZELVI_TEST_LANGUAGE") == u("en"))
        QVERIFY(Language::install(*qApp, Language::Choice::English));
}

void tst_RealInput::init() {
    m_path = m_dir.filePath(u("ayarlar.config"));
    m_prompts = FakePrompts();
    m_pc = std::make_unique<SimulatedFixture>();
}

void tst_RealInput::cleanup() {
    m_window.reset();
}

void tst_RealInput::start(const QByteArray &settings) {
    writeAll(m_path, settings);
    frmMain::Services services;
    services.settingsPath = m_path;
    services.prompts = &m_prompts;
    services.tray = &m_tray;
    services.backend = m_pc->computer.get();
    services.localAddress = [](UserPrompts &) { return u("10.0.0.5"); };
    services.openUrl = [](const QUrl &) { return true; };
    m_window = std::make_unique<frmMain>(services);
    QVERIFY(m_window->Form_Load(CommandLine::parse({})));
    m_window->showAfterLoad();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    QTest::qWait(300); // the window manager has placed it
}

bool tst_RealInput::run(QList<Script::Step> steps) {
    Script script(std::move(steps));
    const bool ended =
        QTest::qWaitFor([&] { return script.finished() || script.timedOut(); }, 30000);
    QTest::qWait(300); // what the last input caused
    return ended && script.finished() && !script.timedOut();
}

QPoint tst_RealInput::rowCentre(int row) const {
    QListWidget *list = m_window->lstProfiles;
    return list->viewport()->mapTo(list, list->visualItemRect(list->item(row)).center());
}

void tst_RealInput::startFocusAndEmptyTitles() {
    start("[Profiles]\nAlfa=10.0.0.5.255.0.0.0.10.0.0.1.10.0.0.1....\n");
    QCOMPARE(QApplication::focusWidget(), m_window->lstProfiles);
    QVERIFY(m_window->lstProfiles->selectedItems().isEmpty());

    QString editorTitle;
    QString dialogTitle;
    QVERIFY(run({
        {[] { return true; }, [&] { clickOn(m_window->cmdProfileCreateNew); }},
        {[] { return activeModal<frmNewSettings>() != nullptr; },
         [&] {
             editorTitle = xprop(activeModal<frmNewSettings>()->winId(), "_NET_WM_NAME");
             keys(u("Escape"));
         }},
        {[] { return !QApplication::activeModalWidget(); },
         [&] {
             m_window->lstProfiles->item(0)->setSelected(true);
             m_window->cmdProfileActivate->setEnabled(true);
             clickOn(m_window->cmdProfileActivate);
         }},
        {[] { return activeModal<frmSelectNIC>() != nullptr; },
         [&] {
             dialogTitle = xprop(activeModal<frmSelectNIC>()->winId(), "_NET_WM_NAME");
             keys(u("Escape"));
         }},
    }));
    // No text in the title bars (the program's name would be "tst_realinput" here).
    const QString blank = u("_NET_WM_NAME(UTF8_STRING) = \" \"");
    QCOMPARE(editorTitle, blank);
    QCOMPARE(dialogTitle, blank);
}

void tst_RealInput::commandsActOnlyOnTheSelection() {
    const QByteArray settings = "[Profiles]\nAlfa=10.0.0.5.255.0.0.0.10.0.0.1.10.0.0.1....\n"
                                "Merkez=10.0.0.6.255.0.0.0.10.0.0.1.10.0.0.1....\n"
                                "Zeta=10.0.0.7.255.0.0.0.10.0.0.1.10.0.0.1....\n";
    start(settings);
    QListWidget *list = m_window->lstProfiles;

    // Edit Merkez by a double click, save it unchanged, close the editor, apply.
    QVERIFY(run({
        {[] { return true; }, [&] { clickOn(list, rowCentre(1), 2); }},
        {[] { return activeModal<frmNewSettings>() != nullptr; },
         [&] { clickOn(activeModal<frmNewSettings>()->cmdSave); }},
        {[&] { return list->selectedItems().isEmpty(); }, [&] { keys(u("Escape")); }},
        {[] { return !QApplication::activeModalWidget(); },
         [&] { clickOn(m_window->cmdProfileActivate); }},
    }));
    QCOMPARE(m_prompts.messages, QStringList{Text::tr("Önce listeden uygulanacak profili seçin.")});

    // Select Alfa, switch to DHCP, Tab round into the list, press SİL.
    QVERIFY(run({
        {[] { return true; }, [&] { clickOn(list, rowCentre(0)); }},
        {[&] { return !list->selectedItems().isEmpty(); },
         [&] { clickOn(m_window->cmdEnableDHCP); }},
        {[&] { return list->selectedItems().isEmpty(); }, [&] { keys(u("Tab Tab Tab Tab")); }},
        {[&] { return list->hasFocus(); }, [&] { clickOn(m_window->cmdProfileDelete); }},
    }));
    QCOMPARE(m_prompts.messages.size(), 2);
    QCOMPARE(m_prompts.messages[1], Text::tr("Silmek için önce listeden bir profil seçin."));
    QVERIFY(m_prompts.questions.isEmpty());
    QVERIFY(readAll(m_path).contains("Alfa="));
    for (const auto &a : m_pc->stored())
        QVERIFY(a.address.isEmpty());
}

// Return presses the focused button in each window (users from Windows expect it), Enter on the
// keypad too; Escape still closes a dialog.
void tst_RealInput::returnPressesTheFocusedButton() {
    start("[Profiles]\nAlfa=10.0.0.5.255.0.0.0.10.0.0.1.10.0.0.1....\n");
    QVERIFY(run({
        {[] { return true; },
         [&] {
             m_window->cmdProfileCreateNew->setFocus();
             keys(u("Return"));
         }},
        {[] { return activeModal<frmNewSettings>() != nullptr; },
         [&] {
             activeModal<frmNewSettings>()->cmdCancel->setFocus();
             keys(u("Return"));
         }},
        {[] { return !QApplication::activeModalWidget(); },
         [&] {
             m_window->lstProfiles->item(0)->setSelected(true);
             m_window->cmdProfileActivate->setEnabled(true);
             m_window->cmdProfileActivate->setFocus();
             keys(u("KP_Enter"));
         }},
        {[] { return activeModal<frmSelectNIC>() != nullptr; },
         [&] {
             activeModal<frmSelectNIC>()->cmdCancel->setFocus();
             keys(u("Return"));
         }},
        {[] { return !QApplication::activeModalWidget(); }, [] {}},
    }));
    // KAPAT of the adapter dialog, pressed by Return: nothing applied, and the window says why.
    QCOMPARE(m_prompts.messages.size(), 1);
    QVERIFY2(m_prompts.messages[0].contains(Text::tr("\nAğ bağdaştırıcısı seçilmedi.")),
             qPrintable(m_prompts.messages[0]));
}

void tst_RealInput::focusArrivalKeepsTheText() {
    start("[Profiles]\nMerkez=10.0.0.6.255.0.0.0.10.0.0.1.10.0.0.1....\n");
    QListWidget *list = m_window->lstProfiles;
    QString name;
    QString firstOctet;
    QString secondOctet;
    QVERIFY(run({
        {[] { return true; }, [&] { clickOn(list, rowCentre(0), 2); }},
        // The name box has the focus on opening: typing adds to the name.
        {[] { return activeModal<frmNewSettings>() != nullptr; },
         [&] {
             xdo({u("type"), u("X")});
         }},
        {[] {
             const frmNewSettings *e = activeModal<frmNewSettings>();
             return e && e->txtProfileName->text().size() > 6;
         },
         [&] { keys(u("Tab 1 Tab Tab BackSpace 7")); }},
        {[] {
             const frmNewSettings *e = activeModal<frmNewSettings>();
             return e && e->txtIP[2]->text() == u("7");
         },
         [&] {
             const frmNewSettings *e = activeModal<frmNewSettings>();
             name = e->txtProfileName->text();
             firstOctet = e->txtIP[0]->text();
             secondOctet = e->txtIP[1]->text();
             keys(u("Escape"));
         }},
    }));
    QCOMPARE(name, u("MerkezX"));
    QCOMPARE(firstOctet, u("101"));
    QCOMPARE(secondOctet, u("0"));
}

QTEST_MAIN(tst_RealInput)
#include "tst_realinput.moc"
