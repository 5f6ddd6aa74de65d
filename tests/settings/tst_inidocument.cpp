// The INI text engine on its own: parsing, name comparison, edits that keep every other
// line, encodings and line ends.
#include "settings/IniDocument.h"

#include <QStringEncoder>
#include <QTest>

namespace {

IniDocument doc(const char *text) {
    return IniDocument::fromFileBytes(QByteArray(text));
}

QString u(const char *utf8) {
    return QString::fromUtf8(utf8);
}

// The text in UTF-16 with its byte-order mark, as Notepad saves "Unicode".
QByteArray utf16(bool littleEndian, const char *utf8) {
    QStringEncoder encoder(littleEndian ? QStringEncoder::Utf16LE : QStringEncoder::Utf16BE,
                           QStringEncoder::Flag::WriteBom);
    return encoder.encode(QString::fromUtf8(utf8));
}

} // namespace

class tst_IniDocument : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void lookup_data();
    void lookup();
    void keyNamesInFileOrderOnce();
    void setValueKeepsOtherLines_data();
    void setValueKeepsOtherLines();
    void setValuesIsSetValueInTurn_data();
    void setValuesIsSetValueInTurn();
    void removeKeyTakesEveryCopy();
    void removeSectionTakesEveryPart();
    void fileKeepsItsShape_data();
    void fileKeepsItsShape();
    void quotedValuesRoundTrip();
    void refusedNames_data();
    void refusedNames();
};

void tst_IniDocument::lookup_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected"); // "<none>" when there is no such key

    const QByteArray base = "[Profiles]\nKASA=1.2\n  Ofis 2  =  3.4  \n[Other]\nX=9\n";
    QTest::newRow("plain") << base << u("Profiles") << u("KASA") << u("1.2");
    QTest::newRow("section case") << base << u("PROFILES") << u("kasa") << u("1.2");
    QTest::newRow("blanks around name and value")
        << base << u("Profiles") << u("ofis 2") << u("3.4");
    QTest::newRow("name with blanks asked") << base << u(" Profiles ") << u(" KASA ") << u("1.2");
    QTest::newRow("other section not seen") << base << u("Profiles") << u("X") << u("<none>");
    QTest::newRow("missing section") << base << u("Nope") << u("KASA") << u("<none>");
    QTest::newRow("first key wins")
        << QByteArray("[s]\nk=first\nK=second\n") << u("s") << u("k") << u("first");
    QTest::newRow("sections repeated are one")
        << QByteArray("[s]\na=1\n[t]\nb=2\n[S]\nc=3\n") << u("s") << u("c") << u("3");
    QTest::newRow("Turkish letters fold")
        << QByteArray("[ŞUBE]\nİSTANBUL=1\n") << u("şube") << u("istanbul") << u("1");
    QTest::newRow("dotless i is its own letter")
        << QByteArray("[s]\nKASI=1\n") << u("s") << u("kası") << u("<none>");
    QTest::newRow("value with =") << QByteArray("[s]\nk=a=b\n") << u("s") << u("k") << u("a=b");
    QTest::newRow("comment is no key")
        << QByteArray("[s]\n;k=1\n") << u("s") << u(";k") << u("<none>");
    QTest::newRow("header with trailing text")
        << QByteArray("[s] ; note\nk=1\n") << u("s") << u("k") << u("1");
    QTest::newRow("CR LF") << QByteArray("[s]\r\nk=1\r\n") << u("s") << u("k") << u("1");
    QTest::newRow("no final line end") << QByteArray("[s]\nk=1") << u("s") << u("k") << u("1");
    QTest::newRow("empty value") << QByteArray("[s]\nk=\n") << u("s") << u("k") << u("");
    QTest::newRow("double quotes")
        << QByteArray("[s]\nk = \"1.2\" \n") << u("s") << u("k") << u("1.2");
    QTest::newRow("single quotes") << QByteArray("[s]\nk='1.2'\n") << u("s") << u("k") << u("1.2");
    QTest::newRow("one pair only")
        << QByteArray("[s]\nk=\"\"x\"\"\n") << u("s") << u("k") << u("\"x\"");
    QTest::newRow("quotes that do not match")
        << QByteArray("[s]\nk=\"1.2'\n") << u("s") << u("k") << u("\"1.2'");
    QTest::newRow("a lone quote") << QByteArray("[s]\nk=\"\n") << u("s") << u("k") << u("\"");
    QTest::newRow("unclosed bracket is no header")
        << QByteArray("[s]\nj=0\n[t\nk=1\n") << u("s") << u("k") << u("1");
    QTest::newRow("value starting with U+FEFF")
        << QByteArray("[s]\nk=\xEF\xBB\xBF\xEF\xBB\xBFx\n") << u("s") << u("k")
        << QString(QChar(0xFEFF)) + QChar(0xFEFF) + u("x");
}

void tst_IniDocument::lookup() {
    QFETCH(QByteArray, text);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, expected);
    const std::optional<QString> value = IniDocument::fromFileBytes(text).value(section, key);
    QCOMPARE(value.value_or(u("<none>")), expected);
}

void tst_IniDocument::keyNamesInFileOrderOnce() {
    const IniDocument d = doc("[Profiles]\nB=1\nA=2\n; C=3\njunk line\nb=4\n[x]\nD=5\n"
                              "[profiles]\nC=6\n");
    QCOMPARE(d.keyNames(u("Profiles")), (QStringList{u("B"), u("A"), u("C")}));
    QVERIFY(d.keyNames(u("missing")).isEmpty());

    // Many names, each repeated later in another letter case: every name is listed once.
    QByteArray text = "[Profiles]\n";
    QStringList expected;
    for (int i = 0; i < 3000; ++i) {
        const QString name = (i % 3 ? u("Kasa %1") : u("Şube İzmir %1")).arg(i);
        expected.append(name);
        text += name.toUtf8() + "=1\n";
    }
    for (int i = 0; i < 3000; ++i)
        text += (i % 3 ? u("KASA %1") : u("şube izmir %1")).arg(i).toUtf8() + "=2\n";
    QCOMPARE(IniDocument::fromFileBytes(text).keyNames(u("profiles")), expected);
}

void tst_IniDocument::setValueKeepsOtherLines_data() {
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("after");

    QTest::newRow("replace in place") << QByteArray("; top\n[Profiles]\n  KASA = 1 ; odd\nZ=2\n")
                                      << QByteArray("; top\n[Profiles]\nKASA=new\nZ=2\n");
    QTest::newRow("append after the section's last key")
        << QByteArray("[Profiles]\nA=1\n\n; about the next\n[Other]\nB=2\n")
        << QByteArray("[Profiles]\nA=1\nKASA=new\n\n; about the next\n[Other]\nB=2\n");
    QTest::newRow("empty section gets it after its header")
        << QByteArray("[Profiles]\n[Other]\n") << QByteArray("[Profiles]\nKASA=new\n[Other]\n");
    QTest::newRow("missing section goes to the end")
        << QByteArray("[Other]\nB=2") << QByteArray("[Other]\nB=2\n[Profiles]\nKASA=new\n");
    QTest::newRow("empty file") << QByteArray() << QByteArray("[Profiles]\r\nKASA=new\r\n");
    QTest::newRow("CR LF file stays CR LF")
        << QByteArray("[Other]\r\nB=2\r\n")
        << QByteArray("[Other]\r\nB=2\r\n[Profiles]\r\nKASA=new\r\n");
    QTest::newRow("first part of a repeated section")
        << QByteArray("[profiles]\nA=1\n[x]\n[Profiles]\nB=2\n")
        << QByteArray("[profiles]\nA=1\nKASA=new\n[x]\n[Profiles]\nB=2\n");
    QTest::newRow("last key without line end")
        << QByteArray("[Profiles]\nA=1") << QByteArray("[Profiles]\nA=1\nKASA=new\n");
}

void tst_IniDocument::setValueKeepsOtherLines() {
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    IniDocument d = IniDocument::fromFileBytes(before);
    QVERIFY(d.setValue(u("Profiles"), u("KASA"), u("new")));
    QCOMPARE(d.toFileBytes(), after);
    QCOMPARE(d.value(u("Profiles"), u("KASA")), std::optional<QString>(u("new")));
    QVERIFY(!d.setValue(u("Profiles"), u("KASA"), u("new"))); // the same line again
}

// An import's many keys in one pass make exactly the text, the encoding and the answers that
// setValue gives one key at a time: new keys, changed ones, one set twice, one unchanged.
void tst_IniDocument::setValuesIsSetValueInTurn_data() {
    QTest::addColumn<QByteArray>("before");
    QTest::newRow("keys, comments, an odd line")
        << QByteArray("; top\n[Profiles]\n  A = 1 ; x\nZ=2\n");
    QTest::newRow("repeated section, a key twice")
        << QByteArray("[profiles]\nA=1\n[x]\nq=1\n[Profiles]\nB=2\na=7\n");
    QTest::newRow("empty section before another") << QByteArray("[Profiles]\n[Other]\n");
    QTest::newRow("no section, no last line end") << QByteArray("[Other]\nB=2");
    QTest::newRow("empty file") << QByteArray();
    QTest::newRow("Windows-1254 made UTF-8") << QByteArray("[Profiles]\r\n\xDEUBE=1\r\n; \xF0\r\n");
    QTest::newRow("CR alone, end-of-file mark") << QByteArray("[Profiles]\rA=1\r\x1A");
}

void tst_IniDocument::setValuesIsSetValueInTurn() {
    QFETCH(QByteArray, before);
    const std::vector<std::pair<QString, QString>> entries{
        {u("KASA"), u("new")}, {u("a"), u("9")},    {u("ŞUBE"), u("Кафе")},
        {u("Z"), u("2")},      {u("kasa"), u("2")}, {u("b"), u("2")}};
    IniDocument oneByOne = IniDocument::fromFileBytes(before);
    std::vector<bool> expected;
    for (const auto &[key, value] : entries)
        expected.push_back(oneByOne.setValue(u("Profiles"), key, value));
    IniDocument batch = IniDocument::fromFileBytes(before);
    QCOMPARE(batch.setValues(u("Profiles"), entries), expected);
    QCOMPARE(batch.toFileBytes(), oneByOne.toFileBytes());
    QCOMPARE(batch.encodingChanged(), oneByOne.encodingChanged());
}

void tst_IniDocument::removeKeyTakesEveryCopy() {
    IniDocument d = doc("[s]\nk=1\n; keep\nK=2\nother=3\n[t]\nk=4\n");
    QVERIFY(d.removeKey(u("s"), u("k")));
    QCOMPARE(d.toFileBytes(), QByteArray("[s]\n; keep\nother=3\n[t]\nk=4\n"));
    QVERIFY(!d.removeKey(u("s"), u("k")));
}

void tst_IniDocument::removeSectionTakesEveryPart() {
    IniDocument d = doc("; head\n[s]\nk=1\n[t]\nx=2\n[S]\nz=3\n");
    QVERIFY(d.removeSection(u("s")));
    QCOMPARE(d.toFileBytes(), QByteArray("; head\n[t]\nx=2\n"));
    QVERIFY(!d.removeSection(u("s")));
}

void tst_IniDocument::fileKeepsItsShape_data() {
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("key"); // set to "2" in [Profiles]; "-" before the name deletes
    QTest::addColumn<QByteArray>("after");
    QTest::addColumn<bool>("encodingChanged");

    const auto row = [](const char *name, const QByteArray &before, const char *key,
                        const QByteArray &after, bool changed = false) {
        QTest::newRow(name) << before << u(key) << after << changed;
    };
    // "ŞUBE" in Windows-1254 is \xDE UBE.
    row("Windows-1254 stays Windows-1254", "[Profiles]\r\n\xDEUBE=1\r\n", "Şube İki",
        "[Profiles]\r\n\xDEUBE=1\r\n\xDEube \xDDki=2\r\n");
    row("Windows-1254, a change", "[Profiles]\r\n\xDEUBE=1\r\n; \xF0\r\n", "ŞUBE",
        "[Profiles]\r\n\xDEUBE=2\r\n; \xF0\r\n");
    row("Windows-1254, a delete", "; \xFE\r\n[Profiles]\r\n\xDEUBE=1\r\nA=1\r\n", "-a",
        "; \xFE\r\n[Profiles]\r\n\xDEUBE=1\r\n");
    row("a name Windows-1254 cannot hold makes it UTF-8", "[Profiles]\r\n\xDEUBE=1\r\n", "Кафе",
        "[Profiles]\r\nŞUBE=1\r\nКафе=2\r\n", true);
    row("UTF-8 with a stray byte keeps both", "; \xFF\n[Profiles]\nŞube=1\n", "Şube",
        "; \xFF\n[Profiles]\nŞube=2\n");
    row("UTF-8 with byte-order mark", "\xEF\xBB\xBF[Profiles]\r\nA=1\r\n", "Şube",
        "\xEF\xBB\xBF[Profiles]\r\nA=1\r\nŞube=2\r\n");
    row("UTF-16 LE", utf16(true, "[Profiles]\r\nŞube=1\r\n"), "Кафе",
        utf16(true, "[Profiles]\r\nŞube=1\r\nКафе=2\r\n"));
    row("UTF-16 BE", utf16(false, "[Profiles]\r\nŞube=1\r\n"), "Şube",
        utf16(false, "[Profiles]\r\nŞube=2\r\n"));
    // A comment holding a lone surrogate (U+D800, LE bytes 00 D8), not text: kept byte for byte.
    const auto lone = [](const char *text) {
        return utf16(true, text).replace(QByteArray("X\0", 2), QByteArray("\0\xD8", 2));
    };
    row("UTF-16 with a lone surrogate in a comment", lone("; X\r\n[Profiles]\r\nA=1\r\n"), "A",
        lone("; X\r\n[Profiles]\r\nA=2\r\n"));
    row("UTF-16, end-of-file mark stays last", utf16(false, "[Profiles]\r\nA=1\r\n\x1A"), "A",
        utf16(false, "[Profiles]\r\nA=2\r\n\x1A"));
    row("CR alone", "[Profiles]\rA=1\r", "Kasa", "[Profiles]\rA=1\rKasa=2\r");
    row("end-of-file mark stays last", "[Profiles]\r\nA=1\r\n\x1A", "Kasa",
        "[Profiles]\r\nA=1\r\nKasa=2\r\n\x1A");
    row("new file: UTF-8 and CR LF", "", "Şube", "[Profiles]\r\nŞube=2\r\n");
    row("LF file stays LF", "[Other]\nB=2\n", "Kasa", "[Other]\nB=2\n[Profiles]\nKasa=2\n");
}

void tst_IniDocument::fileKeepsItsShape() {
    QFETCH(QByteArray, before);
    QFETCH(QString, key);
    QFETCH(QByteArray, after);
    QFETCH(bool, encodingChanged);
    IniDocument d = IniDocument::fromFileBytes(before);
    if (key.startsWith(u'-'))
        QVERIFY(d.removeKey(u("Profiles"), key.mid(1)));
    else
        QVERIFY(d.setValue(u("Profiles"), key, u("2")));
    QCOMPARE(d.toFileBytes(), after);
    QCOMPARE(d.encodingChanged(), encodingChanged);
    // What was written reads back the same.
    const IniDocument reread = IniDocument::fromFileBytes(d.toFileBytes());
    QCOMPARE(reread.keyNames(u("Profiles")), d.keyNames(u("Profiles")));
    if (!key.startsWith(u'-'))
        QCOMPARE(reread.value(u("Profiles"), key), std::optional<QString>(u("2")));
}

void tst_IniDocument::quotedValuesRoundTrip() {
    for (const QString &value : {u("\"x\""), u("'x'"), u("\""), u("\"x'"), u("\"\""), u("a\"b")}) {
        IniDocument d;
        d.setValue(u("s"), u("k"), value);
        QCOMPARE(IniDocument::fromFileBytes(d.toFileBytes()).value(u("s"), u("k")),
                 std::optional<QString>(value));
    }
}

void tst_IniDocument::refusedNames_data() {
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("refused");

    QTest::newRow("ordinary") << u("Profiles") << u("Kasa 1") << u("1.2") << false;
    QTest::newRow("key with =") << u("Profiles") << u("a=b") << u("1") << true;
    QTest::newRow("key with LF") << u("Profiles") << u("a\nb") << u("1") << true;
    QTest::newRow("key with CR") << u("Profiles") << u("a\rb") << u("1") << true;
    QTest::newRow("key starting [") << u("Profiles") << u("[a") << u("1") << true;
    QTest::newRow("key starting ; after blanks") << u("Profiles") << u("  ;a") << u("1") << true;
    QTest::newRow("key with ] inside is fine") << u("Profiles") << u("a]b") << u("1") << false;
    QTest::newRow("empty key") << u("Profiles") << u("  ") << u("1") << true;
    QTest::newRow("section with ]") << u("a]b") << u("k") << u("1") << true;
    QTest::newRow("section with LF") << u("a\nb") << u("k") << u("1") << true;
    QTest::newRow("value with LF") << u("Profiles") << u("k") << u("1\n[x]") << true;
    QTest::newRow("value with CR") << u("Profiles") << u("k") << u("1\r") << true;
    QTest::newRow("empty value is fine") << u("Profiles") << u("k") << u("") << false;
}

void tst_IniDocument::refusedNames() {
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(bool, refused);
    const bool problem = IniDocument::sectionNameProblem(section).has_value() ||
                         IniDocument::keyNameProblem(key).has_value() ||
                         IniDocument::valueProblem(value).has_value();
    QCOMPARE(problem, refused);
}

QTEST_APPLESS_MAIN(tst_IniDocument)
#include "tst_inidocument.moc"
