// The manual data window on the demo presentation, read from its .pptx file
// as in file mode. With AVELIN_SCREENSHOT set to a file name, a few counts are
// typed and the window is saved there as a picture (the README's screenshot).
#include <QHeaderView>
#include <QLineEdit>
#include <QTest>

#include "frmCreate_fixture.h"
#include "platform/file_presentation_app.h"

using namespace avelin;

class FrmCreateDemoTest : public QObject {
    Q_OBJECT

  private slots:
    void demoPresentationOpens() {
        test::CreateWindowFixture f;
        FilePresentationApp app(f.files, AVELIN_SOURCE_DIR "/examples/presentation/Demo Talk.pptx", "");
        Mod_Main mod(f.services, &app);
        frmCreate w(mod);
        QVERIFY(f.dialogs.messages.empty());
        QCOMPARE(f.process.endCalls, 0);
        QCOMPARE(w.PresentationFolder, std::string(AVELIN_SOURCE_DIR "/examples/presentation"));
        // Every row of the demo (its votes are listed by avelin-rec's test) fits the first size.
        auto* grid = w.findChild<QTableWidget*>("grdVotes");
        QCOMPARE(grid->rowCount(), 10);
        QVERIFY(grid->verticalHeader()->length() <= grid->viewport()->height());

        const QByteArray screenshot = qgetenv("AVELIN_SCREENSHOT");
        if (screenshot.isEmpty())
            return;
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        const std::pair<QPoint, QStringList> typed[] = {
            {{1, 2}, {"12", "7", "3", "9"}}, {{2, 2}, {"18", "2", "1"}},
            {{3, 2}, {"4", "15"}},           {{5, 2}, {"1", "3", "6", "8", "5"}},
            {{6, 2}, {"2", "4", "9", "7"}},  {{9, 1}, {"6", "3", "11", "2", "4"}},
            {{10, 1}, {"5", "1", "4"}}};
        for (const auto& [cell, counts] : typed) {
            const QPoint at = grid->visualItemRect(grid->item(cell.x() - 1, cell.y() - 1)).center();
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, at);
            for (const QString& count : counts) {
                QTest::keyClicks(w.findChild<QLineEdit*>("txtInput"), count);
                if (&count != &counts.last())
                    QTest::keyClick(w.findChild<QLineEdit*>("txtInput"), Qt::Key_Tab);
            }
        }
        QTest::qWait(50);
        QVERIFY(w.grab().save(QString::fromLocal8Bit(screenshot), "PNG"));
    }
};

QTEST_MAIN(FrmCreateDemoTest)
#include "frmCreate_demo_test.moc"
