#pragma once

#include <QRect>

// Layouts are measured in twips; 15 twips are one pixel at 96 dots per inch.
constexpr int px(int twips) {
    return twips / 15;
}

inline QRect twipRect(int left, int top, int width, int height) {
    return QRect(px(left), px(top), px(width), px(height));
}
