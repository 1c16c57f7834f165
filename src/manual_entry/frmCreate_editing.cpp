// Editing in the manual data window: the floating cell editor, the keys
// typed on the grid and in the editor.
#include <QFocusEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>

#include "manual_entry/frmCreate.h"
#include "manual_entry/frmCreate_grid.h"
#include "manual_entry/frmCreate_keys.h"
#include "manual_entry/grid_rules.h"
#include "platform/display_text.h"

namespace avelin {

namespace {

constexpr int kDeleteKey = 46;
constexpr int kBackspaceKey = 8;
constexpr int kEnterKey = 13;
constexpr int kTabKey = 9;

} // namespace

void frmCreate::ShowCellEditor() {
    const int row = currentRow();
    const int col = currentCol();
    if (col < 1 || row <= 0)
        return;
    grdVotes->setHighlight(false);
    editRow_ = row;
    editCol_ = col;
    grdVotes->scrollToItem(grdVotes->item(row - 1, col - 1));
    txtInput->resize(grdVotes->columnWidth(col - 1) - twipsToX(60),
                     grdVotes->rowHeight(row - 1) - twipsToY(100));
    txtInput->setText(ToDisplay(cellText(row, col)));
    PlaceCellEditor();
    txtInput->show();
    txtInput->raise();
    txtInput->setFocus(Qt::OtherFocusReason);
}

// The offsets of the editor count the widths and heights of the columns and
// rows in front of its cell; those scrolled out of view are left out, so the
// editor covers the cell as it is shown.
void frmCreate::PlaceCellEditor() {
    const int left =
        grdVotes->x() + grdVotes->verticalHeader()->width() + grdVotes->columnViewportPosition(editCol_ - 1);
    const int top =
        grdVotes->y() + grdVotes->horizontalHeader()->height() + grdVotes->rowViewportPosition(editRow_ - 1);
    txtInput->move(left + twipsToX(70), top + twipsToY(90));
}

// Scrolling the grid with the editor open moves the editor with its cell
// while the whole cell is in view; once the cell leaves the view the edit is
// finished as when the editor is left (what was typed is already in the
// cell), so the editor never lies over another cell or a header.
void frmCreate::grdVotes_Scroll() {
    if (txtInput->isHidden())
        return;
    const QRect cell = grdVotes->visualItemRect(grdVotes->item(editRow_ - 1, editCol_ - 1));
    if (grdVotes->viewport()->rect().contains(cell))
        PlaceCellEditor();
    else
        LeaveCellEditor(grdVotes);
}

void frmCreate::LeaveCellEditor(QWidget* next) {
    if (txtInput->isHidden())
        return;
    next->setFocus(Qt::OtherFocusReason); // the editor's focus-out closes it
    if (!txtInput->isHidden())            // no focus events in an inactive window
        txtInput_LostFocus();
}

void frmCreate::grdVotes_DblClick() {
    if (!isGreyed(currentRow(), currentCol()))
        ShowCellEditor();
}

// Choices beyond the classic rules: a key that is only a modifier (Alt alone,
// say) does nothing, and neither does a key with no classic code; on a
// selection of several cells, a key whose character is a control character
// (Escape) leaves the cells as they are, while any other key that is no digit
// writes its character (code 37, Left, gives "%").
bool frmCreate::grdVotes_KeyDown(QKeyEvent& event) {
    int keyCode = ClassicKeyCode(event);
    const int shift = ClassicShiftState(event.modifiers());
    if (shift == 1 || shift == 2)
        return false;
    if (keyCode == 0 || IsModifierKeyCode(keyCode))
        return false;

    // The selection, anchor and corner; with none, the current cell alone.
    int top = currentRow(), bottom = top, left = currentCol(), right = left;
    for (const QTableWidgetSelectionRange& range : grdVotes->selectedRanges()) {
        if (range.topRow() + 1 <= top && top <= range.bottomRow() + 1 && range.leftColumn() + 1 <= left &&
            left <= range.rightColumn() + 1) {
            top = range.topRow() + 1;
            bottom = range.bottomRow() + 1;
            left = range.leftColumn() + 1;
            right = range.rightColumn() + 1;
            break;
        }
    }
    if (top <= 0 || left <= 0)
        return true;
    const bool severalCells = top != bottom || left != right;

    if (keyCode == kDeleteKey || keyCode == kBackspaceKey) {
        for (int row = top; row <= bottom; ++row)
            for (int col = left; col <= right; ++col)
                setCellText(row, col, std::string());
        return true;
    }
    if (keyCode != kEnterKey) {
        if (keyCode >= 96 && keyCode <= 105) // keypad digits
            keyCode -= 48;
        const std::string ch(1, static_cast<char>(keyCode));
        const bool digit = keyCode >= '0' && keyCode <= '9';
        if (severalCells) {
            if (digit || keyCode >= 32) {
                // Writing texts leaves the current cell and the selection as
                // they were; only the highlight is switched off meanwhile.
                grdVotes->setHighlight(false);
                for (int row = top; row <= bottom; ++row)
                    for (int col = left; col <= right; ++col)
                        if (!isGreyed(row, col))
                            setCellText(row, col, ch);
                grdVotes->setHighlight(true);
            }
        } else if (!isGreyed(top, left)) {
            ShowCellEditor();
            txtInput->setText(txtInput->text() + ToDisplay(ch));
        }
    }
    txtInput->end(false);
    return true;
}

// Invalid text falls back to the cell's; a negative number turns positive.
// The corrected text comes back here as a change of its own, which copies it.
// The text goes into the cell the editor was opened on, whatever has become
// the current cell since, and never into a greyed cell.
void frmCreate::txtInput_Change() {
    const std::string text = FromDisplay(txtInput->text());
    const std::string kept = EditorTextAfterChange(text, cellText(editRow_, editCol_));
    if (kept != text) {
        txtInput->setText(ToDisplay(kept));
        return;
    }
    if (editRow_ > 0 && editCol_ > 0 && !isGreyed(editRow_, editCol_))
        setCellText(editRow_, editCol_, kept);
}

bool frmCreate::txtInput_KeyDown(int keyCode) {
    if (keyCode != kTabKey && keyCode != kEnterKey)
        return false;
    grdVotes->setFocus(Qt::OtherFocusReason); // the editor hides as it loses the focus

    int row = currentRow();
    int col = currentCol();
    bool newRow = false;
    const auto nextRow = [&] {
        row = row >= lastRow() ? 1 : row + 1;
        col = 1;
        newRow = true;
    };
    if (col >= kGridColumns - 1) {
        nextRow();
    } else {
        ++col;
        if (isGreyed(row, col))
            nextRow();
    }
    if (newRow && isGreyed(row, 1))
        col = 2;
    setCurrentCell(row, col);
    ShowCellEditor();
    return true;
}

void frmCreate::txtInput_LostFocus() {
    txtInput->hide();
    grdVotes->setHighlight(true);
}

bool frmCreate::eventFilter(QObject* watched, QEvent* event) {
    if (watched == txtInput) {
        if (event->type() == QEvent::KeyPress) {
            if (txtInput_KeyDown(ClassicKeyCode(*static_cast<QKeyEvent*>(event))))
                return true;
        } else if (event->type() == QEvent::FocusOut) {
            // Switching to another program or opening the editor's context
            // menu keeps the editor open.
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
                txtInput_LostFocus();
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace avelin
