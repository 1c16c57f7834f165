// The manual data window's opening: its messages and ends, the loading
// indicator, the row labels, the grid's format, the colour key and the layout.
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <cmath>

#include "frmCreate_fixture.h"
#include "manual_entry/frmCreate_units.h"
#include "platform/errors.h"

using namespace avelin;
using avelin::test::AvlText;
using avelin::test::CreateWindowFixture;

namespace {

QColor bgr(std::uint32_t c) {
    return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF), static_cast<int>(c >> 16));
}

} // namespace

class FrmCreateOpeningTest : public QObject {
    Q_OBJECT

  private slots:
    void noPresentationEndsAfterItsMessage() {
        CreateWindowFixture f;
        f.app.presentation.reset();
        frmCreate& w = f.open();
        QCOMPARE(f.dialogs.messages.size(), 1u);
        QCOMPARE(f.dialogs.messages[0].text,
                 std::string("There are no presentations open.  Please open a voting "
                             "presentation before attempting to create manual data."));
        QCOMPARE(f.dialogs.messages[0].style, 48);
        QCOMPARE(f.dialogs.messages[0].title, std::string("avelin"));
        QCOMPARE(f.process.endCalls, 1);
        QVERIFY(!w.isVisible());
        QVERIFY(!f.mod.CurrentPresentation);
    }

    void unsavedPresentationEndsSilently() {
        CreateWindowFixture f;
        f.app.presentation->path.clear();
        frmCreate& w = f.open();
        QVERIFY(f.dialogs.messages.empty());
        QCOMPARE(f.process.endCalls, 1);
        QVERIFY(!w.isVisible());
        QVERIFY(QApplication::overrideCursor() == nullptr);
    }

    void unreadableFilesAreNamedBeforeTheEnd() {
        CreateWindowFixture f;
        f.app.failure = [] { throw FormatError("/talks/Broken.pptx", 0, "not a zip archive"); };
        f.open();
        QCOMPARE(f.dialogs.messages.size(), 1u);
        QVERIFY(f.dialogs.messages[0].text.find("/talks/Broken.pptx: not a zip archive") !=
                std::string::npos);
        QCOMPARE(f.dialogs.messages[0].style, 16);
        QCOMPARE(f.process.endCalls, 1);

        // A vote definition file that ends too early.
        CreateWindowFixture g;
        g.addVote("short.AVL", "2,4,1,0\r\n");
        frmCreate& w = g.open();
        QCOMPARE(g.dialogs.messages.size(), 1u);
        QVERIFY(g.dialogs.messages[0].text.find(g.folder.at("short.AVL")) != std::string::npos);
        QCOMPARE(g.process.endCalls, 1);
        QVERIFY(!w.isVisible());
        QVERIFY(QApplication::overrideCursor() == nullptr);
    }

    void presentationWithoutVotesHidesAndEnds() {
        CreateWindowFixture f;
        // A vote shape naming a missing definition file, one naming no .AVL
        // file at all, and a slide without votes.
        f.app.presentation->slides.push_back(SlideInfo{{{"Title 1", ""},
                                                        {"VOTE", "C:\\avelin\\VOTER.EXE gone.AVL,1"},
                                                        {"vote", "C:\\avelin\\VOTER.EXE notes.txt,1"}}});
        f.app.presentation->slides.push_back(SlideInfo{{{"Title 1", ""}}});
        frmCreate& w = f.open();
        QCOMPARE(f.dialogs.messages.size(), 1u);
        QCOMPARE(f.dialogs.messages[0].text,
                 std::string("The current presentation does not contain any votes."));
        QCOMPARE(f.dialogs.messages[0].style, 64);
        QCOMPARE(f.dialogs.messages[0].title, std::string("avelin Create Manual Data"));
        QCOMPARE(f.process.endCalls, 1);
        QVERIFY(!w.isVisible());
        QVERIFY(QApplication::overrideCursor() == nullptr);
        QVERIFY(f.mod.CurrentPresentation.has_value());
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
                           !w->findChild<QWidget*>("fraKey")->isVisible() &&
                           w->findChild<QLabel*>("imgLoading")->isVisible() &&
                           QApplication::overrideCursor() &&
                           QApplication::overrideCursor()->shape() == Qt::WaitCursor;
        };
        frmCreate& w = f.open();
        QCOMPARE(captions, QStringList({"Please Wait....", "Please Wait", "Please Wait.", "Please Wait..",
                                        "Please Wait...", "Please Wait....", "Please Wait", "Please Wait."}));
        QVERIFY(loadingState);
        QCOMPARE(f.find<QLabel>("imgLoading")->pixmap().size(), QSize(294, 143));

        QCOMPARE(f.process.endCalls, 0);
        QVERIFY(f.dialogs.messages.empty());
        QVERIFY(w.isVisible() && w.isEnabled());
        QVERIFY(f.grid()->isVisible() && f.find<QWidget>("fraKey")->isVisible());
        QVERIFY(!f.find<QLabel>("lblLoading")->isVisible() && !f.find<QLabel>("imgLoading")->isVisible());
        QVERIFY(!f.find<QLineEdit>("txtInput")->isVisible());
        QVERIFY(QApplication::overrideCursor() == nullptr);
        QCOMPARE(f.mod.CurrentPresentation->slides.size(), 7u);
    }

    void rowLabelsAndKeyShowTheKinds() {
        CreateWindowFixture f;
        f.addVote("plain.AVL", AvlText("", 4, 1));
        f.addVote("s.AVL", AvlText("SERIES", 3, 1, 3));
        f.addVote("r.AVL", AvlText("RANK", 5, 1, 2));
        f.addVote("t.AVL", AvlText("TEXT", 2, 1));
        frmCreate& w = f.open();
        QCOMPARE(w.windowTitle(), QString("avelin Create Manual Data"));

        const QStringList labels{"plain.AVL",
                                 "s.AVL   [Iteration 1]",
                                 "s.AVL   [Iteration 2]",
                                 "s.AVL   [Iteration 3]",
                                 "r.AVL   [Item 1]",
                                 "r.AVL   [Item 2]",
                                 "t.AVL"};
        const std::vector<std::uint32_t> colours{0x800080, 0xC00000, 0xC00000, 0xC00000,
                                                 0x0000C0, 0x0000C0, 0x800080};
        QCOMPARE(f.grid()->rowCount(), labels.size());
        for (int r = 0; r < labels.size(); ++r) {
            const QTableWidgetItem* label = f.grid()->verticalHeaderItem(r);
            QCOMPARE(label->text(), labels[r]);
            QCOMPARE(label->foreground().color(), bgr(colours[static_cast<std::size_t>(r)]));
            QCOMPARE(label->textAlignment() & Qt::AlignHorizontal_Mask, int(Qt::AlignLeft));
        }

        QCOMPARE(f.find<QLabel>("lblKey")->text(), QString("Key:"));
        const QStringList keys{"Standard Vote", "Series Vote", "Rating Scale"};
        const std::uint32_t keyColours[] = {0x800080, 0xC00000, 0x0000C0};
        for (int i = 0; i < 3; ++i) {
            auto* key = f.find<QLabel>(qPrintable(QString("lblKeyVoteType_%1").arg(i)));
            QVERIFY(key && key->parentWidget() == f.find<QGroupBox>("fraKey"));
            QCOMPARE(key->property("index").toInt(), i);
            QCOMPARE(key->text(), keys[i]);
            QCOMPARE(key->palette().color(QPalette::WindowText), bgr(keyColours[i]));
        }
        QCOMPARE(f.find<QPushButton>("cmdSave")->text(), QString("&Save"));
    }

    // Widths, header texts, centred cells, the greyed columns of each kind of
    // vote and the current cell.
    void gridIsFormatted() {
        CreateWindowFixture f;
        f.addVote("one.AVL", AvlText("", 4, 1));        // values 1 to 4
        f.addVote("zero.AVL", AvlText("", 4, 0));       // values 0 to 3
        f.addVote("s.AVL", AvlText("SERIES", 2, 1, 2)); // values 1 and 2, two rows
        f.addVote("all.AVL", AvlText("", 11, 0));       // values 0 to 10
        frmCreate& w = f.open();
        const double dpi = w.logicalDpiX();
        QTableWidget* g = f.grid();
        QCOMPARE(g->pos(), QPoint(0, 0));
        QCOMPARE(g->columnCount(), 11);
        QCOMPARE(g->verticalHeader()->width(), TwipsToPixels(2000, dpi));
        for (int n = 1; n <= 11; ++n) {
            QCOMPARE(g->columnWidth(n - 1), TwipsToPixels(600, dpi));
            QCOMPARE(g->horizontalHeaderItem(n - 1)->text(), QString::number(n - 1));
        }
        const QString pattern[] = {"x....xxxxxx", "....xxxxxxx", "x..xxxxxxxx", "x..xxxxxxxx", "..........."};
        for (int r = 1; r <= 5; ++r)
            for (int n = 1; n <= 11; ++n) {
                QCOMPARE(f.greyed(r, n), pattern[r - 1][n - 1] == 'x');
                QCOMPARE(f.item(r, n)->textAlignment(), int(Qt::AlignCenter));
            }
        QCOMPARE(g->currentRow(), 0);
        QCOMPARE(g->currentColumn(), 0);
    }

    void windowIsCentredOverPowerPoint() {
        CreateWindowFixture f;
        f.addVote("one.AVL", AvlText("", 4, 1));
        frmCreate& w = f.open();
        const QRect frame = w.frameGeometry();
        // Halves go to the even neighbour.
        QCOMPARE(frame.left(), static_cast<int>(std::nearbyint((1025.0 - frame.width()) / 2)));
        QCOMPARE(frame.top(), static_cast<int>(std::nearbyint((768.0 - frame.height()) / 2)));
    }

    // Outer width W, height H: grid W - 4 px - 1900 twips by H - 28 px, the
    // key frame at W - 1575 - 200 twips, none below 0.
    void layoutFollowsTheWindowSize() {
        CreateWindowFixture f;
        f.addVote("one.AVL", AvlText("", 4, 1));
        frmCreate& w = f.open();
        const double dpi = w.logicalDpiX();
        QCOMPARE(w.size(), QSize(TwipsToPixels(10650, dpi), TwipsToPixels(4290, dpi)));
        auto* key = f.find<QGroupBox>("fraKey");
        QCOMPARE(key->size(), QSize(TwipsToPixels(1575, dpi), TwipsToPixels(2055, dpi)));
        QCOMPARE(key->y(), TwipsToPixels(120, dpi));

        // W and H are the outer size, frame included.
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
    }

    void closingEndsTheProgram() {
        CreateWindowFixture f;
        f.addVote("one.AVL", AvlText("", 4, 1));
        frmCreate& w = f.open();
        QCOMPARE(f.process.endCalls, 0);
        QVERIFY(w.close());
        QCOMPARE(f.process.endCalls, 1);
    }
};

QTEST_MAIN(FrmCreateOpeningTest)
#include "frmCreate_opening_test.moc"
