// The address boxes' decisions apart from the widgets: key handling, paste, the mask rule
// and the input check.
#include "core/AddressRules.h"

#include <QTest>

using namespace AddressRules;
using Action = MaskDecision::Action;

Q_DECLARE_METATYPE(AddressRules::KeyDownAction)
Q_DECLARE_METATYPE(AddressRules::Key)
Q_DECLARE_METATYPE(AddressRules::MaskDecision::Action)

class tst_AddressRules : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void keyDownActions_data();
    void keyDownActions();
    void enterAndPeriodAreDropped();
    void pasteKeepsDigitsOnly_data();
    void pasteKeepsDigitsOnly();
    void mask_data();
    void mask();
    void inputCheckOrder_data();
    void inputCheckOrder();
};

void tst_AddressRules::keyDownActions_data() {
    QTest::addColumn<Key>("key");
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("selStart");
    QTest::addColumn<int>("selLength");
    QTest::addColumn<KeyDownAction>("action");
    QTest::newRow("backspace with selection")
        << Key::Backspace << 5 << 0 << 3 << KeyDownAction::CaretToEnd;
    QTest::newRow("backspace, no selection")
        << Key::Backspace << 5 << 0 << 0 << KeyDownAction::None;
    QTest::newRow("left at 0 of box 9") << Key::Left << 9 << 0 << 0 << KeyDownAction::MoveFocusBack;
    QTest::newRow("left at 0 with selection")
        << Key::Left << 9 << 0 << 2 << KeyDownAction::DropSelection;
    QTest::newRow("left at 1") << Key::Left << 9 << 1 << 0 << KeyDownAction::None;
    QTest::newRow("left at 0 of box 0") << Key::Left << 0 << 0 << 0 << KeyDownAction::None;
    QTest::newRow("other key") << Key::Other << 9 << 0 << 0 << KeyDownAction::None;
}

void tst_AddressRules::keyDownActions() {
    QFETCH(Key, key);
    QFETCH(int, index);
    QFETCH(int, selStart);
    QFETCH(int, selLength);
    QFETCH(KeyDownAction, action);
    QCOMPARE(keyDown(key, index, selStart, selLength), action);
}

void tst_AddressRules::enterAndPeriodAreDropped() {
    QCOMPARE(addressCharacter(Enter), qint16(0));
    QCOMPARE(addressCharacter(Period), qint16(0));
    QCOMPARE(addressCharacter(Backspace), Backspace);
    QCOMPARE(addressCharacter(qint16('7')), qint16('7'));
    QCOMPARE(addressCharacter(22), qint16(22)); // Ctrl+V
}

void tst_AddressRules::pasteKeepsDigitsOnly_data() {
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<int>("room");
    QTest::addColumn<QString>("inserted");
    QTest::newRow("1.2") << QStringLiteral("1.2") << 3 << QStringLiteral("12");
    QTest::newRow("whole address") << QStringLiteral("192.168.1.5") << 3 << QStringLiteral("192");
    QTest::newRow("little room") << QStringLiteral("45") << 1 << QStringLiteral("4");
    QTest::newRow("letters") << QStringLiteral("abc") << 3 << QString();
    QTest::newRow("other scripts' digits") << QString::fromUtf8("١٢٣") << 3 << QString();
    QTest::newRow("blanks around") << QStringLiteral(" 10 ") << 3 << QStringLiteral("10");
}

void tst_AddressRules::pasteKeepsDigitsOnly() {
    QFETCH(QString, pasted);
    QFETCH(int, room);
    QFETCH(QString, inserted);
    QCOMPARE(pastedDigits(pasted, room), inserted);
}

void tst_AddressRules::mask_data() {
    QTest::addColumn<QString>("firstOctet");
    QTest::addColumn<Action>("action");
    QTest::addColumn<QString>("mask");
    QTest::newRow("1") << QStringLiteral("1") << Action::SetMask << QStringLiteral("255.0.0.0");
    QTest::newRow("10") << QStringLiteral("10") << Action::SetMask << QStringLiteral("255.0.0.0");
    QTest::newRow("126") << QStringLiteral("126") << Action::SetMask << QStringLiteral("255.0.0.0");
    QTest::newRow("127") << QStringLiteral("127") << Action::FocusFirstOctet << QString();
    QTest::newRow("128") << QStringLiteral("128") << Action::SetMask
                         << QStringLiteral("255.255.0.0");
    QTest::newRow("172") << QStringLiteral("172") << Action::SetMask
                         << QStringLiteral("255.255.0.0");
    QTest::newRow("191") << QStringLiteral("191") << Action::SetMask
                         << QStringLiteral("255.255.0.0");
    QTest::newRow("192") << QStringLiteral("192") << Action::SetMask
                         << QStringLiteral("255.255.255.0");
    QTest::newRow("223") << QStringLiteral("223") << Action::SetMask
                         << QStringLiteral("255.255.255.0");
    QTest::newRow("224") << QStringLiteral("224") << Action::FocusFirstOctet << QString();
    QTest::newRow("999") << QStringLiteral("999") << Action::FocusFirstOctet << QString();
    QTest::newRow("0") << QStringLiteral("0") << Action::None << QString();
    QTest::newRow("007") << QStringLiteral("007") << Action::SetMask << QStringLiteral("255.0.0.0");
    QTest::newRow("empty") << QString() << Action::None << QString();
    QTest::newRow("not a number") << QStringLiteral("1a") << Action::None << QString();
}

void tst_AddressRules::mask() {
    QFETCH(QString, firstOctet);
    QFETCH(Action, action);
    QFETCH(QString, mask);
    const MaskDecision d = maskRule(firstOctet);
    QCOMPARE(d.action, action);
    if (action == Action::SetMask)
        QCOMPARE(QStringList(d.mask.begin(), d.mask.end()).join(QLatin1Char('.')), mask);
}

void tst_AddressRules::inputCheckOrder_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QList<int>>("blankBoxes");
    QTest::addColumn<int>("result");
    QTest::newRow("all filled") << QStringLiteral("KASA") << QList<int>{} << -1;
    QTest::newRow("second DNS blank") << QStringLiteral("KASA") << QList<int>{16, 17, 18, 19} << -1;
    QTest::newRow("name of spaces first") << QStringLiteral("   ") << QList<int>{0} << -2;
    QTest::newRow("box 6 blank") << QStringLiteral("KASA") << QList<int>{6, 12} << 6;
    QTest::newRow("box 15 blank") << QStringLiteral("KASA") << QList<int>{15, 16} << 15;
}

void tst_AddressRules::inputCheckOrder() {
    QFETCH(QString, name);
    QFETCH(QList<int>, blankBoxes);
    QFETCH(int, result);
    modNetProfiles::ProfileFields fields;
    fields.fill(QStringLiteral("1"));
    for (int i : blankBoxes)
        fields[i] = i % 2 ? QStringLiteral("  ") : QString();
    QCOMPARE(AddressRules::VerificaCampi(name, fields), result);
}

QTEST_APPLESS_MAIN(tst_AddressRules)
#include "tst_addressrules.moc"
