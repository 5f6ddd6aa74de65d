#include "widgets/RawPicture.h"

#include <QResource>
#include <QtEndian>
#include <cstring>

namespace RawPicture {

namespace {

constexpr char Magic[4] = {'Z', 'R', 'A', 'W'};
constexpr qsizetype HeaderSize = 12;

} // namespace

QByteArray encode(const QImage &picture) {
    if (picture.isNull() || picture.width() > MaxSide || picture.height() > MaxSide)
        return {};
    const QImage pixels = picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const qsizetype rowBytes = qsizetype(pixels.width()) * 4;
    QByteArray data(HeaderSize + rowBytes * pixels.height(), Qt::Uninitialized);
    auto *out = reinterpret_cast<uchar *>(data.data());
    std::memcpy(out, Magic, sizeof Magic);
    qToLittleEndian<quint32>(quint32(pixels.width()), out + 4);
    qToLittleEndian<quint32>(quint32(pixels.height()), out + 8);
    out += HeaderSize;
    for (int y = 0; y < pixels.height(); ++y) {
        const auto *row = reinterpret_cast<const quint32 *>(pixels.constScanLine(y));
        for (int x = 0; x < pixels.width(); ++x, out += 4)
            qToLittleEndian<quint32>(row[x], out);
    }
    return data;
}

namespace {

// The picture's size when the data is a whole picture of the layout; an empty size otherwise.
QSize wholePicture(QByteArrayView data) {
    if (data.size() < HeaderSize || std::memcmp(data.data(), Magic, sizeof Magic) != 0)
        return {};
    const auto *in = reinterpret_cast<const uchar *>(data.data());
    const quint32 width = qFromLittleEndian<quint32>(in + 4);
    const quint32 height = qFromLittleEndian<quint32>(in + 8);
    if (width == 0 || height == 0 || width > MaxSide || height > MaxSide ||
        data.size() != HeaderSize + qsizetype(width) * height * 4)
        return {};
    return QSize(int(width), int(height));
}

} // namespace

QImage decode(QByteArrayView data) {
    const QSize size = wholePicture(data);
    if (size.isEmpty())
        return {};
    const quint32 width = quint32(size.width());
    const auto *in = reinterpret_cast<const uchar *>(data.data());
    QImage picture(size, QImage::Format_ARGB32_Premultiplied);
    if (picture.isNull())
        return {};
    in += HeaderSize;
    for (int y = 0; y < picture.height(); ++y) {
        auto *row = reinterpret_cast<quint32 *>(picture.scanLine(y));
        if constexpr (QSysInfo::ByteOrder == QSysInfo::LittleEndian) {
            std::memcpy(row, in, width * 4);
            in += width * 4;
        } else {
            for (quint32 x = 0; x < width; ++x, in += 4)
                row[x] = qFromLittleEndian<quint32>(in);
        }
    }
    return picture;
}

QImage fromResource(const QString &path) {
    const QResource resource(path);
    if (!resource.isValid())
        return {};
    if (resource.compressionAlgorithm() == QResource::NoCompression &&
        QSysInfo::ByteOrder == QSysInfo::LittleEndian) {
        // The program's own pixels are already in memory as an image keeps them: shown from
        // there, without a copy (an image made on them copies them only when drawn on).
        const QByteArrayView data(resource.data(), resource.size());
        const QSize size = wholePicture(data);
        const uchar *pixels = resource.data() + HeaderSize;
        if (size.isEmpty() || reinterpret_cast<quintptr>(pixels) % alignof(quint32) != 0)
            return decode(data);
        return QImage(pixels, size.width(), size.height(), qsizetype(size.width()) * 4,
                      QImage::Format_ARGB32_Premultiplied);
    }
    return decode(resource.uncompressedData());
}

} // namespace RawPicture
