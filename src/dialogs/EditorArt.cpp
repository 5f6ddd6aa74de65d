#include "dialogs/EditorArt.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace EditorArt {

namespace {

// A small drawing of two computers linked to a router, at the given place.
void drawNetwork(QPainter &p, QPoint origin, const QColor &accent) {
    p.save();
    p.translate(origin);
    p.setPen(QPen(QColor(40, 40, 40), 1));
    p.setBrush(accent);
    p.drawRoundedRect(QRect(14, 0, 22, 12), 2, 2); // router
    p.drawLine(25, 12, 25, 18);
    p.drawLine(8, 18, 42, 18);
    p.drawLine(8, 18, 8, 24);
    p.drawLine(42, 18, 42, 24);
    p.setBrush(QColor(230, 235, 240));
    p.drawRect(QRect(0, 24, 16, 11)); // two screens
    p.drawRect(QRect(34, 24, 16, 11));
    p.setBrush(QColor(40, 40, 40));
    p.drawRect(QRect(5, 36, 6, 2));
    p.drawRect(QRect(39, 36, 6, 2));
    p.restore();
}

} // namespace

QImage addressFrameBackground() {
    QImage image(369, 223, QImage::Format_RGB32);
    image.fill(QColor(214, 226, 238)); // the plain background, repainted by the editor
    QPainter p(&image);
    // A groove between the address group and the DNS group.
    p.setPen(QColor(150, 164, 180));
    p.drawLine(8, 124, 360, 124);
    p.setPen(QColor(250, 252, 255));
    p.drawLine(8, 125, 360, 125);
    drawNetwork(p, QPoint(314, 38), QColor(128, 255, 128));
    drawNetwork(p, QPoint(314, 165), QColor(255, 255, 128));
    return image;
}

QImage editorPicture() {
    QImage image(32, 32, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(30, 60, 30), 1));
    p.setBrush(QColor(40, 140, 70)); // the card
    p.drawRoundedRect(QRectF(1.5, 6.5, 22, 16), 2, 2);
    p.setBrush(QColor(220, 190, 60)); // its contacts
    for (int i = 0; i < 5; ++i)
        p.drawRect(QRectF(4 + i * 4, 22.5, 2, 3));
    p.setBrush(QColor(200, 200, 200)); // the socket
    p.drawRect(QRectF(16.5, 10.5, 9, 8));
    p.setPen(QPen(QColor(30, 90, 200), 2.5)); // the cable
    QPainterPath cable(QPointF(25, 14.5));
    cable.cubicTo(QPointF(31, 14.5), QPointF(30, 26), QPointF(24, 30));
    p.setBrush(Qt::NoBrush);
    p.drawPath(cable);
    return image;
}

QIcon editorIcon() {
    return QIcon(QPixmap::fromImage(editorPicture()));
}

} // namespace EditorArt
