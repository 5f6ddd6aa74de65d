// The window's pictures as the program carries them: the same pixels as the PNG files they are
// made from, and nothing but a whole picture is ever taken for one.
#include "widgets/RawPicture.h"

#include <QImage>
#include <QtEndian>
#include <QtTest>

class tst_RawPicture : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void programPicturesMatchTheirSources_data();
    void programPicturesMatchTheirSources();
    void roundTrip();
    void damagedDataIsNoPicture_data();
    void damagedDataIsNoPicture();
    void tooLargeToEncode();
};

void tst_RawPicture::programPicturesMatchTheirSources_data() {
    QTest::addColumn<QString>("resource");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QSize>("box"); // where the window shows it scaled, if it is
    QTest::newRow("icon") << QStringLiteral(":/app/icon.raw") << QStringLiteral("icon.png")
                          << QSize();
    QTest::newRow("logo") << QStringLiteral(":/app/logo.raw") << QStringLiteral("logo.png")
                          << QSize();
    // The window's logo label is 169 × 51: scaled when built, as the label would scale it.
    QTest::newRow("logo as shown")
        << QStringLiteral(":/app/logo-169x51.raw") << QStringLiteral("logo.png") << QSize(169, 51);
}

void tst_RawPicture::programPicturesMatchTheirSources() {
    QFETCH(QString, resource);
    QFETCH(QString, source);
    QFETCH(QSize, box);
    const QImage png(QStringLiteral(ZELVI_PICTURE_SOURCES "/") + source);
    QVERIFY(!png.isNull());
    QImage expected = png.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (box.isValid())
        expected = expected.scaled(box, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const QImage shown = RawPicture::fromResource(resource);
    QCOMPARE(shown.size(), expected.size());
    QCOMPARE(shown.format(), QImage::Format_ARGB32_Premultiplied);
    QCOMPARE(shown, expected);
}

void tst_RawPicture::roundTrip() {
    // An odd width (no row padding), half-transparent pixels and a pixel per colour channel.
    QImage picture(7, 3, QImage::Format_ARGB32);
    picture.fill(QColor(10, 20, 30, 128));
    picture.setPixel(0, 0, qRgba(255, 0, 0, 255));
    picture.setPixel(6, 2, qRgba(0, 0, 255, 1));
    picture.setPixel(3, 1, qRgba(0, 255, 0, 0));
    const QByteArray data = RawPicture::encode(picture);
    QCOMPARE(data.size(), 12 + 7 * 3 * 4);
    const QImage back = RawPicture::decode(data);
    QCOMPARE(back, picture.convertToFormat(QImage::Format_ARGB32_Premultiplied));
    // The layout is fixed: little-endian fields, whatever the computer.
    QCOMPARE(data.left(4), QByteArray("ZRAW"));
    QCOMPARE(qFromLittleEndian<quint32>(data.constData() + 4), 7u);
    QCOMPARE(qFromLittleEndian<quint32>(data.constData() + 8), 3u);
    QCOMPARE(qFromLittleEndian<quint32>(data.constData() + 12), 0xFFFF0000u);
}

void tst_RawPicture::damagedDataIsNoPicture_data() {
    QTest::addColumn<QByteArray>("data");
    QImage picture(4, 2, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::blue);
    const QByteArray whole = RawPicture::encode(picture);
    const auto withSize = [&](quint32 width, quint32 height) {
        QByteArray data = whole;
        qToLittleEndian<quint32>(width, data.data() + 4);
        qToLittleEndian<quint32>(height, data.data() + 8);
        return data;
    };
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("header only") << whole.left(12);
    QTest::newRow("short header") << whole.left(7);
    QTest::newRow("one byte short") << whole.chopped(1);
    QTest::newRow("one byte more") << whole + '\0';
    QTest::newRow("other magic") << QByteArray("PNG!") + whole.mid(4);
    QTest::newRow("zero width") << withSize(0, 2);
    QTest::newRow("zero height") << withSize(4, 0);
    QTest::newRow("sizes swapped") << withSize(2, 4) + QByteArray(1, 'x');
    QTest::newRow("width beyond limit") << withSize(RawPicture::MaxSide + 1, 1);
    // 65536 × 65536 × 4 wraps to 0 in 32 bits; must not be taken for an empty picture.
    QTest::newRow("size that wraps") << withSize(65536, 65536).left(12);
    QTest::newRow("largest sides, no pixels") << withSize(0xFFFFFFFF, 0xFFFFFFFF);
}

void tst_RawPicture::damagedDataIsNoPicture() {
    QFETCH(QByteArray, data);
    QVERIFY(RawPicture::decode(data).isNull());
}

void tst_RawPicture::tooLargeToEncode() {
    QVERIFY(RawPicture::encode(QImage()).isEmpty());
    QVERIFY(RawPicture::encode(QImage(RawPicture::MaxSide + 1, 1, QImage::Format_RGB32)).isEmpty());
    QVERIFY(RawPicture::fromResource(QStringLiteral(":/app/missing.raw")).isNull());
}

QTEST_GUILESS_MAIN(tst_RawPicture)
#include "tst_rawpicture.moc"
