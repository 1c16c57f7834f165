#include "platform/qt_window_system.h"

#include <QApplication>
#include <QHash>
#include <QPointer>
#include <QScreen>
#include <QWidget>

#include "platform/display_text.h"

namespace avelin {

namespace {

struct Registry {
    QHash<QWidget*, Hwnd> handles;
    QHash<Hwnd, QPointer<QWidget>> widgets;
    Hwnd last = 0;
};

Registry& registry() {
    static Registry r;
    return r;
}

WindowRect toRect(const QRect& r) {
    // Window rectangles as user32 gives them: right and bottom exclusive.
    return {r.x(), r.y(), r.x() + r.width(), r.y() + r.height()};
}

} // namespace

Hwnd QtWindowSystem::handleOf(QWidget* window) {
    if (!window)
        return 0;
    Registry& r = registry();
    const auto it = r.handles.constFind(window);
    if (it != r.handles.constEnd())
        return it.value();
    const Hwnd h = ++r.last;
    r.handles.insert(window, h);
    r.widgets.insert(h, window);
    QObject::connect(window, &QObject::destroyed, [window, h] {
        registry().handles.remove(window);
        registry().widgets.remove(h);
    });
    return h;
}

QWidget* QtWindowSystem::widgetOf(Hwnd h) {
    return registry().widgets.value(h).data();
}

void QtWindowSystem::enumWindows(const std::function<bool(Hwnd)>& visit) {
    // Copied first: a visit may open or close windows.
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget* w : windows)
        if (!visit(handleOf(w)))
            return;
}

bool QtWindowSystem::isVisible(Hwnd h) {
    QWidget* w = widgetOf(h);
    return w && w->isVisible();
}

Hwnd QtWindowSystem::parent(Hwnd h) {
    // A top-level widget with a parent is a dialog owned by that window.
    QWidget* w = widgetOf(h);
    return w && w->parentWidget() ? handleOf(w->parentWidget()->window()) : 0;
}

std::string QtWindowSystem::title(Hwnd h, int maxChars) {
    QWidget* w = widgetOf(h);
    if (!w || maxChars <= 0)
        return {};
    std::string text = FromDisplay(w->windowTitle());
    if (text.size() > static_cast<std::size_t>(maxChars))
        text.resize(static_cast<std::size_t>(maxChars));
    return text;
}

bool QtWindowSystem::isMinimised(Hwnd h) {
    QWidget* w = widgetOf(h);
    return w && w->isMinimized();
}

void QtWindowSystem::restore(Hwnd h) {
    if (QWidget* w = widgetOf(h))
        w->setWindowState(w->windowState() & ~Qt::WindowMinimized);
}

WindowRect QtWindowSystem::rect(Hwnd h) {
    QWidget* w = widgetOf(h);
    return w ? toRect(w->frameGeometry()) : WindowRect{};
}

void QtWindowSystem::moveWindow(Hwnd h, int left, int top, int width, int height) {
    QWidget* w = widgetOf(h);
    if (!w)
        return;
    // move() places the frame; resize() sizes the client area inside it.
    const QSize frame = w->frameGeometry().size() - w->geometry().size();
    w->move(left, top);
    const QSize client(width - frame.width(), height - frame.height());
    if (client != w->size())
        w->resize(client);
}

std::optional<WindowRect> QtWindowSystem::centringFallback() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return std::nullopt;
    return toRect(screen->availableGeometry());
}

} // namespace avelin
