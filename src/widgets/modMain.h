#pragma once

#include <QColor>
#include <QtGlobal>

class PictureBox;
class QCoreApplication;
class QWidget;

// Colours are handled as 0x00BBGGRR values (red in the low byte), as the layouts give them.
QColor colorFromBgr(quint32 bgr);
quint32 bgrFromColor(const QColor &color);

// The character filter of the address boxes: control characters (below 32) pass unchanged,
// as do the characters of "1234567890."; every other character becomes 0 (dropped).
qint16 NumericKeyFilter(qint16 KeyAscii);

// Repaints the picture's background, the area of pixel (0, 0)'s colour connected to it,
// with the colour (0x00BBGGRR).
void FillPictureBackground(PictureBox &picture, quint32 colour);

// The desktop's button colour, as 0x00BBGGRR.
quint32 ButtonFaceColor();

// Places a window in the middle of the screen.
void centreOnScreen(QWidget *window);

// Leaves the title bar of a window that has no caption without text. (Given an empty title,
// the window system would show the program's name there.) Call it once the window exists.
void showNoTitle(QWidget *window);
