// Draws the program's icon (225 x 233) and logo (556 x 165) into PNG files:
//   draw_art OUTPUT_FOLDER
// The files in resources/ were made with it; run it again after changing a drawing.
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {

void drawNetwork(QPainter &p, const QRectF &r, const QColor &line, const QColor &node) {
    const qreal w = r.width();
    const qreal h = r.height();
    p.setPen(QPen(line, w * 0.04, Qt::SolidLine, Qt::RoundCap));
    const QPointF hub(r.left() + w / 2, r.top() + h * 0.25);
    const QPointF a(r.left() + w * 0.15, r.top() + h * 0.8);
    const QPointF b(r.left() + w * 0.5, r.top() + h * 0.85);
    const QPointF c(r.left() + w * 0.85, r.top() + h * 0.8);
    for (const QPointF &end : {a, b, c})
        p.drawLine(hub, end);
    p.setPen(QPen(line, w * 0.025));
    p.setBrush(node);
    for (const QPointF &pt : {hub, a, b, c})
        p.drawEllipse(pt, w * 0.1, w * 0.1);
}

QImage icon() {
    QImage image(225, 233, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient bg(0, 0, 0, 233);
    bg.setColorAt(0, QColor(40, 120, 200));
    bg.setColorAt(1, QColor(16, 50, 110));
    p.setPen(QPen(QColor(10, 30, 70), 4));
    p.setBrush(bg);
    p.drawRoundedRect(QRectF(4, 4, 217, 225), 36, 36);
    drawNetwork(p, QRectF(40, 18, 145, 110), QColor(255, 255, 255), QColor(128, 255, 128));
    QFont font(QStringLiteral("Liberation Sans"));
    font.setBold(true);
    font.setPixelSize(78);
    p.setFont(font);
    p.setPen(QColor(255, 192, 128));
    p.drawText(QRectF(0, 120, 225, 100), Qt::AlignCenter, QStringLiteral("IP"));
    return image;
}

QImage logo() {
    QImage image(556, 165, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient bg(0, 0, 556, 165);
    bg.setColorAt(0, QColor(24, 40, 64));
    bg.setColorAt(1, QColor(50, 80, 120));
    p.setPen(Qt::NoPen);
    p.setBrush(bg);
    p.drawRoundedRect(QRectF(0, 0, 556, 165), 24, 24);
    drawNetwork(p, QRectF(20, 20, 150, 125), QColor(255, 192, 128), QColor(255, 255, 128));
    QFont font(QStringLiteral("Liberation Sans"));
    font.setBold(true);
    font.setPixelSize(54);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(185, 12, 360, 80), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("NUVAR POS"));
    font.setPixelSize(44);
    p.setFont(font);
    p.setPen(QColor(128, 255, 128));
    p.drawText(QRectF(188, 88, 360, 60), Qt::AlignLeft | Qt::AlignVCenter,
               QString::fromUtf8("ZELVİ IP"));
    return image;
}

} // namespace

int main(int argc, char *argv[]) {
    QGuiApplication app(argc, argv);
    if (argc != 2)
        return 2;
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const bool ok = icon().save(folder + QStringLiteral("/icon.png")) &&
                    logo().save(folder + QStringLiteral("/logo.png"));
    return ok ? 0 : 1;
}
