#pragma once
// The grid control of the manual data window: a table whose own headers are
// the fixed row and column, with a selection highlight that can be switched
// off and key presses handed to the window first.
#include <QTableWidget>
#include <functional>

class QKeyEvent;

namespace avelin {

class VoteGrid : public QTableWidget {
  public:
    explicit VoteGrid(QWidget* parent = nullptr);

    // Called for every key pressed on the grid; returns true when it took the
    // key, false to leave it to the grid's own handling (moving, extending).
    std::function<bool(QKeyEvent&)> onKeyDown;
    // Called after the cells have scrolled (wheel, scroll bars, keys).
    std::function<void()> onScrolled;

    // The selection highlight; also readable as the property "highlight".
    void setHighlight(bool on);
    bool highlight() const { return highlight_; }

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

  private:
    bool highlight_ = true;
    QPalette highlightColours_; // the palette while the highlight is on
};

} // namespace avelin
