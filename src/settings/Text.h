#pragma once

#include <QCoreApplication>

// The program's texts are written in Turkish, its own language, and reach the user through
// Text::tr: in Turkish as they stand, or in the language chosen at start (see Language).
// Windows and dialogs may use their own tr(); texts shared by both faces use this one context.
struct Text {
    Q_DECLARE_TR_FUNCTIONS(Text)
};
