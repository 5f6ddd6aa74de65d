#pragma once

#include <QRect>
#include <QSize>
#include <QString>

class QDialog;
class QLabel;
class QPushButton;

// What the editor and the adapter dialog share: the frame, the network-card picture and the
// green save button.
namespace DialogFrame {

// No caption (and no program name in its place), the network-card icon, a fixed size, Arial 8;
// `accessibleName` says what it is to a screen reader.
void setUp(QDialog &dialog, const QString &objectName, const QString &accessibleName, QSize size);
// The 32 x 32 network-card picture at `place`.
QLabel *addPicture(QDialog &dialog, QRect place);
// "KAYDET" on a light green face, at `place`.
QPushButton *addSaveButton(QDialog &dialog, QRect place);
// From a show event: the first time the dialog is shown (`shownOnce` still false) it is centred
// on the screen and its caption removed; true then, false every later time.
bool placeOnFirstShow(QDialog &dialog, bool &shownOnce);

} // namespace DialogFrame
