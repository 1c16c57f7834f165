// The merge window when a merge fails: a message that says which file and
// why, a presentation folder left exactly as it was, and a window ready for
// another try. The merge run's own tests cover every fault; here one of each
// kind of error the window shows.
#include <filesystem>

#include "avlmerge_harness.h"

using namespace avelin;
using namespace avelin::test;

namespace {

// north.rec, south.rec and con.rec in the meeting folder; an earlier merge
// left the output and north's group file in the presentation's folder.
struct EarlierMerge : MergeHarness {
    bool openAndSelect(const QStringList& names) {
        for (const char* name : {"north.rec", "south.rec", "con.rec"})
            writeMeetingFile(name);
        root.write("talks/merged votes.rec", "earlier merge");
        root.write("talks/north.grp", "\"MergeInfo.avl\", \"4\"");
        if (!open())
            return false;
        select(names);
        return true;
    }
};

// Presses GO, replacing the earlier merge when asked, and expects the failure
// to name `shown` after `messages` messages in all, with nothing changed.
void ExpectFailure(MergeHarness& h, const std::string& shown, std::size_t messages = 2) {
    const QStringList selected = h.texts("Lst_Files");
    const std::string before = Tree(h.root.path());
    h.dialogs.nextAnswers = {mb::Yes};
    h.click("cmd_go");
    QCOMPARE(h.dialogs.messages.size(), messages);
    const ShownMessage& m = h.dialogs.messages.back();
    QCOMPARE(m.text, "The files were not merged.\r\n" + shown);
    QCOMPARE(m.style, mb::OkOnly + mb::Critical);
    QCOMPARE(m.title, std::string("avelin Merge Voting Data"));
    QCOMPARE(Tree(h.root.path()), before);
    // Ready for another try.
    QCOMPARE(h.button("cmd_go")->text(), QString("GO."));
    QCOMPARE(h.box("txt_ofile")->text(), QString("merged votes.rec"));
    QCOMPARE(h.texts("Lst_Files"), selected);
    QCOMPARE(h.list("lst_temp")->count(), 0);
    QCOMPARE(h.process.endCalls, 0);
}

} // namespace

class AvlmergeFaultsTest : public QObject {
    Q_OBJECT

  private slots:
    void aFailedWriteNamesTheFile() {
        EarlierMerge h;
        QVERIFY(h.openAndSelect({"north", "south"}));
        h.files.faults.fail(FileStep::Rename, "MergeInfo.avl", "No space left on device");
        ExpectFailure(h, Join(h.talks(), "MergeInfo.avl") + ": No space left on device");
    }

    void aFolderInTheOutputsPlaceIsNamedWithoutTheOverwriteQuestion() {
        EarlierMerge h;
        QVERIFY(h.openAndSelect({"north", "south"}));
        std::filesystem::remove(Join(h.talks(), "merged votes.rec"));
        std::filesystem::create_directory(Join(h.talks(), "merged votes.rec"));
        ExpectFailure(h, Join(h.talks(), "merged votes.rec") + ": there is a folder of that name", 1);
    }

    void aMalformedInputNamesTheFileAndTheLine() {
        EarlierMerge h;
        QVERIFY(h.openAndSelect({"north", "south"}));
        h.root.write("addin/dataBank/Monday Meeting/south.rec",
                     MeetingLine("Vote 1.avl", "1;2;") + "\"C:\\Talks\\Vote 2.avl\",4,2\r\n");
        ExpectFailure(h, Join(h.meeting(), "south.rec, line 2: fewer than six fields"));
    }

    // The default group name of a file "con.rec" passes the rename frame
    // unchanged (refusing the name it puts back would trap the focus); the
    // merge refuses it.
    void aDefaultGroupNameNoFileCanHaveIsRefusedByTheMerge() {
        EarlierMerge h;
        QVERIFY(h.openAndSelect({"con", "south"}));
        h.doubleClick("lst_groupnames", "con");
        h.click("cmd_newname_0");
        QVERIFY(!h.control<QGroupBox>("frm_newname")->isVisible());
        ExpectFailure(h, "group name \"con\" cannot name a file: CON is a device name Windows reserves");
    }
};

QTEST_MAIN(AvlmergeFaultsTest)
#include "avlmerge_faults_test.moc"
