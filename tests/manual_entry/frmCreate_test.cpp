// The manual data window driven through its real widgets, keys and mouse:
// how its opening ends or shows the votes, its place and layout, the grid's
// keys and the cell editor, and the save button. The rules beneath it (row
// labels, greyed values, the editor's text, the lines written, the names
// refused, each failing write step) have their own tests; here only what the
// window adds. With AVELIN_SCREENSHOT set to a file name, the demo test types
// a few counts and saves the window there as a picture (the README's).
#include <QApplication>
#include <QClipboard>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <cmath>
#include <functional>
#include <memory>

#include "manual_entry/definition_text.h"
#include "manual_entry/frmCreate.h"
#include "manual_entry/frmCreate_units.h"
#include "platform/errors.h"
#include "platform/file_presentation_app.h"
#include "platform/file_system.h"
#include "platform/qt_window_system.h"
#include "startup/mod_main.h"
#include "support/fake_presentation_app.h"
#include "support/fakes.h"
#include "support/temp_folder.h"

using namespace avelin;
using namespace avelin::test;
using enum DefinitionKind;

namespace {

// The program's own windows plus one PowerPoint window.
class DesktopWithPowerPoint : public QtWindowSystem {
  public:
    static constexpr Hwnd kPowerPoint = 900000;
    void enumWindows(const std::function<bool(Hwnd)>& visit) override {
        if (visit(kPowerPoint))
            QtWindowSystem::enumWindows(visit);
    }
    bool isVisible(Hwnd h) override { return h == kPowerPoint || QtWindowSystem::isVisible(h); }
    Hwnd parent(Hwnd h) override { return h == kPowerPoint ? 0 : QtWindowSystem::parent(h); }
    std::string title(Hwnd h, int maxChars) override {
        return h == kPowerPoint ? "Microsoft PowerPoint - [Talk.pptx]" : QtWindowSystem::title(h, maxChars);
    }
    bool isMinimised(Hwnd h) override { return h != kPowerPoint && QtWindowSystem::isMinimised(h); }
    WindowRect rect(Hwnd h) override {
        return h == kPowerPoint ? WindowRect{0, 0, 1025, 768} : QtWindowSystem::rect(h);
    }
};

// A presentation in a temporary folder (or another source), scripted
// dialogs, and the window found by its controls' names.
class Fixture {
  public:
    TempFolder folder;
    LocalFileSystem files;
    FixedClock clock; // 04/12/2026 14:05:09
    FakeProcess process;
    ScriptedDialogs dialogs;
    DesktopWithPowerPoint windows;
    Services services{files, clock, process, dialogs, windows};
    FakePresentationApp app;
    Mod_Main mod;
    std::unique_ptr<frmCreate> window; // destroyed first

    explicit Fixture(PresentationApp* source = nullptr) : mod(services, source ? source : &app) {
        app.presentation = PresentationInfo{folder.path(), "Talk.pptx", {}};
    }

    // One more slide holding a title and a vote shape whose click action
    // names `name`; its definition file lies beside the presentation.
    void addVote(const std::string& name, DefinitionKind kind, int options, int first, int rows = 1) {
        folder.write(name, DefinitionText(kind, 2, options, rows, first));
        app.presentation->slides.push_back(
            SlideInfo{{{"Title 1", ""}, {"VOTE", "C:\\Program Files\\avelin\\VOTER.EXE " + name + ",1"}}});
    }

    // A window that did not end its program is made the active window, so
    // that focus changes happen as on a desktop.
    frmCreate& open() {
        window = std::make_unique<frmCreate>(mod);
        if (!window->ended()) {
            window->activateWindow();
            if (!QTest::qWaitForWindowActive(window.get()))
                qWarning("the manual data window did not become active");
        }
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
    bool greyed(int row, int col) const {
        const QBrush background = item(row, col)->background();
        return background.style() != Qt::NoBrush &&
               background.color() == QApplication::palette().color(QPalette::Button);
    }
    // A row's eleven cells, joined by commas.
    QString row(int r) const {
        QStringList cells;
        for (int col = 1; col <= 11; ++col)
            cells << cell(r, col);
        return cells.join(',');
    }

    void key(Qt::Key k, Qt::KeyboardModifiers m = {}) const { QTest::keyClick(grid(), k, m); }
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

} // namespace

class FrmCreateTest : public QObject {
    Q_OBJECT

  private slots:
    // Each way the opening ends the program: after its message, or silently.
    void openingEndsWithoutAPresentationOrVotes() {
        const struct {
            std::function<void(Fixture&)> setUp;
            std::string message; // "" : none; else a part of it
            int style;
        } cases[] = {
            {[](Fixture& f) { f.app.presentation.reset(); },
             "There are no presentations open.  Please open a voting presentation "
             "before attempting to create manual data.",
             48},
            {[](Fixture& f) { f.app.presentation->path.clear(); }, "", 0}, // never saved
            {[](Fixture& f) {
                 f.app.failure = [] { throw FormatError("/t/Broken.pptx", 0, "not a zip archive"); };
             },
             "/t/Broken.pptx: not a zip archive", 16},
            {[](Fixture& f) {
                 f.addVote("short.AVL", Standard, 4, 1);
                 f.folder.write("short.AVL", "2,4,1,0\r\n"); // truncated
             },
             "short.AVL", 16},
            // The one vote shape names a missing file; a slide without votes.
            {[](Fixture& f) {
                 f.app.presentation->slides = {{{{"vote", "C:\\v.exe gone.AVL,1"}}}, {}};
             },
             "The current presentation does not contain any votes.", 64},
        };
        for (const auto& c : cases) {
            Fixture f;
            c.setUp(f);
            frmCreate& w = f.open();
            QCOMPARE(f.dialogs.messages.size(), c.message.empty() ? 0u : 1u);
            if (!c.message.empty()) {
                QVERIFY2(f.dialogs.messages[0].text.find(c.message) != std::string::npos,
                         f.dialogs.messages[0].text.c_str());
                QCOMPARE(f.dialogs.messages[0].style, c.style);
            }
            QCOMPARE(f.process.endCalls, 1);
            QVERIFY(!w.isVisible());
            QVERIFY(QApplication::overrideCursor() == nullptr);
        }
    }

    // While loading, the window is shown disabled with the busy pointer and
    // the caption gains a dot per slide. Then each answer row shows its label
    // in the kind's colour and greys the values its vote does not offer.
    void loadingThenOneRowPerAnswerRow() {
        Votes f;
        QStringList captions;
        bool loadingState = true;
        f.process.onEvents = [&](int) {
            QWidget* w = nullptr;
            for (QWidget* top : QApplication::topLevelWidgets())
                if (top->objectName() == "frmCreate")
                    w = top;
            QVERIFY(w);
            captions << w->findChild<QLabel*>("lblLoading")->text();
            loadingState = loadingState && w->isVisible() && !w->isEnabled() &&
                           !w->findChild<QWidget*>("grdVotes")->isVisible() &&
                           w->findChild<QLabel*>("imgLoading")->isVisible() &&
                           QApplication::overrideCursor() &&
                           QApplication::overrideCursor()->shape() == Qt::WaitCursor;
        };
        frmCreate& w = f.open();
        QCOMPARE(captions, QStringList({"Please Wait....", "Please Wait", "Please Wait.", "Please Wait..",
                                        "Please Wait..."}));
        QVERIFY(loadingState);
        QCOMPARE(f.process.endCalls, 0);
        QVERIFY(w.isVisible() && w.isEnabled() && f.grid()->isVisible());
        QVERIFY(!f.find<QLabel>("lblLoading")->isVisible() && !f.find<QLabel>("imgLoading")->isVisible());
        QVERIFY(QApplication::overrideCursor() == nullptr);

        QStringList rows; // label, colour (0x00BBGGRR as #RRGGBB), greyed columns 1 to 11
        for (int r = 1; r <= f.grid()->rowCount(); ++r) {
            const QTableWidgetItem* label = f.grid()->verticalHeaderItem(r - 1);
            rows << label->text() + " " + label->foreground().color().name() + " ";
            for (int n = 1; n <= 11; ++n)
                rows.last() += f.greyed(r, n) ? 'x' : '.';
        }
        QCOMPARE(rows,
                 QStringList({"one.AVL #800080 x....xxxxxx", "zero.AVL #800080 ....xxxxxxx",
                              "s.AVL   [Iteration 1] #0000c0 x..xxxxxxxx",
                              "s.AVL   [Iteration 2] #0000c0 x..xxxxxxxx", "all.AVL #800080 ..........."}));
        QCOMPARE(f.current(), QPoint(1, 1));
    }

    // Centred over PowerPoint's window, halves to the even neighbour. Outer
    // width W, height H: grid W - 4 px - 1900 twips by H - 28 px, the key
    // frame at W - 1575 - 200 twips, none below 0. Closing ends the program.
    void placeLayoutAndClose() {
        Votes f;
        frmCreate& w = f.open();
        const QRect placed = w.frameGeometry();
        QCOMPARE(placed.left(), static_cast<int>(std::nearbyint((1025.0 - placed.width()) / 2)));
        QCOMPARE(placed.top(), static_cast<int>(std::nearbyint((768.0 - placed.height()) / 2)));

        const double dpi = w.logicalDpiX();
        auto* key = f.find<QGroupBox>("fraKey");
        w.resize(900, 500);
        const QSize frame = w.frameGeometry().size() - w.size();
        const double outerWidth = (900 + frame.width()) * 1440.0 / dpi;
        QCOMPARE(f.grid()->geometry(), QRect(0, 0, TwipsToPixels(outerWidth - 4 * 1440.0 / dpi - 1900, dpi),
                                             500 + frame.height() - 28));
        QCOMPARE(key->x(), TwipsToPixels(outerWidth - 1775, dpi));
        QCOMPARE(key->y(), TwipsToPixels(120, dpi));
        w.resize(100, 20);
        QCOMPARE(f.grid()->geometry(), QRect(0, 0, 0, 0));
        QCOMPARE(key->x(), 0);

        QCOMPARE(f.process.endCalls, 0);
        QVERIFY(w.close());
        QCOMPARE(f.process.endCalls, 1);
    }

    // The demo presentation, read from its .pptx file as in file mode.
    void demoPresentationOpens() {
        LocalFileSystem files;
        FilePresentationApp demo(files, AVELIN_SOURCE_DIR "/examples/presentation/Demo Talk.pptx", "");
        Fixture f(&demo);
        frmCreate& w = f.open();
        QVERIFY(f.dialogs.messages.empty());
        QCOMPARE(w.PresentationFolder, std::string(AVELIN_SOURCE_DIR "/examples/presentation"));
        // Every row of the demo (its votes are listed by avelin-rec's test) fits the first size.
        QCOMPARE(f.grid()->rowCount(), 10);
        QVERIFY(f.grid()->verticalHeader()->length() <= f.grid()->viewport()->height());

        const QByteArray screenshot = qgetenv("AVELIN_SCREENSHOT");
        if (screenshot.isEmpty())
            return;
        const std::pair<QPoint, QStringList> typed[] = {
            {{1, 2}, {"12", "7", "3", "9"}}, {{2, 2}, {"18", "2", "1"}},
            {{3, 2}, {"4", "15"}},           {{5, 2}, {"1", "3", "6", "8", "5"}},
            {{6, 2}, {"2", "4", "9", "7"}},  {{9, 1}, {"6", "3", "11", "2", "4"}},
            {{10, 1}, {"5", "1", "4"}}};
        for (const auto& [cell, counts] : typed) {
            f.doubleClick(cell.x(), cell.y());
            for (const QString& count : counts) {
                QTest::keyClicks(f.editor(), count);
                if (&count != &counts.last())
                    QTest::keyClick(f.editor(), Qt::Key_Tab);
            }
        }
        QTest::qWait(50);
        QVERIFY(w.grab().save(QString::fromLocal8Bit(screenshot), "PNG"));
    }

    void keysOnOneCell() {
        Votes f;
        f.open();
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

        // A digit on a cell with a count appends to it, the caret at the end.
        f.setCell(1, 3, "1");
        f.click(1, 3);
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
        f.doubleClick(1, 6);
        QVERIFY(!f.editing());
        QCOMPARE(f.row(1), QString(",72,17,,,,,,,,"));

        // The editor undoes what is no count and drops a pasted sign; the
        // cell follows every change it keeps.
        f.doubleClick(2, 1);
        QTest::keyClick(f.editor(), Qt::Key_Minus);
        QCOMPARE(f.editor()->text(), QString());
        QApplication::clipboard()->setText("-12");
        QTest::keyClick(f.editor(), Qt::Key_V, Qt::ControlModifier);
        QTest::keyClicks(f.editor(), "x.5");
        QCOMPARE(f.editor()->text(), QString("12.5"));
        QCOMPARE(f.cell(2, 1), QString("12.5"));
    }

    void keysOnASelection() {
        Votes f;
        f.open();
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

    // Tab and Enter keep what was typed and open the editor on the next cell:
    // over a greyed cell to the next row, from the last row back to row 1,
    // skipping a greyed column 1 of the new row.
    void tabAndEnterMoveOn() {
        Votes f;
        f.open();
        const struct {
            QPoint from;
            Qt::Key key;
            QPoint to;
        } moves[] = {{{1, 2}, Qt::Key_Tab, {1, 3}},
                     {{1, 5}, Qt::Key_Tab, {2, 1}},
                     {{2, 4}, Qt::Key_Enter, {3, 2}},
                     {{4, 3}, Qt::Key_Tab, {5, 1}},
                     {{5, 11}, Qt::Key_Return, {1, 2}}};
        for (const auto& m : moves) {
            f.doubleClick(m.from.x(), m.from.y());
            QTest::keyClicks(f.editor(), "1");
            QTest::keyClick(f.editor(), m.key);
            QCOMPARE(f.cell(m.from.x(), m.from.y()), QString("1"));
            QCOMPARE(f.current(), m.to);
            QVERIFY(f.editing() && f.editor()->hasFocus());
        }
        QCOMPARE(f.editor()->text(), QString("1")); // the editor holds the new cell's count

        // A click elsewhere hides the editor and turns the highlight back on.
        f.click(2, 2);
        QVERIFY(!f.editor()->isVisible() && f.grid()->property("highlight").toBool());
        QCOMPARE(f.cell(2, 2), QString());
    }

    // In a scrolled grid the editor covers the cell as it is shown.
    void editorFollowsAScrolledGrid() {
        Fixture f;
        for (int i = 0; i < 40; ++i)
            f.addVote("v" + std::to_string(i) + ".AVL", Standard, 4, 0);
        f.open();
        f.grid()->scrollToBottom();
        f.doubleClick(40, 2);
        const QRect shown = f.grid()->visualItemRect(f.item(40, 2)).translated(f.grid()->viewport()->pos());
        QVERIFY(f.editor()->isVisible() && f.grid()->viewport()->geometry().contains(shown));
        QVERIFY(shown.contains(f.editor()->geometry().center()));
        QTest::keyClicks(f.editor(), "6");
        QCOMPARE(f.cell(40, 2), QString("6"));
    }

    // Each count reaches the line of its answer row and value: counts typed
    // through the editor, a series' second iteration, the values 0 and 10.
    void writesTheTypedCounts() {
        Votes f;
        f.open();
        f.doubleClick(1, 2);
        for (const char* count : {"2", "1", "2"}) {
            QTest::keyClicks(f.editor(), count);
            QTest::keyClick(f.editor(), Qt::Key_Tab);
        }
        f.setCell(4, 3, "2");
        f.setCell(5, 1, "1");
        f.setCell(5, 11, "2");
        f.dialogs.nextFileNames = {f.target()};
        f.save();
        QVERIFY(f.dialogs.messages.empty());
        const std::string at = "\"" + f.folder.path() + "\\";
        QCOMPARE(f.saved(), at + "one.AVL\",\"4\",\"5\",\"1;1;2;3;3;\",\"14:05:00\",\"04\\12\\2026\"\r\n" +
                                at + "s.AVL;2\",\"2\",\"2\",\"2;2;\",\"14:05:02\",\"04\\12\\2026\"\r\n" + at +
                                "all.AVL\",\"11\",\"3\",\"0;A;A;\",\"14:05:03\",\"04\\12\\2026\"\r\n");
        // The grid is back, its current row the last answer row.
        QVERIFY(f.grid()->isVisible());
        QCOMPARE(f.current().x(), 5);
    }

    // The dialog offers "Manual Votes.rec" in the presentation's folder;
    // cancelled, nothing is written. Only Yes replaces an existing file; No
    // brings the dialog back on the name chosen, Cancel stops.
    void saveDialogAndOverwriteQuestion() {
        Votes f;
        f.open();
        f.folder.write("Manual Votes.rec", "old results\r\n");
        f.dialogs.nextFileNames = {std::nullopt, f.target(), std::nullopt, f.target(), f.target()};
        f.dialogs.nextAnswers = {mb::No, mb::Cancel, mb::Yes};
        f.save(); // cancelled at once
        QCOMPARE(f.dialogs.saveRequests[0].fileName, std::string("Manual Votes.rec"));
        QCOMPARE(f.dialogs.saveRequests[0].initialFolder, f.folder.path());
        QCOMPARE(f.dialogs.saveRequests[0].filter, std::string("avelin Results Files (*.rec)|*.rec"));
        QVERIFY(f.dialogs.messages.empty());
        f.save(); // No, then the dialog again, cancelled
        QCOMPARE(f.dialogs.saveRequests.size(), 3u);
        QCOMPARE(f.dialogs.saveRequests[2].fileName, f.target());
        QCOMPARE(f.dialogs.messages[0].text,
                 "The file " + f.target() + " already exists.\r\n\r\nDo you wish to overwrite it?");
        QCOMPARE(f.dialogs.messages[0].style, 35); // Yes, No and Cancel with a question mark
        QCOMPARE(f.dialogs.messages[0].title, std::string("Confirm File Replace"));
        f.save(); // Cancel at the question
        QCOMPARE(f.dialogs.saveRequests.size(), 4u);
        QCOMPARE(f.saved(), std::string("old results\r\n"));
        f.save(); // Yes: the empty grid makes an empty file
        QCOMPARE(f.dialogs.messages.size(), 3u);
        QCOMPARE(f.saved(), std::string());
        QCOMPARE(f.process.endCalls, 0);
    }

    // A name Windows cannot create: the reason, then the dialog again holding
    // the name. A write that fails (over the earlier file, or onto a folder
    // of the chosen name) names the file and why; what was there stays, no
    // temporary file is left, and the counts stay for another try.
    void refusedNamesAndFailedWritesLeaveTheFilesAlone() {
        Votes f;
        f.open();
        f.setCell(1, 2, "3");
        f.folder.write("Manual Votes.rec", "earlier results\r\n");
        f.folder.write("Taken.rec/inside", "kept");
        const std::string before = f.folder.listing();
        f.files.faults.fail(FileStep::Rename, "Manual Votes.rec", "No space left on device");
        f.dialogs.nextFileNames = {f.folder.at("con.rec"), f.target(), f.folder.at("Taken.rec")};
        f.dialogs.nextAnswers = {mb::Ok, mb::Yes};
        f.save();                                // refused, then the earlier file
        f.save();                                // the folder
        QCOMPARE(f.dialogs.messages.size(), 4u); // refused, the overwrite question, two failures
        QCOMPARE(f.dialogs.messages[0].text,
                 "The file " + f.folder.at("con.rec") +
                     " cannot be saved.\r\n\r\nCON is a device name Windows reserves");
        QCOMPARE(f.dialogs.messages[0].style, mb::OkOnly + mb::Exclamation);
        QCOMPARE(f.dialogs.messages[0].title, std::string("avelin Create Manual Data"));
        QCOMPARE(f.dialogs.saveRequests[1].fileName, f.folder.at("con.rec"));
        const std::string failed = " could not be saved.\r\n\r\n";
        QCOMPARE(f.dialogs.messages[2].text, "The file " + f.target() + failed + "No space left on device");
        QCOMPARE(f.dialogs.messages[2].style, mb::OkOnly + mb::Critical);
        QVERIFY(f.dialogs.messages[3].text.starts_with("The file " + f.folder.at("Taken.rec") + failed));
        QCOMPARE(f.saved(), std::string("earlier results\r\n"));
        QCOMPARE(f.folder.read("Taken.rec/inside"), std::string("kept"));
        QCOMPARE(f.folder.listing(), before);
        QVERIFY(f.grid()->isVisible());

        f.files.faults = FileFaults();
        f.dialogs.nextFileNames = {f.target()};
        f.dialogs.nextAnswers = {mb::Yes};
        f.save();
        QVERIFY(f.saved().find("\"1;1;1;\"") != std::string::npos);
    }
};

QTEST_MAIN(FrmCreateTest)
#include "frmCreate_test.moc"
