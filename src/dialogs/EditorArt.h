#pragma once

#include <QIcon>
#include <QImage>

// The editor's pictures, drawn by the program itself.
namespace EditorArt {

// The address frame's background, 369 x 223 pixels: a plain background (the area that the
// editor repaints in the button colour) with a network drawing beside each group.
QImage addressFrameBackground();

// The editor's 32 x 32 picture and window icon: a network card with a plug.
QImage editorPicture();
QIcon editorIcon();

} // namespace EditorArt
