// The merge window's output name from the save dialog and its merge button:
// the overwrite question, a merge of what the lists hold, and the end after
// it. (Failed merges are covered with the faults.)
#include "avlmerge_harness.h"
#include "merge/merge_run.h"

using namespace avelin;
using namespace avelin::test;

class AvlmergeMergeTest : public QObject {
    Q_OBJECT

  private slots:
    // The dialog opens in the output folder on the name; cancelled, nothing
    // changes. A comma is a character Windows file names hold: a file
    // "Mon,North.rec" keeps its name as its group, and an output name picked
    // in the save dialog with a comma merges.
    void outputNameOverwriteQuestionMergeAndTheEnd() {
        MergeHarness h;
        h.writeMeetingFile("a.rec");
        h.writeMeetingFile("Mon,North.rec", 3);
        h.root.write("out/Votes, all.rec", "old");
        QVERIFY(h.open());
        h.select({"Mon,North", "a"});
        QCOMPARE(h.texts("lst_groupnames"), QStringList({"a", "Mon,North"}));
        h.dialogs.nextFileNames = {std::nullopt, Join(h.root.at("out"), "Votes, all.rec")};
        h.click("cmd_obrowse");
        QCOMPARE(h.dialogs.saveRequests[0].initialFolder + "|" + h.dialogs.saveRequests[0].fileName,
                 h.talks() + "|merged votes.rec");
        QCOMPARE(h.box("txt_ofile")->text() + h.label("lblOutputDirectory")->text(),
                 "merged votes.rec" + QString::fromStdString(h.talks()));
        h.click("cmd_obrowse");
        QCOMPARE(h.box("txt_ofile")->text() + h.label("lblOutputDirectory")->text(),
                 "Votes, all.rec" + QString::fromStdString(h.root.at("out")));
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
                  {"a", "Mon,North"},
                  "Votes, all.rec",
                  direct.path()},
                 h.files, h.clock);
        QCOMPARE(Listing(h.root.at("out")),
                 std::string("MergeInfo.avl\nMon,North.grp\nVotes, all.rec\na.grp\n"));
        for (const char* name : {"Votes, all.rec", "a.grp", "Mon,North.grp", "MergeInfo.avl"})
            QVERIFY2(h.root.read(std::string("out/") + name) == direct.read(name), name);
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
