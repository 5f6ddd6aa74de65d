#pragma once

class QWidget;

// Return (and Enter on the keypad) presses the focused push button of a window, as on Windows,
// where the program's users come from; Space still does, as Qt has it.
namespace ReturnPressesButtons {

// For every button that `window` holds now.
void install(QWidget *window);

} // namespace ReturnPressesButtons
