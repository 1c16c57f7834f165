// The manual data window's opening: its messages and ends, the loading
// indicator, the row labels, the greyed cells, its place and its layout.
#include <QGroupBox>
#include <QLabel>
#include <QTest>
#include <cmath>
#include <functional>

#include "frmCreate_fixture.h"
#include "manual_entry/frmCreate_units.h"
#include "platform/errors.h"

using namespace avelin;
using avelin::test::AvlText;
using avelin::test::CreateWindowFixture;

class FrmCreateOpeningTest : public QObject {
    Q_OBJECT

  private slots:
    // Each way the opening ends the program: after its message, or silently.
    void openingEndsWithoutAPresentationOrVotes() {
        const struct {
            std::function<void(CreateWindowFixture&)> setUp;
            std::string message; // "" : none; else a part of it
            int style;
        } cases[] = {
            {[](CreateWindowFixture& f) { f.app.presentation.reset(); },
             "There are no presentations open.  Please open a voting presentation before attempting to "
             "create "
             "manual data.",
             48},
            {[](CreateWindowFixture& f) { f.app.presentation->path.clear(); }, "", 0}, // never saved
            {[](CreateWindowFixture& f) {
                 f.app.failure = [] { throw FormatError("/talks/Broken.pptx", 0, "not a zip archive"); };
             },
             "/talks/Broken.pptx: not a zip archive", 16},
            {[](CreateWindowFixture& f) { f.addVote("short.AVL", "2,4,1,0\r\n"); }, "short.AVL", 16},
            // A vote shape naming a missing file, one naming no .AVL file, a slide without votes.
            {[](CreateWindowFixture& f) {
                 f.app.presentation->slides = {{{{"Title 1", ""},
                                                 {"VOTE", "C:\\avelin\\VOTER.EXE gone.AVL,1"},
                                                 {"vote", "C:\\avelin\\VOTER.EXE notes.txt,1"}}},
                                               {{{"Title 1", ""}}}};
             },
             "The current presentation does not contain any votes.", 64},
        };
        for (const auto& c : cases) {
            CreateWindowFixture f;
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

    // One dot per slide, back to "Please Wait" after four; the window is
    // shown disabled with the busy pointer while it loads.
    void loadingShowsItsProgress() {
        CreateWindowFixture f;
        for (int i = 0; i < 7; ++i)
            f.addVote("v" + std::to_string(i) + ".AVL", AvlText("", 4, 1));
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
                                        "Please Wait...", "Please Wait....", "Please Wait", "Please Wait."}));
        QVERIFY(loadingState);
        QCOMPARE(f.process.endCalls, 0);
        QVERIFY(w.isVisible() && w.isEnabled() && f.grid()->isVisible());
        QVERIFY(!f.find<QLabel>("lblLoading")->isVisible() && !f.find<QLabel>("imgLoading")->isVisible());
        QVERIFY(QApplication::overrideCursor() == nullptr);
    }

    // Row labels in the kind's colour, and the greyed columns of each vote.
    void rowsShowTheKindsAndTheValuesOffered() {
        CreateWindowFixture f;
        f.addVote("one.AVL", AvlText("", 4, 1));        // values 1 to 4
        f.addVote("zero.AVL", AvlText("", 4, 0));       // values 0 to 3
        f.addVote("s.AVL", AvlText("SERIES", 2, 1, 2)); // values 1 and 2, two rows
        f.addVote("r.AVL", AvlText("RANK", 11, 0, 1));  // values 0 to 10
        f.addVote("t.AVL", AvlText("TEXT", 2, 1));
        f.open();
        const struct {
            QString label;
            QColor colour; // 0x00BBGGRR: purple, blue, red
            QString greyed;
        } rows[] = {
            {"one.AVL", QColor(0x80, 0, 0x80), "x....xxxxxx"},
            {"zero.AVL", QColor(0x80, 0, 0x80), "....xxxxxxx"},
            {"s.AVL   [Iteration 1]", QColor(0, 0, 0xC0), "x..xxxxxxxx"},
            {"s.AVL   [Iteration 2]", QColor(0, 0, 0xC0), "x..xxxxxxxx"},
            {"r.AVL   [Item 1]", QColor(0xC0, 0, 0), "..........."},
            {"t.AVL", QColor(0x80, 0, 0x80), "x..xxxxxxxx"},
        };
        QCOMPARE(f.grid()->rowCount(), 6);
        for (int r = 1; r <= 6; ++r) {
            const QTableWidgetItem* label = f.grid()->verticalHeaderItem(r - 1);
            QCOMPARE(label->text(), rows[r - 1].label);
            QCOMPARE(label->foreground().color(), rows[r - 1].colour);
            for (int n = 1; n <= 11; ++n)
                QVERIFY2(f.greyed(r, n) == (rows[r - 1].greyed[n - 1] == 'x'), qPrintable(rows[r - 1].label));
        }
        QCOMPARE(f.grid()->currentRow(), 0);
        QCOMPARE(f.grid()->currentColumn(), 0);
    }

    // Centred over PowerPoint's window, halves to the even neighbour. Outer
    // width W, height H: grid W - 4 px - 1900 twips by H - 28 px, the key
    // frame at W - 1575 - 200 twips, none below 0. Closing ends the program.
    void placeLayoutAndClose() {
        CreateWindowFixture f;
        f.addVote("one.AVL", AvlText("", 4, 1));
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
};

QTEST_MAIN(FrmCreateOpeningTest)
#include "frmCreate_opening_test.moc"
