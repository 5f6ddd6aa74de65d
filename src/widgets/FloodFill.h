#pragma once

#include <QImage>
#include <QPoint>
#include <QRgb>

// Paints every pixel that has the colour of `start` and is connected to it (through its
// four neighbours) with `colour`. Colours must match exactly. Returns the number of pixels
// painted.
qsizetype floodFill(QImage &image, QPoint start, QRgb colour);
