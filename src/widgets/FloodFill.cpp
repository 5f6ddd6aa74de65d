#include "widgets/FloodFill.h"

#include <vector>

qsizetype floodFill(QImage &image, QPoint start, QRgb colour) {
    if (!image.rect().contains(start))
        return 0;
    if (image.format() != QImage::Format_ARGB32 && image.format() != QImage::Format_RGB32)
        image.convertTo(QImage::Format_ARGB32);
    const QRgb target = image.pixel(start);
    const QRgb fill = image.hasAlphaChannel() ? colour : (colour | 0xFF000000u);
    if (target == fill)
        return 0;

    // Scanline fill: each run of the target colour is painted once, and the rows above and
    // below it are searched for runs to fill next.
    const int width = image.width();
    const int height = image.height();
    qsizetype painted = 0;
    std::vector<QPoint> pending{start};
    while (!pending.empty()) {
        const QPoint p = pending.back();
        pending.pop_back();
        auto *row = reinterpret_cast<QRgb *>(image.scanLine(p.y()));
        if (row[p.x()] != target)
            continue;
        int left = p.x();
        while (left > 0 && row[left - 1] == target)
            --left;
        int right = p.x();
        while (right + 1 < width && row[right + 1] == target)
            ++right;
        for (int x = left; x <= right; ++x)
            row[x] = fill;
        painted += right - left + 1;
        for (const int y : {p.y() - 1, p.y() + 1}) {
            if (y < 0 || y >= height)
                continue;
            const auto *next = reinterpret_cast<const QRgb *>(image.constScanLine(y));
            bool inRun = false;
            for (int x = left; x <= right; ++x) {
                const bool match = next[x] == target;
                if (match && !inRun)
                    pending.emplace_back(x, y);
                inRun = match;
            }
        }
    }
    return painted;
}
