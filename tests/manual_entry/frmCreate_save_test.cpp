// Saving the manual data window's counts: the dialog, the overwrite question
// and the bytes written. (Failed writes are covered with the file faults.)
#include <QPushButton>
#include <QTest>

#include "frmCreate_fixture.h"

using namespace avelin;
using avelin::test::AvlText;
using avelin::test::CreateWindowFixture;

namespace {

// vote1.AVL: values 1 to 4; s.AVL: a series of three iterations, values 1 to
// 3; ten.AVL: values 0 to 10.
struct SaveFixture : CreateWindowFixture {
    SaveFixture() {
        addVote("vote1.AVL", AvlText("", 4, 1));
        addVote("s.AVL", AvlText("SERIES", 3, 1, 3));
        addVote("ten.AVL", AvlText("", 11, 0));
        open();
    }
    void save() const { QTest::mouseClick(find<QPushButton>("cmdSave"), Qt::LeftButton); }
    std::string target() const { return folder.at("Manual Votes.rec"); }
};

} // namespace

class FrmCreateSaveTest : public QObject {
    Q_OBJECT

  private slots:
    void cancelledDialogWritesNothingAndAnEmptyGridAnEmptyFile() {
        SaveFixture f;
        f.dialogs.nextFileNames = {std::nullopt};
        f.save();
        QCOMPARE(f.dialogs.saveRequests.size(), 1u);
        QCOMPARE(f.dialogs.saveRequests[0].fileName, std::string("Manual Votes.rec"));
        QCOMPARE(f.dialogs.saveRequests[0].initialFolder, f.folder.path());
        QVERIFY(f.dialogs.messages.empty());
        QVERIFY(!f.folder.exists("Manual Votes.rec"));

        f.dialogs.nextFileNames = {f.target()};
        f.save();
        QVERIFY(f.folder.exists("Manual Votes.rec"));
        QCOMPARE(f.folder.read("Manual Votes.rec"), std::string());
        QCOMPARE(f.process.endCalls, 0);
    }

    // Counts typed through the grid become one line per answer row that has
    // responses; a series shares one time text, fractions are cut, 10 is "A".
    void writesTheTypedCounts() {
        SaveFixture f;
        f.doubleClick(1, 2);
        for (const char* count : {"2", "1", "2"}) {
            QTest::keyClicks(f.find<QWidget>("txtInput"), count);
            QTest::keyClick(f.find<QWidget>("txtInput"), Qt::Key_Tab);
        }
        f.setCell(2, 2, "1");
        f.setCell(4, 3, "2.7");
        f.setCell(4, 4, "0.5");
        f.setCell(5, 1, "1");
        f.setCell(5, 11, "2");
        f.dialogs.nextFileNames = {f.target()};
        f.save();
        QVERIFY(f.dialogs.messages.empty());
        const std::string at = "\"" + f.folder.path() + "\\";
        QCOMPARE(f.folder.read("Manual Votes.rec"),
                 at + "vote1.AVL\",\"4\",\"5\",\"1;1;2;3;3;\",\"14:05:00\",\"04\\12\\2026\"\r\n" + at +
                     "s.AVL;1\",\"3\",\"1\",\"1;\",\"14:05:01\",\"04\\12\\2026\"\r\n" + at +
                     "s.AVL;3\",\"3\",\"2\",\"2;2;\",\"14:05:01\",\"04\\12\\2026\"\r\n" + at +
                     "ten.AVL\",\"11\",\"3\",\"0;A;A;\",\"14:05:02\",\"04\\12\\2026\"\r\n");
        // The grid is back, its current row the last answer row.
        QVERIFY(f.grid()->isVisible());
        QCOMPARE(f.grid()->currentRow() + 1, 5);
        QCOMPARE(f.cell(1, 3), QString("1"));
    }

    void existingFileIsReplacedOnlyAfterYes() {
        SaveFixture f;
        f.setCell(1, 2, "1");
        f.folder.write("Manual Votes.rec", "old results\r\n");

        // No, then the dialog again, cancelled.
        f.dialogs.nextFileNames = {f.target(), std::nullopt};
        f.dialogs.nextAnswers = {mb::No};
        f.save();
        QCOMPARE(f.dialogs.saveRequests.size(), 2u);
        QCOMPARE(f.dialogs.saveRequests[1].fileName, f.target());
        QCOMPARE(f.dialogs.messages.size(), 1u);
        QCOMPARE(f.dialogs.messages[0].text,
                 "The file " + f.target() + " already exists.\r\n\r\nDo you wish to overwrite it?");
        QCOMPARE(f.dialogs.messages[0].style, 35);
        QCOMPARE(f.dialogs.messages[0].title, std::string("Confirm File Replace"));
        QCOMPARE(f.folder.read("Manual Votes.rec"), std::string("old results\r\n"));

        // Cancel at the question.
        f.dialogs.nextFileNames = {f.target()};
        f.dialogs.nextAnswers = {mb::Cancel};
        f.save();
        QCOMPARE(f.dialogs.saveRequests.size(), 3u);
        QCOMPARE(f.folder.read("Manual Votes.rec"), std::string("old results\r\n"));

        f.dialogs.nextFileNames = {f.target()};
        f.dialogs.nextAnswers = {mb::Yes};
        f.save();
        QVERIFY(f.folder.read("Manual Votes.rec").find("vote1.AVL\",\"4\",\"1\",\"1;\"") !=
                std::string::npos);
        QCOMPARE(f.folder.listing(), std::string("Manual Votes.rec\ns.AVL\nten.AVL\nvote1.AVL\n"));
    }
};

QTEST_MAIN(FrmCreateSaveTest)
#include "frmCreate_save_test.moc"
