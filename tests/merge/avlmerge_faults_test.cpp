// The merge window when a merge fails: a message that says which file and
// why, a presentation folder left exactly as it was, and a window ready for
// another try. The merge run's own tests cover every fault; here one of each
// kind of error the window shows (a write, an input, a request).
#include <functional>

#include "avlmerge_harness.h"

using namespace avelin;
using namespace avelin::test;

// Sets up the failure on a harness with the files selected; returns the
// reason the message must give.
using Cause = std::function<std::string(MergeHarness&)>;
Q_DECLARE_METATYPE(Cause)

class AvlmergeFaultsTest : public QObject {
    Q_OBJECT

  private slots:
    void eachFailureIsNamedAndChangesNothing_data() {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<Cause>("cause");
        QTest::newRow("a write") << QStringList{"north", "south"} << Cause([](MergeHarness& h) {
            h.files.faults.fail(FileStep::Rename, "MergeInfo.avl", "No space left on device");
            return Join(h.talks(), "MergeInfo.avl") + ": No space left on device";
        });
        QTest::newRow("an input") << QStringList{"north", "south"} << Cause([](MergeHarness& h) {
            h.root.write("addin/dataBank/Monday Meeting/south.rec",
                         MeetingLine("Vote 1.avl", "1;2;") + "\"C:\\Talks\\Vote 2.avl\",4,2\r\n");
            return Join(h.meeting(), "south.rec, line 2: fewer than six fields");
        });
        QTest::newRow("LF alone") << QStringList{"north", "south"} << Cause([](MergeHarness& h) {
            std::string line = MeetingLine("Vote 1.avl", "1;2;");
            line.erase(line.size() - 2, 1); // LF alone
            h.root.write("addin/dataBank/Monday Meeting/south.rec", line + line);
            return Join(h.meeting(),
                        "south.rec, line 1: not a results file: its lines end in LF alone, not in CR LF");
        });
#ifndef _WIN32
        // The default group name of a file "con.rec" passes the rename frame
        // unchanged (refusing the name it puts back would trap the focus);
        // the merge refuses it. Windows has no such file: "con.rec" is its
        // console.
        QTest::newRow("a request") << QStringList{"con", "south"} << Cause([](MergeHarness& h) {
            h.doubleClick("lst_groupnames", "con");
            h.click("cmd_newname_0");
            return std::string(
                "group name \"con\" cannot name a file: CON is a device name Windows reserves");
        });
#endif
    }

    void eachFailureIsNamedAndChangesNothing() {
        QFETCH(QStringList, names);
        QFETCH(Cause, cause);
        // An earlier merge left the output and north's group file in the
        // presentation's folder.
        MergeHarness h;
        for (const char* name : {"north.rec", "south.rec"})
            h.writeMeetingFile(name);
#ifndef _WIN32
        h.writeMeetingFile("con.rec");
#endif
        h.root.write("talks/merged votes.rec", "earlier merge");
        h.root.write("talks/north.grp", "\"MergeInfo.avl\", \"4\"");
        QVERIFY(h.open());
        h.select(names);
        const std::string shown = cause(h);
        const QStringList selected = h.texts("Lst_Files");
        const std::string before = Tree(h.root.path());
        h.dialogs.nextAnswers = {mb::Yes}; // replace the earlier merge
        h.click("cmd_go");
        QCOMPARE(h.dialogs.messages.size(), std::size_t{2});
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
};

QTEST_MAIN(AvlmergeFaultsTest)
#include "avlmerge_faults_test.moc"
