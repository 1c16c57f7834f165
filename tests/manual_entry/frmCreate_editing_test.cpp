// Typing into the manual data window: the grid's key rules, the cell editor's
// checks and moves, double clicks and greyed cells.
#include <QClipboard>
#include <QHeaderView>
#include <QLineEdit>
#include <QTest>

#include "frmCreate_fixture.h"
#include "manual_entry/frmCreate_units.h"

using namespace avelin;
using avelin::test::AvlText;
using avelin::test::CreateWindowFixture;

namespace {

// Row 1: values 1 to 4 (columns 2 to 5); row 2: values 0 to 3 (columns 1 to
// 4); rows 3 and 4: a series with values 1 and 2 (columns 2 and 3); row 5:
// values 0 to 10 (every column).
struct EditingFixture : CreateWindowFixture {
    EditingFixture() {
        addVote("one.AVL", AvlText("", 4, 1));
        addVote("zero.AVL", AvlText("", 4, 0));
        addVote("s.AVL", AvlText("SERIES", 2, 1, 2));
        addVote("all.AVL", AvlText("", 11, 0));
        open();
    }
    QLineEdit* editor() const { return find<QLineEdit>("txtInput"); }
    bool editing() const { return editor()->isVisible() && !grid()->property("highlight").toBool(); }
    QPoint current() const { return {grid()->currentRow() + 1, grid()->currentColumn() + 1}; }
    void key(Qt::Key k, Qt::KeyboardModifiers m = {}) const { QTest::keyClick(grid(), k, m); }
    void type(const char* keys, Qt::Key then) const {
        QTest::keyClicks(editor(), keys);
        QTest::keyClick(editor(), then);
    }
};

} // namespace

class FrmCreateEditingTest : public QObject {
    Q_OBJECT

  private slots:
    void keysOnOneCell() {
        EditingFixture f;
        f.click(1, 2);
        f.key(Qt::Key_7, Qt::KeypadModifier); // a keypad digit opens the editor over the cell
        QVERIFY(f.editing() && f.editor()->hasFocus());
        // Column width - 60 twips by row height - 100 twips, at the widths and
        // heights in front of the cell + 70 and + 90 twips.
        const double dpi = f.window->logicalDpiX();
        QTableWidget* g = f.grid();
        QCOMPARE(f.editor()->geometry(),
                 QRect(g->verticalHeader()->width() + g->columnWidth(0) + TwipsToPixels(70, dpi),
                       g->horizontalHeader()->height() + TwipsToPixels(90, dpi),
                       g->columnWidth(1) - TwipsToPixels(60, dpi),
                       g->rowHeight(0) - TwipsToPixels(100, dpi)));
        QTest::keyClick(f.editor(), Qt::Key_2); // typing on adds to the count
        QCOMPARE(f.cell(1, 2), QString("72"));

        // A digit on a cell with a count appends to it.
        f.setCell(1, 3, "1");
        f.click(1, 3);
        QVERIFY(!f.editing());
        f.key(Qt::Key_7);
        QCOMPARE(f.editor()->text(), QString("17"));
        QCOMPARE(f.editor()->cursorPosition(), 2);
        // A letter opens the editor on the count as it is.
        f.click(1, 4);
        f.key(Qt::Key_A);
        QVERIFY(f.editing());
        QCOMPARE(f.row(1), QString(",72,17,,,,,,,,"));

        // Shift or Ctrl alone with a digit does nothing; both together act
        // like the digit alone.
        f.click(2, 2);
        f.key(Qt::Key_3, Qt::ShiftModifier);
        f.key(Qt::Key_NumberSign, Qt::ShiftModifier);
        f.key(Qt::Key_3, Qt::ControlModifier);
        QVERIFY(!f.editing());
        f.key(Qt::Key_NumberSign, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(f.row(2), QString(",3,,,,,,,,,"));

        // Greyed cells take no key and no double click.
        f.click(1, 1);
        f.key(Qt::Key_7);
        f.key(Qt::Key_7, Qt::KeypadModifier);
        f.doubleClick(1, 6);
        QVERIFY(!f.editing());
        QCOMPARE(f.row(1), QString(",72,17,,,,,,,,"));
    }

    void keysOnASelection() {
        EditingFixture f;
        // A digit fills the available cells; the selection and the current cell stay.
        f.click(1, 4);
        f.click(1, 6, Qt::ShiftModifier); // columns 4 and 5 available, 6 greyed
        const QPoint current = f.current();
        f.key(Qt::Key_3);
        QCOMPARE(f.row(1), QString(",,,3,3,,,,,,"));
        QVERIFY(!f.editor()->isVisible());
        QCOMPARE(f.current(), current);
        QCOMPARE(f.grid()->selectedItems().size(), 3);
        // A key that is no digit writes its own character (Left is code 37,
        // "%"); Escape, a control character, writes nothing.
        f.key(Qt::Key_Left);
        f.key(Qt::Key_Escape);
        QCOMPARE(f.row(1), QString(",,,%,%,,,,,,"));

        // Delete clears every selected cell, greyed ones too; Backspace as well.
        f.setCell(2, 4, "4");
        f.setCell(1, 6, "x");
        f.setCell(3, 4, "9"); // outside the selection
        f.click(1, 4);
        f.click(2, 6, Qt::ShiftModifier);
        f.key(Qt::Key_Delete);
        QCOMPARE(f.row(1) + f.row(2), QString(",,,,,,,,,,") + ",,,,,,,,,,");
        QCOMPARE(f.cell(3, 4), QString("9"));
        f.click(3, 4);
        f.key(Qt::Key_Backspace);
        QCOMPARE(f.cell(3, 4), QString());
        QVERIFY(!f.editor()->isVisible());
    }

    void editorKeepsOnlyCounts() {
        EditingFixture f;
        f.doubleClick(2, 1);
        QVERIFY(f.editing());
        QTest::keyClick(f.editor(), Qt::Key_Minus);
        QCOMPARE(f.editor()->text(), QString()); // a lone sign is not a number
        QApplication::clipboard()->setText("-12");
        QTest::keyClick(f.editor(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(f.editor()->text(), QString("12"));
        QTest::keyClicks(f.editor(), "x");
        QCOMPARE(f.editor()->text(), QString("12"));
        QTest::keyClicks(f.editor(), ".5");
        QCOMPARE(f.cell(2, 1), QString("12.5"));
    }

    // Tab and Enter go to the next cell, over greyed cells to the next row,
    // from the last row back to row 1, skipping a greyed column 1.
    void tabAndEnterMoveOn() {
        EditingFixture f;
        f.doubleClick(1, 2);
        f.type("2", Qt::Key_Tab);
        QCOMPARE(f.current(), QPoint(1, 3));
        QVERIFY(f.editing() && f.editor()->hasFocus());
        f.type("3", Qt::Key_Return);
        f.type("", Qt::Key_Tab);
        QCOMPARE(f.current(), QPoint(1, 5));
        f.type("", Qt::Key_Tab); // column 6 greyed: row 2 starts at column 1
        QCOMPARE(f.current(), QPoint(2, 1));
        QCOMPARE(f.row(1), QString(",2,3,,,,,,,,"));

        f.doubleClick(2, 4);
        f.type("", Qt::Key_Enter); // row 3's column 1 is greyed
        QCOMPARE(f.current(), QPoint(3, 2));
        f.doubleClick(5, 11);
        f.type("1", Qt::Key_Return); // last row, last column: row 1, column 1 greyed
        QCOMPARE(f.current(), QPoint(1, 2));
        QCOMPARE(f.editor()->text(), QString("2"));
        f.doubleClick(4, 3);
        f.type("", Qt::Key_Tab); // column 4 greyed, row 5 starts at column 1
        QCOMPARE(f.current(), QPoint(5, 1));

        // A click elsewhere hides the editor and turns the highlight back on.
        QTest::keyClicks(f.editor(), "4");
        f.click(2, 2);
        QVERIFY(!f.editor()->isVisible() && f.grid()->property("highlight").toBool());
        QCOMPARE(f.row(5), QString("4,,,,,,,,,,1"));
        QCOMPARE(f.cell(2, 2), QString());
    }

    // In a scrolled grid the editor covers the cell as it is shown.
    void editorFollowsAScrolledGrid() {
        CreateWindowFixture f;
        for (int i = 0; i < 40; ++i)
            f.addVote("v" + std::to_string(i) + ".AVL", AvlText("", 4, 0));
        f.open();
        f.grid()->scrollToBottom();
        f.doubleClick(40, 2);
        auto* editor = f.find<QLineEdit>("txtInput");
        const QRect shown = f.grid()->visualItemRect(f.item(40, 2)).translated(f.grid()->viewport()->pos());
        QVERIFY(editor->isVisible() && f.grid()->viewport()->geometry().contains(shown));
        QVERIFY(shown.contains(editor->geometry().center()));
        QTest::keyClicks(editor, "6");
        QCOMPARE(f.cell(40, 2), QString("6"));
    }
};

QTEST_MAIN(FrmCreateEditingTest)
#include "frmCreate_editing_test.moc"
