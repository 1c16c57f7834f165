// The manual data window on the demo presentation, read from its .pptx file
// as in file mode. With AVELIN_SCREENSHOT set to a file name, a few counts are
// typed and the window is saved there as a picture (the README's screenshot).
#include <QHeaderView>
#include <QLineEdit>
#include <QPixmap>
#include <QTest>

#include "frmCreate_fixture.h"
#include "platform/file_presentation_app.h"

using namespace avelin;

class FrmCreateDemoTest : public QObject {
    Q_OBJECT

  private slots:
    void demoPresentationOpens() {
        const std::string pptx = AVELIN_SOURCE_DIR "/examples/presentation/Demo Talk.pptx";
        LocalFileSystem files;
        if (!files.fileExists(pptx))
            QSKIP("the demo presentation is not there");
        test::FixedClock clock;
        test::FakeProcess process;
        test::ScriptedDialogs dialogs;
        QtWindowSystem windows;
        Services services{files, clock, process, dialogs, windows};
        FilePresentationApp app(files, pptx, "");
        Mod_Main mod(services, &app);
        frmCreate w(mod);
        QVERIFY(dialogs.messages.empty());
        QCOMPARE(process.endCalls, 0);

        auto* grid = w.findChild<QTableWidget*>("grdVotes");
        QStringList labels;
        for (int r = 0; r < grid->rowCount(); ++r)
            labels << grid->verticalHeaderItem(r)->text();
        QCOMPARE(labels, QStringList({"lunch.AVL", "quiz.AVL   [Iteration 1]", "quiz.AVL   [Iteration 2]",
                                      "quiz.AVL   [Iteration 3]", "rating.AVL   [Item 1]",
                                      "rating.AVL   [Item 2]", "rating.AVL   [Item 3]",
                                      "rating.AVL   [Item 4]", "comments.AVL", "budget.AVL"}));
        QCOMPARE(w.PresentationFolder, std::string(AVELIN_SOURCE_DIR "/examples/presentation"));
        // Every row fits the window's first size.
        QVERIFY(grid->verticalHeader()->length() <= grid->viewport()->height());

        const QByteArray screenshot = qgetenv("AVELIN_SCREENSHOT");
        if (screenshot.isEmpty())
            return;
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        auto typeCounts = [&](int row, int col, const QStringList& counts) {
            const QPoint at = grid->visualItemRect(grid->item(row - 1, col - 1)).center();
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, at);
            auto* editor = w.findChild<QLineEdit*>("txtInput");
            for (int i = 0; i < counts.size(); ++i) {
                QTest::keyClicks(editor, counts[i]);
                if (i + 1 < counts.size())
                    QTest::keyClick(editor, Qt::Key_Tab);
            }
        };
        typeCounts(1, 2, {"12", "7", "3", "9"});
        typeCounts(2, 2, {"18", "2", "1"});
        typeCounts(3, 2, {"4", "15"});
        typeCounts(5, 2, {"1", "3", "6", "8", "5"});
        typeCounts(6, 2, {"2", "4", "9", "7"});
        typeCounts(9, 1, {"6", "3", "11", "2", "4"});
        typeCounts(10, 1, {"5", "1", "4"});
        QTest::qWait(50);
        QVERIFY(w.grab().save(QString::fromLocal8Bit(screenshot), "PNG"));
    }
};

QTEST_MAIN(FrmCreateDemoTest)
#include "frmCreate_demo_test.moc"
