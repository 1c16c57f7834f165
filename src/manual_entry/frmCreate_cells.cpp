// The grid of the manual data window in grid numbers: row 0 is the header and
// column 0 the labels, so grid row r / column n is table row r - 1 / column
// n - 1.
#include <QApplication>

#include "manual_entry/frmCreate.h"
#include "manual_entry/frmCreate_grid.h"
#include "manual_entry/grid_rules.h"
#include "platform/display_text.h"

namespace avelin {

int frmCreate::currentRow() const {
    return grdVotes->currentRow() + 1; // 0 when there is no current cell
}

int frmCreate::currentCol() const {
    return grdVotes->currentColumn() + 1;
}

void frmCreate::setCurrentCell(int row, int col) {
    grdVotes->setCurrentCell(row - 1, col - 1);
}

int frmCreate::lastRow() const {
    return grdVotes->rowCount();
}

std::string frmCreate::cellText(int row, int col) const {
    const QTableWidgetItem* cell = grdVotes->item(row - 1, col - 1);
    return cell == nullptr ? std::string() : FromDisplay(cell->text());
}

void frmCreate::setCellText(int row, int col, const std::string& text) {
    const QString value = ToDisplay(text);
    QTableWidgetItem* cell = grdVotes->item(row - 1, col - 1);
    if (cell == nullptr) {
        cell = new QTableWidgetItem;
        cell->setTextAlignment(Qt::AlignCenter);
        grdVotes->setItem(row - 1, col - 1, cell);
    }
    cell->setText(value);
}

// Some styles give buttons nearly the white of the cells (a light grey one
// lightness step of 16 away); a greyed cell is then darkened until it stands
// out at a glance.
QColor frmCreate::GreyedColour() {
    const QPalette palette = QApplication::palette();
    const int white = palette.color(QPalette::Base).lightness();
    QColor colour = palette.color(QPalette::Button);
    while (white - colour.lightness() < 40 && colour.lightness() > 40)
        colour = colour.darker(105);
    return colour;
}

// A cell is unavailable when its background is the greyed colour.
bool frmCreate::isGreyed(int row, int col) const {
    const QTableWidgetItem* cell = grdVotes->item(row - 1, col - 1);
    if (cell == nullptr)
        return false;
    const QBrush background = cell->background();
    return background.style() != Qt::NoBrush && background.color() == GreyedColour();
}

GridCounts frmCreate::gridCounts() const {
    GridCounts counts;
    counts.reserve(static_cast<std::size_t>(lastRow()));
    for (int row = 1; row <= lastRow(); ++row) {
        std::vector<std::string> values;
        values.reserve(kGridColumns - 1);
        for (int col = 1; col < kGridColumns; ++col)
            values.push_back(cellText(row, col));
        counts.push_back(std::move(values));
    }
    return counts;
}

} // namespace avelin
