// The profile editor driven by real key and mouse events, offscreen, saving into real files.
#include "FakePrompts.h"
#include "TestFiles.h"
#include "dialogs/AddressBox.h"
#include "dialogs/frmNewSettings.h"
#include "settings/FolderLock.h"
#include "settings/ProfileList.h"
#include "widgets/PictureBox.h"
#include "widgets/modMain.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <sys/stat.h>

namespace {

QString u(const char *utf8) {
    return QString::fromUtf8(utf8);
}

} // namespace

class tst_frmNewSettings : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void layoutAndFocusOrder();
    void typingKeepsDigitsOnly();
    void pasteKeepsDigitsOnly();
    void backspaceMovesBackFromEmptyBox();
    void backspaceOnSelectionDeletesLastCharacter();
    void leftArrowAtStart();
    void maskRuleOnLeavingFourthOctet_data();
    void maskRuleOnLeavingFourthOctet();
    void enterInNameMovesToFirstBox();
    void saveFocusesFirstMissingField();
    void saveStoresProfileAndReloadsList();
    void saveWaitingForAnotherSaysSo();
    void existingNameAsksBeforeReplacing();
    void editUnderNewNameKeepsOldProfile();
    void refusedInputIsExplained_data();
    void refusedInputIsExplained();
    void focusArrivalSelectsNothing();
    void failedSaveIsReported();
    void escapeCloses();
    void pictureBackgroundTakesButtonColour();

private:
    AddressBox *box(int i) { return m_dialog->txtIP[i]; }
    void focus(QWidget *w);
    void fill(const QString &name, const QString &dotted);

    QTemporaryDir m_dir;
    QString m_path;
    StringProfileList m_list;
    FakePrompts m_prompts;
    std::unique_ptr<frmNewSettings> m_dialog;
};

void tst_frmNewSettings::init() {
    m_path = m_dir.filePath(u("Nuvar_Pos_Zelvi_ip.exe.config"));
    QFile::remove(m_path);
    m_list = StringProfileList();
    m_prompts = FakePrompts();
    EditMode = 0;
    m_dialog = std::make_unique<frmNewSettings>(m_path, m_list, m_prompts);
    m_dialog->show();
    QVERIFY(QTest::qWaitForWindowActive(m_dialog.get()));
}

void tst_frmNewSettings::cleanup() {
    if (const QString dir = qEnvironmentVariable("ZELVI_SCREENSHOT_DIR");
        !dir.isEmpty() && m_dialog)
        m_dialog->grab().save(dir + u("/editor.png"));
    m_dialog.reset();
}

void tst_frmNewSettings::focus(QWidget *w) {
    w->setFocus(Qt::MouseFocusReason);
    QTRY_VERIFY(w->hasFocus());
}

void tst_frmNewSettings::fill(const QString &name, const QString &dotted) {
    m_dialog->txtProfileName->setText(name);
    const QStringList parts = dotted.split(QLatin1Char('.'));
    for (int i = 0; i < 20; ++i)
        box(i)->setText(i < parts.size() ? parts[i] : QString());
}

void tst_frmNewSettings::layoutAndFocusOrder() {
    frmNewSettings &d = *m_dialog;
    QCOMPARE(d.size(), QSize(400, 345));
    QCOMPARE(d.windowTitle(), QString());
    QCOMPARE(d.txtProfileName->geometry(), QRect(16, 41, 268, 19));
    QCOMPARE(d.Picture1->geometry(), QRect(16, 76, 369, 223));
    QCOMPARE(d.Picture1->image().size(), QSize(369, 223));
    QCOMPARE(box(0)->geometry(), QRect(198, 30, 25, 18));
    QCOMPARE(box(19)->geometry(), QRect(288, 191, 25, 18));
    QCOMPARE(d.cmdSave->geometry(), QRect(206, 313, 83, 23));
    QCOMPARE(d.cmdCancel->geometry(), QRect(297, 313, 83, 23));
    QCOMPARE(d.lblAddress[2]->text(), u("MASKE 255.255.255.0 olcak"));
    QCOMPARE(d.lblAddress[2]->pos(), QPoint(38, 57));
    QCOMPARE(d.Label1->font().pointSize(), 12);
    QVERIFY(d.Label1->font().bold());
    QCOMPARE(d.cmdSave->palette().color(QPalette::Button), QColor(128, 255, 128));
    QVERIFY(!d.cmdSave->autoDefault() && !d.cmdCancel->autoDefault());

    // A screen reader names the name box and each address box by its row and place.
    QCOMPARE(d.txtProfileName->accessibleName(), u("AYAR ADI"));
    QCOMPARE(box(0)->accessibleName(), u("ZELVİ IP, 1. bölüm"));
    QCOMPARE(box(6)->accessibleName(), u("MASKE, 3. bölüm"));
    QCOMPARE(box(19)->accessibleName(), u("DNS 2, 4. bölüm"));

    // Tab walks name, boxes 0 to 19, KAYDET, KAPAT.
    focus(d.txtProfileName);
    QList<QWidget *> expected{d.txtProfileName};
    for (AddressBox *b : d.txtIP)
        expected.append(b);
    expected << d.cmdSave << d.cmdCancel;
    for (qsizetype i = 1; i < expected.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QTRY_COMPARE(QApplication::focusWidget(), expected[i]);
    }
}

void tst_frmNewSettings::typingKeepsDigitsOnly() {
    focus(box(2));
    QTest::keyClicks(box(2), u("1.2"));
    QCOMPARE(box(2)->text(), u("12"));
    QTest::keyClicks(box(2), u("3"));
    QTest::keyClick(box(2), Qt::Key_4); // a fourth digit
    QCOMPARE(box(2)->text(), u("123"));
    QTest::keyClicks(box(5), u("a ,-"));
    QTest::sendKeyEvent(QTest::Click, box(5), Qt::Key_unknown, u("ş"), Qt::NoModifier);
    QCOMPARE(box(5)->text(), QString());
    QTest::keyClick(box(2), Qt::Key_Return);
    QCOMPARE(box(2)->text(), u("123"));
    QVERIFY(box(2)->hasFocus());
    QVERIFY(!QFile::exists(m_path) || readAll(m_path).isEmpty()); // Enter saved nothing
}

void tst_frmNewSettings::pasteKeepsDigitsOnly() {
    focus(box(0));
    QApplication::clipboard()->setText(u("1.2"));
    QTest::keyClick(box(0), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(box(0)->text(), u("12"));

    box(1)->clear();
    QApplication::clipboard()->setText(u("192.168.1.5"));
    focus(box(1));
    QTest::keyClick(box(1), Qt::Key_Insert, Qt::ShiftModifier);
    QCOMPARE(box(1)->text(), u("192"));

    // Paste from the box's context menu.
    box(2)->clear();
    QApplication::clipboard()->setText(u("7.8"));
    QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, QPoint(2, 2),
                                box(2)->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(box(2), &menuEvent);
    QMenu *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
    QVERIFY(menu);
    QAction *paste = menu->findChild<QAction *>(u("edit-paste"));
    QVERIFY(paste);
    paste->trigger();
    menu->close();
    QCOMPARE(box(2)->text(), u("78"));

    // Set from outside the key handling (as a middle-click paste does): digits only.
    box(3)->setText(u("4.5"));
    QCOMPARE(box(3)->text(), u("45"));
}

void tst_frmNewSettings::backspaceMovesBackFromEmptyBox() {
    focus(box(5));
    QTest::keyClick(box(5), Qt::Key_Backspace);
    QTRY_VERIFY(box(4)->hasFocus());

    focus(box(0));
    QTest::keyClick(box(0), Qt::Key_Backspace);
    QTRY_VERIFY(m_dialog->txtProfileName->hasFocus());

    // With text, Backspace deletes and the focus stays until the box is empty.
    box(9)->setText(u("7"));
    focus(box(9));
    box(9)->end(false);
    QTest::keyClick(box(9), Qt::Key_Backspace);
    QCOMPARE(box(9)->text(), QString());
    QTest::qWait(20);
    QVERIFY(box(9)->hasFocus());
}

void tst_frmNewSettings::backspaceOnSelectionDeletesLastCharacter() {
    box(1)->setText(u("192"));
    focus(box(1));
    box(1)->selectAll();
    QTest::keyClick(box(1), Qt::Key_Backspace);
    QCOMPARE(box(1)->text(), u("19"));
    QTest::qWait(20);
    QVERIFY(box(1)->hasFocus());
}

void tst_frmNewSettings::leftArrowAtStart() {
    box(9)->setText(u("10"));
    focus(box(9));
    box(9)->setSelection(0, 2);
    QTest::keyClick(box(9), Qt::Key_Left); // only drops the selection
    QVERIFY(!box(9)->hasSelectedText());
    QCOMPARE(box(9)->cursorPosition(), 0);
    QTest::qWait(20);
    QVERIFY(box(9)->hasFocus());

    QTest::keyClick(box(9), Qt::Key_Left); // now moves back
    QTRY_VERIFY(box(8)->hasFocus());

    focus(box(0));
    box(0)->setCursorPosition(0);
    QTest::keyClick(box(0), Qt::Key_Left); // nothing special in the first box
    QTest::qWait(20);
    QVERIFY(box(0)->hasFocus());
}

void tst_frmNewSettings::maskRuleOnLeavingFourthOctet_data() {
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("fourth");
    QTest::addColumn<QString>("mask");
    QTest::addColumn<bool>("backToFirst");
    const QString untouched = u("9.9.9.9");
    QTest::newRow("10") << u("10") << u("5") << u("255.0.0.0") << false;
    QTest::newRow("172") << u("172") << u("5") << u("255.255.0.0") << false;
    QTest::newRow("192") << u("192") << u("5") << u("255.255.255.0") << false;
    QTest::newRow("127") << u("127") << u("5") << untouched << true;
    QTest::newRow("224") << u("224") << u("5") << untouched << true;
    QTest::newRow("0") << u("0") << u("5") << untouched << false;
    QTest::newRow("empty first octet") << QString() << u("5") << untouched << false;
    QTest::newRow("empty fourth octet") << u("10") << QString() << untouched << false;
}

void tst_frmNewSettings::maskRuleOnLeavingFourthOctet() {
    QFETCH(QString, first);
    QFETCH(QString, fourth);
    QFETCH(QString, mask);
    QFETCH(bool, backToFirst);
    box(0)->setText(first);
    box(3)->setText(fourth);
    for (int i = 4; i < 8; ++i)
        box(i)->setText(u("9"));
    focus(box(3));
    QTest::keyClick(box(3), Qt::Key_Tab);
    QStringList got;
    for (int i = 4; i < 8; ++i)
        got.append(box(i)->text());
    QCOMPARE(got.join(QLatin1Char('.')), mask);
    if (backToFirst)
        QTRY_VERIFY(box(0)->hasFocus());
    else
        QTRY_VERIFY(box(4)->hasFocus());

    // Leaving another box never touches the mask.
    box(0)->setText(u("10"));
    focus(box(2));
    QTest::keyClick(box(2), Qt::Key_Tab);
    QCOMPARE(box(4)->text(), got[0]);
}

void tst_frmNewSettings::enterInNameMovesToFirstBox() {
    focus(m_dialog->txtProfileName);
    QTest::keyClicks(m_dialog->txtProfileName, u("Kasa"));
    QTest::keyClick(m_dialog->txtProfileName, Qt::Key_Return);
    QTRY_VERIFY(box(0)->hasFocus());
    QCOMPARE(m_dialog->txtProfileName->text(), u("Kasa"));
    QVERIFY(m_dialog->isVisible());
}

void tst_frmNewSettings::saveFocusesFirstMissingField() {
    fill(u("   "), u("1.1.1.1.2.2.2.2.3.3.3.3.4.4.4.4"));
    QTest::mouseClick(m_dialog->cmdSave, Qt::LeftButton);
    QTRY_VERIFY(m_dialog->txtProfileName->hasFocus());

    fill(u("KASA"), u("1.1.1.1.2.2..2.3.3.3.3.4.4.4.4"));
    QTest::mouseClick(m_dialog->cmdSave, Qt::LeftButton);
    QTRY_VERIFY(box(6)->hasFocus());
    QVERIFY(m_list.items.isEmpty());
    QVERIFY(m_prompts.messages.isEmpty());
    QCOMPARE(readAll(m_path), QByteArray("<missing>"));
}

void tst_frmNewSettings::saveStoresProfileAndReloadsList() {
    fill(u("Şube KASA"), u("192.168.5.50.255.255.255.0.192.168.5.254.192.168.5.254"));
    box(0)->setText(u("007")); // no range check: stored as typed
    QTest::mouseClick(m_dialog->cmdSave, Qt::LeftButton);
    QCOMPARE(readAll(m_path),
             QByteArray("[Profiles]\r\nŞube KASA=007.168.5.50.255.255.255.0.192.168.5.254."
                        "192.168.5.254....\r\n"));
    QCOMPARE(m_list.items, QStringList{u("Şube KASA")});
    QVERIFY(m_dialog->isVisible()); // stays open with its input
    QCOMPARE(box(1)->text(), u("168"));
    QVERIFY(m_prompts.messages.isEmpty());
}

// Another program holds the settings folder for a moment: the save says in the caption that it
// waits, and stores the profile once the folder is free.
void tst_frmNewSettings::saveWaitingForAnotherSaysSo() {
    QProcess other; // util-linux's flock holds the folder as another run of the program would
    other.start(u("flock"), {m_dir.path(), u("sleep"), u("3")});
    QVERIFY(other.waitForStarted());
    QTRY_VERIFY(FolderLock::heldElsewhere(QFile::encodeName(m_dir.path())));
    fill(u("KASA"), u("1.1.1.1.2.2.2.2.3.3.3.3.4.4.4.4"));
    QSignalSpy captions(m_dialog.get(), &QWidget::windowTitleChanged);
    QTest::mouseClick(m_dialog->cmdSave, Qt::LeftButton);
    QVERIFY(!captions.isEmpty());
    QVERIFY2(captions.first().first().toString().contains(u("bekleniyor")),
             qPrintable(captions.first().first().toString()));
    QCOMPARE(m_dialog->windowTitle(), QString()); // as it was once saved
    QVERIFY(readAll(m_path).contains("KASA=1.1.1.1."));
    QVERIFY(m_prompts.messages.isEmpty());
    other.waitForFinished();
}

void tst_frmNewSettings::existingNameAsksBeforeReplacing() {
    fill(u("KASA"), u("1.1.1.1.2.2.2.2.3.3.3.3.4.4.4.4"));
    QTest::mouseClick(m_dialog->cmdSave, Qt::LeftButton);
    QVERIFY(m_prompts.questions.isEmpty());
    const QByteArray first = readAll(m_path);

    box(0)->setText(u("5"));
    m_prompts.answer = false;
    QTest::mouseClick(m_dialog->cmdSave, Qt::LeftButton); // same new profile again
    QCOMPARE(m_prompts.questions.size(), 1);
    QCOMPARE(readAll(m_path), first);
    QCOMPARE(m_list.items, QStringList{u("KASA")});

    m_prompts.answer = true;
    QTest::mouseClick(m_dialog->cmdSave, Qt::LeftButton);
    QCOMPARE(m_prompts.questions.size(), 2);
    QVERIFY(readAll(m_path).contains("KASA=5.1.1.1."));
}

void tst_frmNewSettings::editUnderNewNameKeepsOldProfile() {
    QFile f(m_path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("[Profiles]\nOFIS=10.0.0.20.255.0.0.0.10.0.0.1.10.0.0.1....\n");
    f.close();
    EditMode = 1;
    fill(u("OFIS"), u("10.0.0.21.255.0.0.0.10.0.0.1.10.0.0.1"));
    QTest::mouseClick(m_dialog->cmdSave, Qt::LeftButton);
    m_dialog->txtProfileName->setText(u("OFIS 2"));
    QTest::mouseClick(m_dialog->cmdSave, Qt::LeftButton);
    QVERIFY(m_prompts.questions.isEmpty());
    QCOMPARE(readAll(m_path),
             QByteArray("[Profiles]\nOFIS=10.0.0.21.255.0.0.0.10.0.0.1.10.0.0.1....\n"
                        "OFIS 2=10.0.0.21.255.0.0.0.10.0.0.1.10.0.0.1....\n"));
    QCOMPARE(m_list.items, (QStringList{u("OFIS"), u("OFIS 2")}));
}

void tst_frmNewSettings::refusedInputIsExplained_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("dotted");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<int>("focusBox"); // -1: the name box
    const QString good = u("1.1.1.1.2.2.2.2.3.3.3.3.4.4.4.4");
    QTest::newRow("=") << u("KASA=2") << good << u("\"=\"") << -1;
    QTest::newRow("[") << u("[KASA") << good << u("\"[\"") << -1;
    QTest::newRow("NUL") << (u("KA") + QChar(0) + u("SA")) << good << u("NUL") << -1;
    QTest::newRow("255 characters") << QString(255, u'K') << good << u("254") << -1;
    QTest::newRow("300 in the mask") << u("KASA") << u("1.1.1.1.2.2.300.2.3.3.3.3.4.4.4.4")
                                     << u("MASKE satırının 3. kutusunda 300") << 6;
    QTest::newRow("999 in DNS 2") << u("KASA") << (good + u(".5.5.5.999"))
                                  << u("DNS 2 satırının 4. kutusunda 999") << 19;
}

void tst_frmNewSettings::refusedInputIsExplained() {
    QFETCH(QString, name);
    QFETCH(QString, dotted);
    QFETCH(QString, reason);
    QFETCH(int, focusBox);
    fill(name, dotted);
    QTest::mouseClick(m_dialog->cmdSave, Qt::LeftButton);
    QCOMPARE(m_prompts.messages.size(), 1);
    QVERIFY2(m_prompts.messages[0].contains(reason), qPrintable(m_prompts.messages[0]));
    QCOMPARE(m_prompts.icons[0], UserPrompts::Icon::Stop);
    QWidget *expected = focusBox < 0 ? static_cast<QWidget *>(m_dialog->txtProfileName)
                                     : static_cast<QWidget *>(box(focusBox));
    QTRY_VERIFY(expected->hasFocus());
    QCOMPARE(m_dialog->txtProfileName->text(), name); // the input stays
    QCOMPARE(modNetProfiles::joinFields(m_dialog->fields()).left(dotted.size()), dotted);
    QCOMPARE(readAll(m_path), QByteArray("<missing>"));
}

void tst_frmNewSettings::focusArrivalSelectsNothing() {
    // Opened for an edit: the name box has the focus and its text is not selected.
    m_dialog = std::make_unique<frmNewSettings>(m_path, m_list, m_prompts);
    fill(u("KASA"), u("192.168.1.10"));
    m_dialog->show();
    QVERIFY(QTest::qWaitForWindowActive(m_dialog.get()));
    QTRY_VERIFY(m_dialog->txtProfileName->hasFocus());
    QVERIFY(!m_dialog->txtProfileName->hasSelectedText());

    const QImage unfocused = box(1)->grab().toImage();
    // Tab and Shift+Tab into a box with text: typing adds to it instead of replacing it.
    QTest::keyClick(m_dialog->txtProfileName, Qt::Key_Tab);
    QTRY_VERIFY(box(0)->hasFocus());
    QTest::keyClick(box(0), Qt::Key_Tab);
    QTRY_VERIFY(box(1)->hasFocus());
    QVERIFY(!box(1)->hasSelectedText());
    QCOMPARE(box(1)->cursorPosition(), 3);
    QTest::keyClick(box(1), Qt::Key_Backspace);
    QTest::keyClicks(box(1), u("9"));
    QCOMPARE(box(1)->text(), u("169"));
    QTest::keyClick(box(1), Qt::Key_Backtab);
    QTRY_VERIFY(box(0)->hasFocus());
    QVERIFY(!box(0)->hasSelectedText());
    QTest::keyClick(box(0), Qt::Key_Backtab);
    QTRY_VERIFY(m_dialog->txtProfileName->hasFocus());
    QVERIFY(!m_dialog->txtProfileName->hasSelectedText());

    // A focused box looks like any other: its frame is drawn the same.
    box(1)->setText(u("168"));
    focus(box(1));
    const QImage focused = box(1)->grab().toImage();
    QCOMPARE(focused.size(), unfocused.size());
    for (int x = 0; x < focused.width(); ++x) {
        QCOMPARE(focused.pixel(x, 0), unfocused.pixel(x, 0));
        QCOMPARE(focused.pixel(x, focused.height() - 1), unfocused.pixel(x, focused.height() - 1));
    }
    for (int y = 0; y < focused.height(); ++y)
        QCOMPARE(focused.pixel(0, y), unfocused.pixel(0, y));
}

void tst_frmNewSettings::failedSaveIsReported() {
    // A settings file locked against writing (tests run as root: the mode bits decide).
    QFile f(m_path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("[Profiles]\nOFIS=1\n");
    f.close();
    QVERIFY(::chmod(QFile::encodeName(m_path).constData(), 0444) == 0);
    fill(u("KASA"), u("1.1.1.1.2.2.2.2.3.3.3.3.4.4.4.4"));
    QTest::mouseClick(m_dialog->cmdSave, Qt::LeftButton);
    QCOMPARE(m_prompts.messages.size(), 1);
    QVERIFY(m_prompts.messages[0].startsWith(u("Profil kaydedilemedi.")));
    QVERIFY(m_prompts.messages[0].contains(u("salt okunur")));
    QCOMPARE(readAll(m_path), QByteArray("[Profiles]\nOFIS=1\n"));
    QCOMPARE(m_list.items, QStringList{u("OFIS")});
    QVERIFY(m_dialog->isVisible());
    QCOMPARE(m_dialog->txtProfileName->text(), u("KASA"));
    ::chmod(QFile::encodeName(m_path).constData(), 0644);

    // The folder of the settings file has disappeared.
    QTemporaryDir gone;
    const QString path = gone.filePath(u("x.config"));
    FakePrompts prompts;
    StringProfileList list;
    frmNewSettings dialog(path, list, prompts);
    QVERIFY(gone.remove());
    for (int i = 0; i < 20; ++i)
        dialog.txtIP[i]->setText(u("1"));
    dialog.txtProfileName->setText(u("KASA"));
    dialog.cmdSave_Click();
    QVERIFY(!prompts.messages.isEmpty());
    QVERIFY(prompts.messages.last().startsWith(u("Profil kaydedilemedi.")));
    QVERIFY(prompts.messages.last().contains(u("Klasör bulunamadı")));
}

void tst_frmNewSettings::escapeCloses() {
    fill(u("KASA"), u("1.1.1.1"));
    focus(box(2));
    QTest::keyClick(box(2), Qt::Key_Escape);
    QTRY_VERIFY(!m_dialog->isVisible());
    QCOMPARE(m_dialog->result(), int(QDialog::Rejected));
    QCOMPARE(readAll(m_path), QByteArray("<missing>"));
}

void tst_frmNewSettings::pictureBackgroundTakesButtonColour() {
    const QRgb face = colorFromBgr(ButtonFaceColor()).rgb();
    const QImage &image = m_dialog->Picture1->image();
    QCOMPARE(image.pixel(0, 0), face);
    QCOMPARE(image.pixel(368, 222), face);
    QVERIFY(image.pixel(100, 124) != face); // the groove keeps its colour
    QCOMPARE(m_dialog->lblAddress[0]->palette().color(QPalette::Window).rgb(), face);
}

QTEST_MAIN(tst_frmNewSettings)
#include "tst_frmnewsettings.moc"
