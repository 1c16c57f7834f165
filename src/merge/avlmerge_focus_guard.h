#pragma once
// The focus-leaving check of the merge window's text boxes. Before the focus
// may move from a checked box to another control of the window (by a click, a
// mnemonic key, Tab or Enter), the box's check runs; when the check fails the
// focus stays in the box and the other control never sees the event, so its
// action (merge, browse, quit, a list's double click) does not take place.
//
// Clicks are caught on the window's platform window, before Qt hands the press
// to the control under the mouse and moves the focus there; mnemonic keys are
// caught on the control they activate, before it takes the focus.
#include <QObject>
#include <QPointer>
#include <functional>
#include <vector>

class QWidget;
class QWindow;

namespace avelin {

class FocusLeaveGuard : public QObject {
    Q_OBJECT
  public:
    explicit FocusLeaveGuard(QWidget* window);

    // `check` returns false to keep the focus in `box` (a Validate handler
    // that sets Cancel). `onEnter`, when given, runs when Enter is pressed in
    // the box and the check passes.
    void addField(QWidget* box, std::function<bool()> check, std::function<void()> onEnter = {});
    // Watches every control of the window for mnemonic activation. Call once
    // the controls exist.
    void watchControls();
    // Watches the window's platform window for mouse presses. Call once it
    // exists (the window has been shown); repeated calls are harmless.
    void watchWindowHandle();

    // Runs the check of the box that holds the focus, unless `target` is that
    // box or lies inside it. True when the focus may go to `target`.
    bool mayLeaveFor(QWidget* target);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    struct Field {
        QWidget* box;
        std::function<bool()> check;
        std::function<void()> onEnter;
    };
    const Field* focusedField() const;
    const Field* fieldOf(const QObject* box) const;
    // The control that a click at `hit` would give the focus to, if any.
    QWidget* focusTakerAt(QWidget* hit) const;

    QWidget* window_;
    std::vector<Field> fields_;
    QPointer<QWindow> handle_;
};

} // namespace avelin
