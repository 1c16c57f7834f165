#include "manual_entry/frmCreate_grid.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QStyledItemDelegate>

namespace avelin {

namespace {

// Paints selected cells as unselected while the grid's highlight is off.
class HighlightDelegate : public QStyledItemDelegate {
  public:
    explicit HighlightDelegate(VoteGrid* grid) : QStyledItemDelegate(grid), grid_(grid) {}

  protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        if (!grid_->highlight())
            option->state &= ~QStyle::State_Selected;
    }

  private:
    VoteGrid* grid_;
};

} // namespace

VoteGrid::VoteGrid(QWidget* parent) : QTableWidget(parent) {
    setItemDelegate(new HighlightDelegate(this));
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::NoEditTriggers); // the window's own editor does the editing
    setTabKeyNavigation(false);                         // Tab moves on to the next control
    setCornerButtonEnabled(false);
    setWordWrap(false);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setMinimumSectionSize(1);
    horizontalHeader()->setHighlightSections(false);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setHighlightSections(false);
    verticalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setProperty("highlight", true);
}

// Styles may also fill a selected cell's row panel with the highlight colour
// before the delegate paints, so the palette's highlight goes transparent too.
void VoteGrid::setHighlight(bool on) {
    if (highlight_ == on)
        return;
    highlight_ = on;
    setProperty("highlight", on);
    QPalette colours = palette();
    if (on) {
        colours.setBrush(QPalette::Highlight, highlightColours_.brush(QPalette::Highlight));
        colours.setBrush(QPalette::HighlightedText, highlightColours_.brush(QPalette::HighlightedText));
    } else {
        highlightColours_ = colours;
        colours.setColor(QPalette::Highlight, Qt::transparent);
        colours.setBrush(QPalette::HighlightedText, colours.brush(QPalette::Text));
    }
    setPalette(colours);
    viewport()->update();
}

void VoteGrid::keyPressEvent(QKeyEvent* event) {
    if (onKeyDown && onKeyDown(*event)) {
        event->accept();
        return;
    }
    QTableWidget::keyPressEvent(event);
}

void VoteGrid::scrollContentsBy(int dx, int dy) {
    QTableWidget::scrollContentsBy(dx, dy);
    if (onScrolled)
        onScrolled();
}

} // namespace avelin
