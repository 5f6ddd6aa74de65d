#include "widgets/modMain.h"

#include "widgets/FloodFill.h"
#include "widgets/PictureBox.h"

#include <QApplication>
#include <QCoreApplication>
#include <QPalette>
#include <QScreen>
#include <QString>
#include <QWidget>
#include <QWindow>

QColor colorFromBgr(quint32 bgr) {
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

quint32 bgrFromColor(const QColor &color) {
    return quint32(color.red()) | (quint32(color.green()) << 8) | (quint32(color.blue()) << 16);
}

qint16 NumericKeyFilter(qint16 KeyAscii) {
    if (KeyAscii < 32)
        return KeyAscii;
    return QStringLiteral("1234567890.").contains(QChar(char16_t(KeyAscii))) ? KeyAscii : qint16(0);
}

void FillPictureBackground(PictureBox &picture, quint32 colour) {
    QImage image = picture.image();
    if (image.isNull())
        return;
    floodFill(image, QPoint(0, 0), colorFromBgr(colour).rgb());
    picture.setImage(image);
}

void centreOnScreen(QWidget *window) {
    if (const QScreen *screen = QApplication::primaryScreen())
        window->move(screen->availableGeometry().center() - window->rect().center());
}

void showNoTitle(QWidget *window) {
    // A blank instead of nothing: the window system puts the program's name into an empty
    // title, never into a blank one. The widget's own caption stays empty.
    if (QWindow *handle = window->windowHandle())
        handle->setTitle(QStringLiteral(" "));
}

quint32 ButtonFaceColor() {
    return bgrFromColor(QApplication::palette().color(QPalette::Button));
}
