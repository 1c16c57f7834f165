// The manual data window driven through its real widgets, keys and mouse.
// The rules beneath it (row labels, greyed values, the editor's text, the
// lines written, the names refused) have their own tests; here only what the
// window adds.
#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QTest>
#include <QWheelEvent>
#include <functional>
#include <memory>

#include "manual_entry/definition_text.h"
#include "manual_entry/frmCreate.h"
#include "platform/errors.h"
#include "platform/file_system.h"
#include "startup/mod_main.h"
#include "support/fake_presentation_app.h"
#include "support/fake_window_system.h"
#include "support/drawn_letters.h"
#include "support/fakes.h"
#include "support/temp_folder.h"

using namespace avelin;
using namespace avelin::test;
using enum DefinitionKind;

namespace {

// The manual data window while its constructor still runs.
QWidget* LoadingWindow() {
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->objectName() == "frmCreate")
            return top;
    return nullptr;
}

// How a widget is drawn: the saturation of its most colourful pixel and the
// lightness of its darkest one.
std::pair<int, int> Ink(QWidget* w) {
    const QImage image = w->grab().toImage();
    int saturation = 0, darkest = 255;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            saturation = std::max(saturation, image.pixelColor(x, y).hslSaturation());
            darkest = std::min(darkest, image.pixelColor(x, y).lightness());
        }
    return {saturation, darkest};
}

// A presentation in a temporary folder (or another source), scripted
// dialogs, and the window found by its controls' names.
class Fixture {
  public:
    TempFolder folder;
    LocalFileSystem files;
    FixedClock clock; // 04/12/2026 14:05:09
    FakeProcess process;
    ScriptedDialogs dialogs;
    FakeWindowSystem windows;
    Services services{files, clock, process, dialogs, windows};
    FakePresentationApp app;
    Mod_Main mod;
    std::unique_ptr<frmCreate> window; // destroyed first

    explicit Fixture(PresentationApp* source = nullptr) : mod(services, source ? source : &app) {
        app.presentation = PresentationInfo{folder.path(), "Talk.pptx", {}};
        // Shown while it loads, the window becomes the active one, as on a desktop.
        process.onEvents = [](int calls) {
            if (calls == 1 && LoadingWindow()) {
                LoadingWindow()->activateWindow();
                QVERIFY(QTest::qWaitForWindowActive(LoadingWindow()));
            }
        };
    }

    // One more slide holding a title and a vote shape whose click action
    // names `name`; its definition file lies beside the presentation.
    void addVote(const std::string& name, DefinitionKind kind, int options, int first, int rows = 1) {
        folder.write(name, DefinitionText(kind, 2, options, rows, first));
        app.presentation->slides.push_back(
            SlideInfo{{{"Title 1", ""}, {"VOTE", "C:\\Program Files\\avelin\\VOTER.EXE " + name + ",1"}}});
    }

    frmCreate& open() {
        window = std::make_unique<frmCreate>(mod);
        if (!window->ended() && !QTest::qWaitForWindowActive(window.get()))
            qWarning("the manual data window did not become active");
        return *window;
    }

    template <class T> T* find(const char* name) const { return window->findChild<T*>(name); }
    QTableWidget* grid() const { return find<QTableWidget>("grdVotes"); }
    QLineEdit* editor() const { return find<QLineEdit>("txtInput"); }
    bool editing() const { return editor()->isVisible() && !grid()->property("highlight").toBool(); }

    // Cells in grid numbers: the table's headers are grid row 0 and column 0.
    QTableWidgetItem* item(int row, int col) const { return grid()->item(row - 1, col - 1); }
    QString cell(int row, int col) const { return item(row, col) ? item(row, col)->text() : QString(); }
    void setCell(int row, int col, const QString& text) const { item(row, col)->setText(text); }
    QPoint current() const { return {grid()->currentRow() + 1, grid()->currentColumn() + 1}; }
    // A row's eleven cells, joined by commas.
    QString row(int r) const {
        QStringList cells;
        for (int col = 1; col <= 11; ++col)
            cells << cell(r, col);
        return cells.join(',');
    }
    // Where a cell is shown, in the window's coordinates; whether the editor covers it.
    QRect shown(int row, int col) const {
        return grid()
            ->visualItemRect(item(row, col))
            .translated(grid()->viewport()->mapTo(window.get(), QPoint()));
    }
    bool covers(int row, int col) const { return shown(row, col).contains(editor()->geometry().center()); }

    void key(Qt::Key k, Qt::KeyboardModifiers m = {}) const { QTest::keyClick(grid(), k, m); }
    // Typed as a user types: into whatever has the focus.
    static void type(const QString& text) { QTest::keyClicks(QApplication::focusWidget(), text); }
    void click(int row, int col, Qt::KeyboardModifiers modifiers = {}) const {
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, modifiers,
                          grid()->visualItemRect(item(row, col)).center());
    }
    // As a mouse does it: press and release, then the second press arrives
    // as the double click.
    void doubleClick(int row, int col) const {
        const QPoint at = grid()->visualItemRect(item(row, col)).center();
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(grid()->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(grid()->viewport(), Qt::LeftButton, {}, at);
    }
    void save() const { QTest::mouseClick(find<QPushButton>("cmdSave"), Qt::LeftButton); }
    std::string target() const { return folder.at("Manual Votes.rec"); }
    std::string saved() const { return folder.read("Manual Votes.rec"); }
};

// Row 1: one.AVL, values 1 to 4 (columns 2 to 5); row 2: zero.AVL, values 0
// to 3 (columns 1 to 4); rows 3 and 4: the series s.AVL, values 1 and 2
// (columns 2 and 3); row 5: all.AVL, values 0 to 10 (every column).
struct Votes : Fixture {
    Votes() {
        addVote("one.AVL", Standard, 4, 1);
        addVote("zero.AVL", Standard, 4, 0);
        addVote("s.AVL", Series, 2, 1, 2);
        addVote("all.AVL", Standard, 11, 0);
    }
};

// What the opening meets; the message shown ("": none, else a part of it)
// and its style.
struct Opening {
    std::function<void(Fixture&)> setUp;
    std::string message;
    int style;
};

} // namespace

Q_DECLARE_METATYPE(Opening)

class FrmCreateTest : public QObject {
    Q_OBJECT

  private slots:
    // Each way the opening ends the program: after its message, or silently.
    void openingEndsWithoutAPresentationOrVotes_data() {
        QTest::addColumn<Opening>("c");
        QTest::newRow("no presentation") << Opening{[](Fixture& f) { f.app.presentation.reset(); },
                                                    "There are no presentations open.  Please open a voting "
                                                    "presentation before attempting to create manual data.",
                                                    48};
        QTest::newRow("never saved") << Opening{[](Fixture& f) { f.app.presentation->path.clear(); }, "", 0};
        QTest::newRow("unreadable") << Opening{
            [](Fixture& f) {
                f.app.failure = [] { throw FormatError("/t/Broken.pptx", 0, "not a zip archive"); };
            },
            "/t/Broken.pptx: not a zip archive", 16};
        QTest::newRow("a truncated definition") << Opening{[](Fixture& f) {
                                                               f.addVote("short.AVL", Standard, 4, 1);
                                                               f.folder.write("short.AVL", "2,4,1,0\r\n");
                                                           },
                                                           "short.AVL", 16};
        // The one vote shape names a missing file; a slide without votes.
        QTest::newRow("no votes") << Opening{
            [](Fixture& f) {
                f.app.presentation->slides = {{{{"vote", "C:\\v.exe gone.AVL,1"}}}, {}};
            },
            "The current presentation does not contain any votes.", 64};
    }

    void openingEndsWithoutAPresentationOrVotes() {
        QFETCH(Opening, c);
        Fixture f;
        c.setUp(f);
        frmCreate& w = f.open();
        const auto& shown = f.dialogs.messages;
        QVERIFY2(c.message.empty()
                     ? shown.empty()
                     : shown.size() == 1 && shown[0].text.find(c.message) != std::string::npos &&
                           shown[0].style == c.style,
                 shown.empty() ? "no message" : shown[0].text.c_str());
        QVERIFY(f.process.endCalls == 1 && !w.isVisible() && QApplication::overrideCursor() == nullptr);
    }

    // While loading, the window is shown disabled with the busy pointer, its
    // caption gaining a dot per slide, caption and picture drawn in their own
    // colours. Then each answer row shows its label in the kind's colour and
    // greys the values its vote does not offer, clearly darker than the
    // others; the grid has the focus, so a count can be typed at once.
    void loadingThenOneRowPerAnswerRow() {
        Votes f;
        QStringList captions;
        bool loadingState = true;
        const auto activate = f.process.onEvents;
        f.process.onEvents = [&](int calls) {
            activate(calls);
            QWidget* w = LoadingWindow();
            auto* caption = w->findChild<QLabel*>("lblLoading");
            auto* picture = w->findChild<QWidget*>("imgLoading");
            captions << caption->text();
            loadingState = loadingState && w->isVisible() && !w->isEnabled() &&
                           !w->findChild<QWidget*>("grdVotes")->isVisible() && picture->isVisible() &&
                           QApplication::overrideCursor() &&
                           QApplication::overrideCursor()->shape() == Qt::WaitCursor &&
                           Ink(picture).first > 200 && Ink(caption).second < 60;
        };
        frmCreate& w = f.open();
        QCOMPARE(captions, QStringList({"Please Wait....", "Please Wait", "Please Wait.", "Please Wait..",
                                        "Please Wait..."}));
        QVERIFY(loadingState);
        QCOMPARE(f.process.endCalls, 0);
        QVERIFY(w.isVisible() && w.isEnabled() && f.grid()->isVisible());
        QVERIFY(!f.find<QLabel>("lblLoading")->isVisible() && !f.find<QWidget>("imgLoading")->isVisible());
        QVERIFY(QApplication::overrideCursor() == nullptr);

        QStringList rows; // label, colour (0x00BBGGRR as #RRGGBB), greyed columns 1 to 11
        for (int r = 1; r <= f.grid()->rowCount(); ++r) {
            const QTableWidgetItem* label = f.grid()->verticalHeaderItem(r - 1);
            QCOMPARE(UndrawnLetters(f.grid()->verticalHeader()->font(), label->text()), QString());
            rows << label->text() + " " + label->foreground().color().name() + " ";
            for (int n = 1; n <= 11; ++n)
                rows.last() += w.isGreyed(r, n) ? 'x' : '.';
        }
        QCOMPARE(rows,
                 QStringList({"one.AVL #800080 x....xxxxxx", "zero.AVL #800080 ....xxxxxxx",
                              "s.AVL   [Iteration 1] #0000c0 x..xxxxxxxx",
                              "s.AVL   [Iteration 2] #0000c0 x..xxxxxxxx", "all.AVL #800080 ..........."}));
        const QImage drawn = f.window->grab().toImage();
        QVERIFY(drawn.pixelColor(f.shown(2, 2).center()).lightness() -
                    drawn.pixelColor(f.shown(2, 6).center()).lightness() >=
                40);

        QCOMPARE(f.current(), QPoint(1, 1));
        QCOMPARE(QApplication::focusWidget(), f.grid());
        for (const QLabel* key : w.findChildren<QLabel*>()) { // whole in whatever font the system gives
            QVERIFY2(!key->isVisible() || key->sizeHint().width() <= key->width(), qPrintable(key->text()));
            QCOMPARE(UndrawnLetters(key->font(), key->text()), QString());
        }
    }

    void keysOnACellAndOnASelection() {
        Votes f;
        f.open();
        f.click(1, 2);
        f.key(Qt::Key_7, Qt::KeypadModifier); // a keypad digit opens the editor over the cell
        QVERIFY(f.editing() && f.editor()->hasFocus() && f.covers(1, 2));
        QTest::keyClick(f.editor(), Qt::Key_2); // typing on adds to the count
        QCOMPARE(f.cell(1, 2), QString("72"));

        // A digit on a cell with a count appends to it, the caret at the end.
        f.setCell(1, 3, "1");
        f.click(1, 3);
        f.key(Qt::Key_7);
        QCOMPARE(f.editor()->text(), QString("17"));
        QCOMPARE(f.editor()->cursorPosition(), 2);

        // Shift or Ctrl alone with a digit does nothing; both together act
        // like the digit alone. Greyed cells take no key and no double click.
        f.click(2, 2);
        f.key(Qt::Key_3, Qt::ShiftModifier);
        f.key(Qt::Key_3, Qt::ControlModifier);
        QVERIFY(!f.editing());
        f.key(Qt::Key_NumberSign, Qt::ControlModifier | Qt::ShiftModifier);
        f.click(1, 1);
        f.key(Qt::Key_7);
        f.doubleClick(1, 6);
        QVERIFY(!f.editing());
        QCOMPARE(f.row(1) + " " + f.row(2), QString(",72,17,,,,,,,, ,3,,,,,,,,,"));

        // On a selection a digit fills the available cells; the selection
        // and the current cell stay.
        f.click(1, 4);
        f.click(1, 6, Qt::ShiftModifier); // columns 4 and 5 available, 6 greyed
        const QPoint current = f.current();
        f.key(Qt::Key_3);
        QCOMPARE(f.row(1), QString(",72,17,3,3,,,,,,"));
        QVERIFY(!f.editor()->isVisible());
        QCOMPARE(f.current(), current);
        QCOMPARE(f.grid()->selectedItems().size(), 3);
        // A key that is no digit writes its own character (Left is code 37,
        // "%"); Escape, a control character, writes nothing.
        f.key(Qt::Key_Left);
        f.key(Qt::Key_Escape);
        QCOMPARE(f.row(1), QString(",72,17,%,%,,,,,,"));

        // Delete clears every selected cell, greyed ones too.
        f.setCell(2, 4, "4");
        f.setCell(1, 6, "x");
        f.setCell(3, 4, "9"); // outside the selection
        f.click(1, 4);
        f.click(2, 6, Qt::ShiftModifier);
        f.key(Qt::Key_Delete);
        QCOMPARE(f.row(1) + " " + f.row(2) + " " + f.row(3),
                 QString(",72,17,,,,,,,, ,3,,,,,,,,, ,,,9,,,,,,,"));
    }

    // Tab and Enter keep what was typed and open the editor on the next cell:
    // over a greyed cell to the next row, from the last row back to row 1,
    // skipping a greyed column 1 of the new row.
    void tabAndEnterMoveOn_data() {
        QTest::addColumn<QPoint>("from");
        QTest::addColumn<int>("key");
        QTest::addColumn<QPoint>("to");
        QTest::newRow("Tab") << QPoint(1, 2) << int(Qt::Key_Tab) << QPoint(1, 3);
        QTest::newRow("Tab over a greyed cell") << QPoint(1, 5) << int(Qt::Key_Tab) << QPoint(2, 1);
        QTest::newRow("Enter past column 1") << QPoint(2, 4) << int(Qt::Key_Enter) << QPoint(3, 2);
        QTest::newRow("Tab to column 1") << QPoint(4, 3) << int(Qt::Key_Tab) << QPoint(5, 1);
        QTest::newRow("Return to row 1") << QPoint(5, 11) << int(Qt::Key_Return) << QPoint(1, 2);
    }

    void tabAndEnterMoveOn() {
        QFETCH(QPoint, from);
        QFETCH(int, key);
        QFETCH(QPoint, to);
        Votes f;
        f.open();
        f.setCell(to.x(), to.y(), "4");
        f.doubleClick(from.x(), from.y());
        QTest::keyClicks(f.editor(), "1");
        QTest::keyClick(f.editor(), Qt::Key(key));
        QCOMPARE(f.cell(from.x(), from.y()), QString("1"));
        QCOMPARE(f.current(), to);
        QVERIFY(f.editing() && f.editor()->hasFocus() && f.covers(to.x(), to.y()));
        QCOMPARE(f.editor()->text(), QString("4")); // the editor holds the new cell's count

        // A click elsewhere hides the editor and turns the highlight back on.
        f.click(2, 2);
        QVERIFY(!f.editor()->isVisible() && f.grid()->property("highlight").toBool());
        QCOMPARE(f.cell(2, 2), QString());
        // Closing ends the program, the counts discarded.
        QVERIFY(f.process.endCalls == 0 && f.window->close());
        QCOMPARE(f.process.endCalls, 1);
    }

    // A count typed as the window opens goes into the first cell. The editor
    // covers its cell as the grid shows it: opened in a scrolled grid, and
    // when the grid scrolls under it; once the cell leaves the view the edit
    // is finished, and a digit brings the cell back into view.
    void editorFollowsTheScrolledGrid() {
        Fixture f;
        for (int i = 0; i < 40; ++i)
            f.addVote("v" + std::to_string(i) + ".AVL", Standard, 4, 0);
        f.open();
        f.type("5");
        QVERIFY(f.editing() && f.covers(1, 1));
        QCOMPARE(f.cell(1, 1), QString("5"));
        QScrollBar* rows = f.grid()->verticalScrollBar();
        rows->setValue(rows->maximum());
        f.doubleClick(40, 2);
        QVERIFY(f.editing() && f.covers(40, 2));

        rows->setValue(0);
        f.doubleClick(6, 2);
        QTest::keyClicks(f.editor(), "6");
        const QPoint at = f.grid()->viewport()->rect().center();
        QWheelEvent wheel(at, f.grid()->viewport()->mapToGlobal(at), {}, {0, -120}, Qt::NoButton, {},
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(f.grid()->viewport(), &wheel);
        QVERIFY(rows->value() > 0);
        QVERIFY(f.editing() && f.covers(6, 2));
        rows->setValue(20);
        QVERIFY(!f.editor()->isVisible() && f.grid()->hasFocus());
        f.type("2");
        QVERIFY(f.editing() && f.covers(6, 2));
        QCOMPARE(f.cell(6, 2), QString("62"));
    }

    // Each count reaches the line of its answer row and value: counts typed
    // through the editor, a series' second iteration, the values 0 and 10.
    // Save pressed by its access key finishes the edit first, and no later
    // key reaches the row the writer leaves current.
    void savingWritesTheTypedCountsAndEndsTheEdit() {
        Votes f;
        f.open();
        f.doubleClick(1, 2);
        QTest::keyClicks(f.editor(), "2\t1\t2");
        f.setCell(4, 3, "2");
        f.setCell(5, 1, "1");
        f.setCell(5, 11, "2");
        f.dialogs.nextFileNames = {f.target()};
        QTest::keyClick(f.editor(), Qt::Key_S, Qt::AltModifier); // the editor is open on (1, 4)
        QTRY_COMPARE(f.dialogs.saveRequests.size(), 1u);
        QVERIFY(f.dialogs.messages.empty());
        const std::string at = "\"" + f.folder.path() + "\\";
        QCOMPARE(f.saved(), at + "one.AVL\",\"4\",\"5\",\"1;1;2;3;3;\",\"14:05:00\",\"04\\12\\2026\"\r\n" +
                                at + "s.AVL;2\",\"2\",\"2\",\"2;2;\",\"14:05:02\",\"04\\12\\2026\"\r\n" + at +
                                "all.AVL\",\"11\",\"3\",\"0;A;A;\",\"14:05:03\",\"04\\12\\2026\"\r\n");
        // The grid is back, its current row the last answer row.
        QVERIFY(f.grid()->isVisible() && !f.editor()->isVisible());
        QCOMPARE(f.current().x(), 5);
        f.type("5");
        QCOMPARE(f.row(1) + " " + f.row(5), QString(",2,1,2,,,,,,, 1,,,,,,,,,,2"));
    }

    // The dialog offers "Manual Votes.rec" in the presentation's folder.
    // Cancelled, nothing is written. Only Yes replaces an existing file; No
    // brings the dialog back on the name chosen, Cancel stops. A name Windows
    // cannot create brings it back after the reason. A failed write names the
    // file and why, and leaves the folder as it was and the counts in the grid.
    void saveDialogQuestionsAndFailures() {
        Votes f;
        f.open();
        f.setCell(1, 2, "3");
        f.folder.write("Manual Votes.rec", "old\r\n");
        const std::string before = f.folder.listing(), con = f.folder.at("con.rec");
        f.files.faults.fail(FileStep::Rename, "Manual Votes.rec", "No space left on device");
        f.dialogs.nextFileNames = {std::nullopt, f.target(), std::nullopt, f.target(),
                                   con,          f.target(), f.target()};
        f.dialogs.nextAnswers = {mb::No, mb::Cancel, mb::Ok, mb::Yes, mb::Ok, mb::Yes};
        for (int i = 0; i < 4; ++i) // cancelled; No, cancelled; Cancel; refused, Yes, failed
            f.save();
        QStringList asked;
        for (const SaveDialogRequest& r : f.dialogs.saveRequests)
            asked << QString::fromStdString(r.fileName);
        const QString name = "Manual Votes.rec", target = QString::fromStdString(f.target());
        QCOMPARE(asked, QStringList({name, name, target, name, name, QString::fromStdString(con)}));
        const SaveDialogRequest& first = f.dialogs.saveRequests[0];
        QCOMPARE(first.initialFolder + "|" + first.filter,
                 f.folder.path() + "|avelin Results Files (*.rec)|*.rec");
        QCOMPARE(f.dialogs.messages.size(), 5u); // two questions, the reason, a question, the failure
        const ShownMessage& question = f.dialogs.messages[0];
        QCOMPARE(question.text,
                 "The file " + f.target() + " already exists.\r\n\r\nDo you wish to overwrite it?");
        QCOMPARE(question.title + " " + std::to_string(question.style),
                 "Confirm File Replace 35"); // Yes No Cancel ?
        QCOMPARE(f.dialogs.messages[2].text,
                 "The file " + con + " cannot be saved.\r\n\r\nCON is a device name Windows reserves");
        QCOMPARE(f.dialogs.messages[4].text,
                 "The file " + f.target() + " could not be saved.\r\n\r\nNo space left on device");
        QCOMPARE(f.dialogs.messages[4].style, mb::OkOnly + mb::Critical);
        QCOMPARE(f.folder.listing(), before);
        QCOMPARE(f.saved(), std::string("old\r\n"));

        f.files.faults = FileFaults();
        f.save();
        QVERIFY(f.saved().find("\"1;1;1;\"") != std::string::npos);
        QCOMPARE(f.process.endCalls, 0);
    }
};

QTEST_MAIN(FrmCreateTest)
#include "frmCreate_test.moc"
