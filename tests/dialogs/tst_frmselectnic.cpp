// The adapter dialog: its list, the check box that stands for every adapter, and what each
// way of closing it returns.
#include "FakePrompts.h"
#include "SimulatedFixture.h"
#include "adapters/Wmi.h"
#include "dialogs/frmSelectNIC.h"

#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

namespace {
QString u(const char *utf8) {
    return QString::fromUtf8(utf8);
}
} // namespace

class tst_frmSelectNIC : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void layoutAndList();
    void checkBoxStandsForAll();
    void saveReturnsTheChoice();
    void saveWithoutChoiceStaysOpen();
    void closeReturnsNothing();
    void frameCloseKeepsSelection();
    void unreachableServiceGivesEmptyList();

private:
    void open(SimulatedFixture &pc);

    FakePrompts m_prompts;
    std::unique_ptr<SimulatedFixture> m_pc;
    std::unique_ptr<frmSelectNIC> m_dialog;
};

void tst_frmSelectNIC::init() {
    m_prompts = FakePrompts();
    m_pc = std::make_unique<SimulatedFixture>(
        QStringList{u("[7] Ethernet Adapter"), u("Loopback"), u("[9] Wireless Network Adapter")});
    open(*m_pc);
}

void tst_frmSelectNIC::cleanup() {
    if (const QString dir = qEnvironmentVariable("ZELVI_SCREENSHOT_DIR");
        !dir.isEmpty() && m_dialog && m_dialog->isVisible())
        m_dialog->grab().save(dir + u("/adapters.png"));
    m_dialog.reset();
}

void tst_frmSelectNIC::open(SimulatedFixture &pc) {
    m_dialog = std::make_unique<frmSelectNIC>(*pc.computer, m_prompts);
    m_dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_dialog.get()));
}

void tst_frmSelectNIC::layoutAndList() {
    frmSelectNIC &d = *m_dialog;
    QCOMPARE(d.size(), QSize(414, 280));
    QCOMPARE(d.windowTitle(), QString());
    QCOMPARE(d.chkAllNIC->geometry(), QRect(12, 16, 325, 17));
    QCOMPARE(d.lstNIC->geometry(), QRect(8, 60, 397, 160));
    QCOMPARE(d.cmdSave->geometry(), QRect(228, 228, 83, 23));
    QCOMPARE(d.cmdCancel->geometry(), QRect(320, 228, 83, 23));
    QCOMPARE(d.lblNIC->text(), u("Seleziona la Sceda di Rete"));
    QCOMPARE(d.chkAllNIC->text(), u("Tüm Ağ Bağdaştırıcılarında Etkinleştir"));
    QCOMPARE(d.cmdSave->palette().color(QPalette::Button), QColor(128, 255, 128));
    QCOMPARE(d.lstNIC->count(), 3);
    QCOMPARE(d.lstNIC->item(0)->text(), u("Ethernet Adapter"));
    QCOMPARE(d.lstNIC->item(1)->text(), u("Loopback")); // no "] ": listed whole
    QVERIFY(!d.chkAllNIC->isChecked());
    QVERIFY(d.lstNIC->isEnabled());
    QCOMPARE(d.SelectedNIC(), QString());
}

void tst_frmSelectNIC::checkBoxStandsForAll() {
    m_dialog->lstNIC->setCurrentRow(2);
    QTest::mouseClick(m_dialog->chkAllNIC, Qt::LeftButton);
    QVERIFY(!m_dialog->lstNIC->isEnabled());
    QCOMPARE(m_dialog->SelectedNIC(), u("*ALL"));
    QCOMPARE(m_dialog->lstNIC->currentRow(), 2); // the highlight stays
    QTest::mouseClick(m_dialog->chkAllNIC, Qt::LeftButton);
    QVERIFY(m_dialog->lstNIC->isEnabled());
    QCOMPARE(m_dialog->SelectedNIC(), QString());
}

void tst_frmSelectNIC::saveReturnsTheChoice() {
    m_dialog->lstNIC->setCurrentRow(2);
    QTest::mouseClick(m_dialog->cmdSave, Qt::LeftButton);
    QVERIFY(!m_dialog->isVisible());
    QCOMPARE(m_dialog->SelectedNIC(), u("Wireless Network Adapter"));
    QCOMPARE(m_dialog->SelectedAdapter(), u("[9] Wireless Network Adapter")); // exactly this one

    open(*m_pc);
    m_dialog->chkAllNIC->setChecked(true);
    QTest::mouseClick(m_dialog->cmdSave, Qt::LeftButton);
    QCOMPARE(m_dialog->SelectedNIC(), u("*ALL"));
    QCOMPARE(m_dialog->SelectedAdapter(), u("*ALL"));

    // Selected without becoming the current item, as a screen reader selects it.
    open(*m_pc);
    m_dialog->lstNIC->setCurrentRow(-1);
    m_dialog->lstNIC->item(2)->setSelected(true);
    QTest::mouseClick(m_dialog->cmdSave, Qt::LeftButton);
    QVERIFY(m_prompts.messages.isEmpty());
    QCOMPARE(m_dialog->SelectedAdapter(), u("[9] Wireless Network Adapter"));
}

void tst_frmSelectNIC::saveWithoutChoiceStaysOpen() {
    QTest::mouseClick(m_dialog->cmdSave, Qt::LeftButton);
    QVERIFY(m_dialog->isVisible());
    QCOMPARE(m_prompts.messages.size(), 1);
    QCOMPARE(m_prompts.icons[0], UserPrompts::Icon::Stop);
    QCOMPARE(m_dialog->SelectedNIC(), QString());
}

void tst_frmSelectNIC::closeReturnsNothing() {
    m_dialog->chkAllNIC->setChecked(true);
    QTest::mouseClick(m_dialog->cmdCancel, Qt::LeftButton);
    QVERIFY(!m_dialog->isVisible());
    QCOMPARE(m_dialog->SelectedNIC(), QString());

    open(*m_pc);
    m_dialog->chkAllNIC->setChecked(true);
    QTest::keyClick(m_dialog.get(), Qt::Key_Escape);
    QCOMPARE(m_dialog->SelectedNIC(), QString());
}

void tst_frmSelectNIC::frameCloseKeepsSelection() {
    m_dialog->chkAllNIC->setChecked(true);
    QVERIFY(m_dialog->close());
    QVERIFY(!m_dialog->isVisible());
    QCOMPARE(m_dialog->SelectedNIC(), u("*ALL"));
}

void tst_frmSelectNIC::unreachableServiceGivesEmptyList() {
    SimulatedFixture pc;
    pc.computer->failConnect = WmiError{Wmi::ServerUnavailable, u("yok")};
    pc.store();
    open(pc);
    QCOMPARE(m_dialog->lstNIC->count(), 0);
    QVERIFY(m_prompts.messages.isEmpty());
    m_dialog.reset();
}

QTEST_MAIN(tst_frmSelectNIC)
#include "tst_frmselectnic.moc"
