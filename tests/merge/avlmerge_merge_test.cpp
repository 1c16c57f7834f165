// The merge button of the merge window: the overwrite question, a merge of
// what the lists hold, and the end after it. (Failed merges are covered with
// the faults.)
#include "avlmerge_harness.h"
#include "merge/merge_run.h"

using namespace avelin;
using namespace avelin::test;

class AvlmergeMergeTest : public QObject {
    Q_OBJECT

  private slots:
    // A comma is no character a Windows file name lacks: a file
    // "Mon,North.rec" keeps its name as its group, and an output name picked
    // in the save dialog with a comma merges.
    void overwriteQuestionMergeAndTheEnd() {
        MergeHarness h;
        h.writeMeetingFile("a.rec");
        h.writeMeetingFile("Mon,North.rec", 3);
        h.root.write("talks/Votes, all.rec", "old");
        QVERIFY(h.open());
        h.select({"Mon,North", "a"});
        QCOMPARE(h.texts("lst_groupnames"), QStringList({"a", "Mon,North"}));
        h.doubleClick("lst_groupnames", "a");
        h.retype("txt_newname", "Front row");
        QTest::keyClick(h.box("txt_newname"), Qt::Key_Return);
        h.dialogs.nextFileNames = {Join(h.talks(), "Votes, all.rec")};
        h.click("cmd_obrowse");
        const std::string before = Tree(h.root.path());

        h.dialogs.nextAnswers = {mb::No};
        h.click("cmd_go");
        QCOMPARE(h.dialogs.messages.size(), std::size_t(1));
        QCOMPARE(h.dialogs.messages[0].title, std::string("Confrim File Replace"));
        QCOMPARE(h.dialogs.messages[0].text,
                 std::string("The output file, Votes, all.rec, already exists.\r\n"
                             "Do you want to overwrite this file?"));
        QCOMPARE(h.dialogs.messages[0].style, mb::YesNo + mb::Information);
        QCOMPARE(Tree(h.root.path()), before);
        QCOMPARE(h.button("cmd_go")->text(), QString("GO."));

        h.dialogs.nextAnswers = {mb::Yes};
        h.click("cmd_go");
        QCOMPARE(h.dialogs.messages.size(), std::size_t(2));
        QCOMPARE(h.box("txt_ofile")->text(), QString("2 vote files successfully merged."));
        QCOMPARE(h.button("cmd_go")->text(), QString("OK"));
        QCOMPARE(h.texts("lst_temp"), QStringList({"Vote 1.avl", "Vote 2.avl"}));
        // The lists in their order, the group names and the output folder reach
        // the merge: its direct run writes the same files, byte for byte.
        TempFolder direct;
        RunMerge({{Join(h.meeting(), "a"), Join(h.meeting(), "Mon,North")},
                  {"Front row", "Mon,North"},
                  "Votes, all.rec",
                  direct.path()},
                 h.files, h.clock);
        QCOMPARE(Listing(h.talks()), std::string("Front row.grp\nMergeInfo.avl\nMon,North.grp\nMonday "
                                                 "Meeting.ppt\nVotes, all.rec\n"));
        for (const char* name : {"Votes, all.rec", "Front row.grp", "Mon,North.grp", "MergeInfo.avl"})
            QVERIFY2(h.root.read(std::string("talks/") + name) == direct.read(name), name);
        QCOMPARE(h.process.endCalls, 0);

        // Pressed again, it ends the program without writing anything.
        const std::string after = Tree(h.root.path());
        h.click("cmd_go");
        QCOMPARE(h.process.endCalls, 1);
        QCOMPARE(h.dialogs.messages.size(), std::size_t(2));
        QCOMPARE(Tree(h.root.path()), after);
    }
};

QTEST_MAIN(AvlmergeMergeTest)
#include "avlmerge_merge_test.moc"
