// Build step: turns a PNG picture into the program's ready-to-show picture data.
//   png_to_raw IN.png OUT.raw
#include "widgets/RawPicture.h"

#include <QImage>
#include <QSaveFile>
#include <cstdio>

int main(int argc, char *argv[]) {
    if (argc != 3) {
        std::fputs("usage: png_to_raw IN.png OUT.raw\n", stderr);
        return 2;
    }
    const QImage picture(QString::fromLocal8Bit(argv[1]), "png");
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
