// Build step: turns a PNG picture into the program's ready-to-show picture data.
//   png_to_raw IN.png OUT.raw [WIDTHxHEIGHT]
// With a size, the picture as a label with scaled contents shows it in a box of that size
// (smoothly scaled), so that the program neither carries nor scales the larger one.
#include "widgets/RawPicture.h"

#include <QImage>
#include <QRegularExpression>
#include <QSaveFile>
#include <cstdio>

int main(int argc, char *argv[]) {
    if (argc != 3 && argc != 4) {
        std::fputs("usage: png_to_raw IN.png OUT.raw [WIDTHxHEIGHT]\n", stderr);
        return 2;
    }
    QImage picture(QString::fromLocal8Bit(argv[1]), "png");
    if (argc == 4) {
        const QRegularExpressionMatch size =
            QRegularExpression(QStringLiteral("^([1-9][0-9]{0,3})x([1-9][0-9]{0,3})$"))
                .match(QString::fromLocal8Bit(argv[3]));
        if (!size.hasMatch()) {
            std::fprintf(stderr, "png_to_raw: %s is no size such as 169x51\n", argv[3]);
            return 2;
        }
        // The same pixels and scaling as the label's own.
        picture = picture.convertToFormat(QImage::Format_ARGB32_Premultiplied)
                      .scaled(size.captured(1).toInt(), size.captured(2).toInt(),
                              Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    const QByteArray data = RawPicture::encode(picture);
    if (data.isEmpty()) {
        std::fprintf(stderr,
                     "png_to_raw: %s is no readable PNG picture of at most %d pixels a "
                     "side\n",
                     argv[1], RawPicture::MaxSide);
        return 1;
    }
    QSaveFile out(QString::fromLocal8Bit(argv[2]));
    if (!out.open(QIODevice::WriteOnly) || out.write(data) != data.size() || !out.commit()) {
        std::fprintf(stderr, "png_to_raw: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
