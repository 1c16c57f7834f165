#pragma once
// The handle of one of the program's own windows, as the window search knows
// it: the native window id on Windows, elsewhere the handle the Qt window
// system gives it; 0 for none.
#include "platform/window_system.h"

class QWidget;

namespace avelin {

Hwnd HandleOf(QWidget* window);

} // namespace avelin
