// Every text of the main window, the profile editor and the adapter dialog fits its control
// with the font in use, in Turkish and in English: nothing cut off or drawn outside its box; the
// caption fits beside the window manager's buttons; Return presses every button; and in English
// no Turkish text is left.
#include "FakePrompts.h"
#include "FakeTrayIcon.h"
#include "SimulatedFixture.h"
#include "app/frmMain.h"
#include "core/MainWindowRules.h"
#include "dialogs/frmNewSettings.h"
#include "dialogs/frmSelectNIC.h"
#include "settings/Language.h"
#include "settings/ProfileList.h"
#include "settings/Text.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStyleOptionButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>
#include <memory>

namespace {

// Where the text of each label and button does not fit: "control: text (needs WxH in WxH)".
QStringList misfits(const QWidget *window) {
    QStringList found;
    const auto check = [&found](const QWidget *w, const QString &text, QRect area, int flags) {
        const QRect needed = w->fontMetrics().boundingRect(area, flags, text);
        if (needed.width() > area.width() || needed.height() > area.height())
            found.append(QStringLiteral("%1: %2 (needs %3x%4 in %5x%6)")
                             .arg(w->objectName(), text)
                             .arg(needed.width())
                             .arg(needed.height())
                             .arg(area.width())
                             .arg(area.height()));
    };
    for (const QLabel *label : window->findChildren<QLabel *>()) {
        if (!label->text().isEmpty() && label->pixmap().isNull())
            check(label, label->text(), label->contentsRect(),
                  int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0));
    }
    for (const QAbstractButton *button : window->findChildren<QAbstractButton *>()) {
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        const bool box = qobject_cast<const QCheckBox *>(button);
        const QRect area = button->style()->subElementRect(
            box ? QStyle::SE_CheckBoxContents : QStyle::SE_PushButtonContents, &option, button);
        check(button, button->text(), area,
              Qt::AlignCenter | (button->inherits("WrappingButton") ? Qt::TextWordWrap : 0));
    }
    return found;
}

// Every text a window shows or names for a screen reader (its labels, buttons, titles, tooltips
// and menu entries) that holds Turkish letters outside the product's name: none in English.
QStringList turkishIn(const QWidget *window) {
    QStringList texts;
    QList<const QWidget *> widgets{window};
    for (const QWidget *w : window->findChildren<QWidget *>())
        widgets.append(w);
    for (const QWidget *w : widgets) {
        texts << w->windowTitle() << w->toolTip() << w->accessibleName()
              << w->accessibleDescription();
        if (const auto *label = qobject_cast<const QLabel *>(w))
            texts << label->text();
        if (const auto *button = qobject_cast<const QAbstractButton *>(w))
            texts << button->text();
        if (const auto *line = qobject_cast<const QLineEdit *>(w))
            texts << line->placeholderText();
        for (const QAction *action : w->actions())
            texts << action->text() << action->toolTip();
    }
    QStringList found;
    static const QRegularExpression turkish(QStringLiteral("[çğıöşüÇĞİÖŞÜ]"));
    for (const QString &text : texts) {
        // Turkish letters, or a program text shown as it stands although it has a translation.
        if (QString(text).remove(QStringLiteral("ZELVİ")).contains(turkish) ||
            QCoreApplication::translate("Text", text.toUtf8().constData()) != text)
            found.append(QStringLiteral("Turkish in English: ") + text);
    }
    return found;
}

} // namespace

class tst_TextFit : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void everyTextFits_data();
    void everyTextFits();
};

void tst_TextFit::everyTextFits_data() {
    QTest::addColumn<bool>("english");
    QTest::newRow("Turkish") << false;
    QTest::newRow("English") << true;
}

void tst_TextFit::everyTextFits() {
    QFETCH(bool, english);
    std::unique_ptr<QTranslator> translator;
    if (english) {
        translator.reset(Language::install(*qApp, Language::Choice::English));
        QVERIFY(translator);
    }
    QTemporaryDir dir;
    const QString settings = dir.filePath(QStringLiteral("Nuvar_Pos_Zelvi_ip.exe.config"));
    SimulatedFixture pc;
    FakePrompts prompts;
    FakeTrayIcon tray;
    frmMain::Services services;
    services.settingsPath = settings;
    services.prompts = &prompts;
    services.tray = &tray;
    services.backend = &*pc.computer;
    services.openUrl = [](const QUrl &) { return true; };
    frmMain window(services);
    QVERIFY(window.Form_Load(CommandLine()));
    QStringList found;
    // The caption on the simulated computer with a change on trial, in a bold title font, beside
    // the window manager's icon and buttons (about 120 pixels).
    QFont title = window.font();
    title.setBold(true);
    const QString caption = MainWindowRules::caption(QStringLiteral("Kasa 1")) +
                            QStringLiteral(" [%1]").arg(MainWindowRules::trialText(300)) +
                            MainWindowRules::simulationNote();
    if (QFontMetrics(title).horizontalAdvance(caption) > window.width() - 120)
        found.append(QStringLiteral("caption: ") + caption);
    // The address lines, in each state they can show.
    for (const char *state :
         {"BEKLEYİNİZ", "SERVİS YOK", "SERVİS HATASI", "İNTERNET YOK", "255.255.255.255"}) {
        window.icip->setText(Text::tr(state));
        window.disip->setText(Text::tr(state));
        found += misfits(&window);
    }
    StringProfileList profiles;
    frmNewSettings editor(settings, profiles, prompts, &window);
    found += misfits(&editor);
    frmSelectNIC adapters(*pc.computer, prompts, &window);
    found += misfits(&adapters);
    // Return and keypad Enter press every push button of the three windows (here with nothing
    // behind them: only that each is pressed).
    for (QWidget *shown : std::initializer_list<QWidget *>{&window, &editor, &adapters}) {
        for (QPushButton *button : shown->findChildren<QPushButton *>()) {
            button->setEnabled(true);
            QObject::disconnect(button, &QAbstractButton::clicked, nullptr, nullptr);
            QSignalSpy pressed(button, &QAbstractButton::clicked);
            QTest::keyClick(button, Qt::Key_Return);
            QTest::keyClick(button, Qt::Key_Enter, Qt::KeypadModifier);
            if (pressed.count() != 2)
                found.append(QStringLiteral("Return does not press ") + button->text());
        }
    }
    if (english) {
        Q_EMIT tray.menu->aboutToShow();
        found +=
            turkishIn(&window) + turkishIn(&editor) + turkishIn(&adapters) + turkishIn(tray.menu);
    }
    found.removeDuplicates();
    QVERIFY2(found.isEmpty(), qPrintable(found.join(QLatin1Char('\n'))));
}

QTEST_MAIN(tst_TextFit)
#include "tst_textfit.moc"
