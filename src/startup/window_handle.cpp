#include "startup/window_handle.h"

#include <QWidget>

#include <cstdint>

#ifndef _WIN32
#include "platform/qt_window_system.h"
#endif

namespace avelin {

Hwnd HandleOf(QWidget* window) {
    if (!window)
        return 0;
#ifdef _WIN32
    // Window handles carry 32 significant bits, also in 64-bit processes.
    return static_cast<Hwnd>(static_cast<std::intptr_t>(window->window()->winId()));
#else
    return QtWindowSystem::handleOf(window->window());
#endif
}

} // namespace avelin
