#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QImage>

// The window's pictures as the program carries them: their pixels, ready to show, so that
// nothing has to be decoded at start. Made from the PNG files at build time
// (tools/pictures/png_to_raw).
// Layout: "ZRAW", width and height (32-bit little-endian), then the rows of premultiplied
// ARGB pixels, 32-bit little-endian each, top row first, without padding.
namespace RawPicture {

inline constexpr int MaxSide = 4096;

// The picture in the layout above; empty for a null picture or one larger than MaxSide.
QByteArray encode(const QImage &picture);

// The picture back; a null image when the data is not a whole picture of that layout.
QImage decode(QByteArrayView data);

// The picture kept at a resource path (":/..."); a null image when it is missing or damaged.
QImage fromResource(const QString &path);

} // namespace RawPicture
