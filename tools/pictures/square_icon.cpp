// Build step: the program's icon as a square PNG of one size, for the desktop's icon theme.
//   square_icon IN.png SIZE OUT.png
// The picture is scaled smoothly to fit and centred on a transparent square.
#include <QImage>
#include <QPainter>
#include <cstdio>
#include <cstdlib>

int main(int argc, char *argv[]) {
    if (argc != 4) {
        std::fputs("usage: square_icon IN.png SIZE OUT.png\n", stderr);
        return 2;
    }
    const QImage source(QString::fromLocal8Bit(argv[1]), "png");
    const int size = std::atoi(argv[2]);
    if (source.isNull() || size < 16 || size > 1024) {
        std::fprintf(stderr, "square_icon: cannot read %s or bad size %s\n", argv[1], argv[2]);
        return 1;
    }
    QImage square(size, size, QImage::Format_ARGB32_Premultiplied);
    square.fill(Qt::transparent);
    const QImage scaled = source.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    QPainter painter(&square);
    painter.drawImage((size - scaled.width()) / 2, (size - scaled.height()) / 2, scaled);
    painter.end();
    if (!square.save(QString::fromLocal8Bit(argv[3]), "png")) {
        std::fprintf(stderr, "square_icon: cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}
