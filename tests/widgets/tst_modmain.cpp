// The shared routines the editor relies on: the character filter, the flood fill that
// repaints a picture's background, and the colour conversions.
#include "settings/Language.h"
#include "widgets/FloodFill.h"
#include "widgets/MessageBoxPrompts.h"
#include "widgets/PictureBox.h"
#include "widgets/modMain.h"

#include <QApplication>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QTest>
#include <QTimer>

class tst_modMain : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void numericKeyFilter_data();
    void numericKeyFilter();
    void floodFillStopsAtOtherColours();
    void fillPictureBackground();
    void colours();
    void qtTextsInTurkish();
    void yesNoInTheRunsLanguage_data();
    void yesNoInTheRunsLanguage();
};

void tst_modMain::numericKeyFilter_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("result");
    QTest::newRow("digit") << int('5') << int('5');
    QTest::newRow("period") << int('.') << int('.');
    QTest::newRow("letter") << int('a') << 0;
    QTest::newRow("space") << int(' ') << 0;
    QTest::newRow("comma") << int(',') << 0;
    QTest::newRow("backspace") << 8 << 8;
    QTest::newRow("enter") << 13 << 13;
    QTest::newRow("ctrl+v") << 22 << 22;
    QTest::newRow("turkish letter") << 0x15F << 0;
}

void tst_modMain::numericKeyFilter() {
    QFETCH(int, code);
    QFETCH(int, result);
    QCOMPARE(int(NumericKeyFilter(qint16(code))), result);
}

void tst_modMain::floodFillStopsAtOtherColours() {
    // A white picture with a black ring; inside the ring white again, cut off from (0, 0).
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(Qt::white);
    for (int x = 10; x <= 20; ++x) {
        image.setPixel(x, 10, qRgb(0, 0, 0));
        image.setPixel(x, 20, qRgb(0, 0, 0));
    }
    for (int y = 10; y <= 20; ++y) {
        image.setPixel(10, y, qRgb(0, 0, 0));
        image.setPixel(20, y, qRgb(0, 0, 0));
    }
    image.setPixel(39, 29, qRgb(255, 255, 254)); // nearly white: not the same colour
    const QRgb grey = qRgb(200, 200, 200);
    const qsizetype painted = floodFill(image, QPoint(0, 0), grey);

    QCOMPARE(painted, qsizetype(40 * 30 - 11 * 11 - 1));
    QCOMPARE(image.pixel(0, 0), grey);
    QCOMPARE(image.pixel(39, 0), grey);
    QCOMPARE(image.pixel(15, 15), qRgb(255, 255, 255)); // inside the ring
    QCOMPARE(image.pixel(10, 10), qRgb(0, 0, 0));
    QCOMPARE(image.pixel(39, 29), qRgb(255, 255, 254));
    QCOMPARE(floodFill(image, QPoint(0, 0), grey), qsizetype(0)); // already that colour
    // Diagonal neighbours are not connected.
    QImage diagonal(2, 2, QImage::Format_RGB32);
    diagonal.fill(Qt::black);
    diagonal.setPixel(0, 0, qRgb(255, 255, 255));
    diagonal.setPixel(1, 1, qRgb(255, 255, 255));
    floodFill(diagonal, QPoint(0, 0), grey);
    QCOMPARE(diagonal.pixel(1, 1), qRgb(255, 255, 255));
}

void tst_modMain::fillPictureBackground() {
    PictureBox picture;
    QImage image(20, 20, QImage::Format_RGB32);
    image.fill(Qt::blue);
    image.setPixel(5, 5, qRgb(255, 0, 0));
    picture.setImage(image);
    FillPictureBackground(picture, 0x0080FF80); // light green, as 0x00BBGGRR
    QCOMPARE(picture.image().pixel(0, 0), qRgb(0x80, 0xFF, 0x80));
    QCOMPARE(picture.image().pixel(19, 19), qRgb(0x80, 0xFF, 0x80));
    QCOMPARE(picture.image().pixel(5, 5), qRgb(255, 0, 0));
}

void tst_modMain::colours() {
    QCOMPARE(colorFromBgr(0x0080C0FF), QColor(0xFF, 0xC0, 0x80)); // light orange
    QCOMPARE(bgrFromColor(QColor(0x12, 0x34, 0x56)), quint32(0x00563412));
    QCOMPARE(ButtonFaceColor(), bgrFromColor(QApplication::palette().color(QPalette::Button)));
}

void tst_modMain::qtTextsInTurkish() {
    QVERIFY(Language::install(*QCoreApplication::instance(), Language::Choice::Turkish));
    QMessageBox box;
    box.setStandardButtons(QMessageBox::Ok | QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(box.button(QMessageBox::Ok)->text(), QStringLiteral("Tamam"));
    QCOMPARE(box.button(QMessageBox::Yes)->text().remove(QLatin1Char('&')), QStringLiteral("Evet"));
}

// A question's buttons speak the run's language (English showed "Evet" beside "No").
void tst_modMain::yesNoInTheRunsLanguage_data() {
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("yes");
    QTest::addColumn<QString>("no");
    QTest::newRow("Turkish") << int(Language::Choice::Turkish) << QStringLiteral("Evet")
                             << QStringLiteral("Hayır");
    QTest::newRow("English") << int(Language::Choice::English) << QStringLiteral("Yes")
                             << QStringLiteral("No");
}

void tst_modMain::yesNoInTheRunsLanguage() {
    QFETCH(int, language);
    QFETCH(QString, yes);
    QFETCH(QString, no);
    QVERIFY(Language::install(*QCoreApplication::instance(), Language::Choice(language)));
    QStringList shown;
    QTimer::singleShot(0, this, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        shown = {box->button(QMessageBox::Yes)->text(), box->button(QMessageBox::No)->text()};
        box->button(QMessageBox::No)->click();
    });
    MessageBoxPrompts prompts;
    QVERIFY(!prompts.askYesNo(QStringLiteral("?"), UserPrompts::Icon::Question));
    QCOMPARE(shown, QStringList({yes, no}));
}

QTEST_MAIN(tst_modMain)
#include "tst_modmain.moc"
