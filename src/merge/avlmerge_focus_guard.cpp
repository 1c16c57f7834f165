#include "merge/avlmerge_focus_guard.h"

#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

namespace avelin {

FocusLeaveGuard::FocusLeaveGuard(QWidget* window) : QObject(window), window_(window) {}

void FocusLeaveGuard::addField(QWidget* box, std::function<bool()> check, std::function<void()> onEnter) {
    fields_.push_back({box, std::move(check), std::move(onEnter)});
    box->installEventFilter(this);
}

void FocusLeaveGuard::watchControls() {
    for (QWidget* w : window_->findChildren<QWidget*>())
        w->installEventFilter(this);
}

void FocusLeaveGuard::watchWindowHandle() {
    QWindow* handle = window_->windowHandle();
    if (!handle || handle == handle_)
        return;
    if (handle_)
        handle_->removeEventFilter(this);
    handle_ = handle;
    handle_->installEventFilter(this);
}

const FocusLeaveGuard::Field* FocusLeaveGuard::fieldOf(const QObject* box) const {
    for (const Field& f : fields_)
        if (f.box == box)
            return &f;
    return nullptr;
}

const FocusLeaveGuard::Field* FocusLeaveGuard::focusedField() const {
    const QWidget* focus = window_->focusWidget();
    if (!focus || !focus->isVisible())
        return nullptr;
    return fieldOf(focus);
}

bool FocusLeaveGuard::mayLeaveFor(QWidget* target) {
    const Field* field = focusedField();
    if (!field || !target || target == field->box || field->box->isAncestorOf(target))
        return true;
    return field->check();
}

QWidget* FocusLeaveGuard::focusTakerAt(QWidget* hit) const {
    // As Qt does on a press: the first enabled widget from the one under the
    // mouse up to the window that takes the focus on a click.
    for (QWidget* w = hit; w && w != window_; w = w->parentWidget()) {
        if (w->isEnabled() && (w->focusPolicy() & Qt::ClickFocus))
            return w;
        if (w->isWindow())
            break;
    }
    return nullptr;
}

bool FocusLeaveGuard::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        if (watched != handle_ || !window_->isEnabled())
            return false;
        const auto* me = static_cast<QMouseEvent*>(event);
        QWidget* taker = focusTakerAt(window_->childAt(me->position().toPoint()));
        return taker && !mayLeaveFor(taker);
    }
    case QEvent::Shortcut:
        // A mnemonic (Alt+Q, Alt+B) focuses and clicks its control.
        return watched->isWidgetType() && !mayLeaveFor(static_cast<QWidget*>(watched));
    case QEvent::KeyPress: {
        const Field* field = fieldOf(watched);
        if (!field)
            return false;
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Tab || key == Qt::Key_Backtab)
            return !field->check();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && field->onEnter) {
            if (field->check())
                field->onEnter();
            return true;
        }
        return false;
    }
    default:
        return false;
    }
}

} // namespace avelin
