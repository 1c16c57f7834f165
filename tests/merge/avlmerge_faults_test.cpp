// The merge window when its files cannot be written, and with names that
// Windows cannot create: a message or a refusal that says which file and why,
// and a presentation folder left exactly as it was.
#include <filesystem>

#include "avlmerge_harness.h"

using namespace avelin;
using namespace avelin::test;

Q_DECLARE_METATYPE(avelin::FileStep)

class AvlmergeFaultsTest : public QObject {
    Q_OBJECT

  private slots:
    void failedWriteNamesTheFileAndChangesNothing_data();
    void failedWriteNamesTheFileAndChangesNothing();
    void outputThatIsAFolderOrWhoseFolderWentAway();
    void renameFrameRefusesNamesWindowsCannotCreate();
    void outputNameWindowsCannotCreateKeepsTheFocus();
    void defaultGroupNameOfADeviceFileIsRefusedByTheMerge();
};

namespace {

// north.rec and south.rec in the meeting folder, both selected; an earlier
// merge left the output and north's group file in the presentation's folder.
struct Selected : MergeHarness {
    bool openAndSelect() {
        writeMeetingFile("north.rec");
        writeMeetingFile("south.rec", 3);
        root.write("talks/merged votes.rec", "earlier merge");
        root.write("talks/north.grp", "\"MergeInfo.avl\", \"4\"");
        if (!open())
            return false;
        select({"north", "south"});
        return true;
    }
};

// After a failed or refused merge the window is ready for another try.
void VerifyStillReady(const MergeHarness& h) {
    QCOMPARE(h.button("cmd_go")->text(), QString("GO."));
    QCOMPARE(h.box("txt_ofile")->text(), QString("merged votes.rec"));
    QCOMPARE(h.list("lst_temp")->count(), 0);
    QCOMPARE(h.process.endCalls, 0);
}

} // namespace

void AvlmergeFaultsTest::failedWriteNamesTheFileAndChangesNothing_data() {
    QTest::addColumn<FileStep>("step");
    QTest::addColumn<QString>("target");
    for (FileStep step : {FileStep::CreateTemporary, FileStep::Write, FileStep::Close, FileStep::Rename})
        for (const char* target : {"north.grp", "south.grp", "merged votes.rec", "MergeInfo.avl"})
            QTest::addRow("%s %s", FileStepName(step), target) << step << QString(target);
}

void AvlmergeFaultsTest::failedWriteNamesTheFileAndChangesNothing() {
    QFETCH(FileStep, step);
    QFETCH(QString, target);
    Selected h;
    QVERIFY(h.openAndSelect());
    h.files.faults.fail(step, target.toStdString(), "No space left on device");
    const std::string before = Tree(h.root.path());

    h.dialogs.nextAnswers = {mb::Yes}; // replace the earlier merge
    h.click("cmd_go");
    QCOMPARE(h.dialogs.messages.size(), std::size_t(2));
    const ShownMessage& shown = h.dialogs.messages[1];
    QCOMPARE(shown.text, "The files were not merged.\r\n" + Join(h.talks(), target.toStdString()) +
                             ": No space left on device");
    QCOMPARE(shown.style, mb::OkOnly + mb::Critical);
    QCOMPARE(Tree(h.root.path()), before); // no temporary file, nothing replaced
    VerifyStillReady(h);
}

void AvlmergeFaultsTest::outputThatIsAFolderOrWhoseFolderWentAway() {
    Selected h;
    QVERIFY(h.openAndSelect());
    std::filesystem::remove(Join(h.talks(), "merged votes.rec"));
    std::filesystem::create_directory(Join(h.talks(), "merged votes.rec"));
    h.root.write("talks/merged votes.rec/inside.rec", "kept");
    const std::string before = Tree(h.root.path());
    h.click("cmd_go"); // no question: there is no file of that name
    QCOMPARE(h.dialogs.messages.size(), std::size_t(1));
    QCOMPARE(h.dialogs.messages[0].text, "The files were not merged.\r\n" +
                                             Join(h.talks(), "merged votes.rec") +
                                             ": there is a folder of that name");
    QCOMPARE(Tree(h.root.path()), before);
    VerifyStillReady(h);

    std::filesystem::remove_all(h.talks());
    const std::string gone = Tree(h.root.path());
    h.click("cmd_go");
    QCOMPARE(h.dialogs.messages.size(), std::size_t(2));
    QCOMPARE(h.dialogs.messages[1].text,
             "The files were not merged.\r\n" + Join(h.talks(), "north.grp") + ": No such file or directory");
    QCOMPARE(Tree(h.root.path()), gone);
    VerifyStillReady(h);
}

void AvlmergeFaultsTest::renameFrameRefusesNamesWindowsCannotCreate() {
    Selected h;
    QVERIFY(h.openAndSelect());
    QLineEdit* name = h.box("txt_newname");
    QLabel* prompt = h.label("lbl_newname");
    const struct {
        QString typed;
        bool enter; // OK by the Enter key, else by a click
        QString reason;
    } refused[] = {
        {"con", false, "CON is a device name Windows reserves"},
        {"Lpt3.votes", true, "LPT3 is a device name Windows reserves"},
        {"North.", false, "A name cannot end with a blank or a full stop"},
        {"North ", true, "A name cannot end with a blank or a full stop"},
        {QString(252, 'n'), false, "That name is too long"},
    };
    h.doubleClick("lst_groupnames", "north");
    for (const auto& r : refused) {
        h.retype("txt_newname", r.typed);
        if (r.enter)
            QTest::keyClick(name, Qt::Key_Return);
        else
            h.click("cmd_newname_0");
        QCOMPARE(prompt->text(), r.reason);
        QVERIFY(prompt->sizeHint().width() <= prompt->width());
        QCOMPARE(name->text(), QString("north")); // the old name is put back
        QVERIFY(name->hasFocus());
        QVERIFY(h.control<QGroupBox>("frm_newname")->isVisible());
        QCOMPARE(h.texts("lst_groupnames"), QStringList({"north", "south"}));
    }
    // A name that only looks like a device is a name.
    h.retype("txt_newname", "Console");
    h.click("cmd_newname_0");
    QVERIFY(!h.control<QGroupBox>("frm_newname")->isVisible());
    QCOMPARE(h.texts("lst_groupnames"), QStringList({"Console", "south"}));
    QCOMPARE(prompt->text(), QString("Enter the new name below"));
}

void AvlmergeFaultsTest::outputNameWindowsCannotCreateKeepsTheFocus() {
    Selected h;
    QVERIFY(h.openAndSelect());
    QLineEdit* ofile = h.box("txt_ofile");
    QLabel* outfile = h.label("lbl_outfile");
    const std::string before = Tree(h.root.path());
    const std::pair<QString, QString> refused[] = {
        {"Com1", "COM1 is a device name Windows reserves"},
        {"nul.rec", "NUL is a device name Windows reserves"},
        {"result.", "A name cannot end with a blank or a full stop"},
        {QString(252, 'r'), "That name is too long"},
    };
    for (const auto& [typed, reason] : refused) {
        h.retype("txt_ofile", typed);
        h.click("cmd_go");
        QVERIFY(ofile->hasFocus());
        QCOMPARE(outfile->text(), reason);
        // The whole reason shows in the label's design size.
        QVERIFY2(outfile->heightForWidth(outfile->width()) <= outfile->height(), qPrintable(reason));
        QCOMPARE(ofile->text(), typed); // left as typed, no extension
        h.click("cmd_obrowse");
        QVERIFY(ofile->hasFocus());
    }
    QVERIFY(h.dialogs.messages.empty());
    QVERIFY(h.dialogs.saveRequests.empty());
    QCOMPARE(Tree(h.root.path()), before);

    h.retype("txt_ofile", "result");
    h.click("cmd_go");
    QCOMPARE(ofile->text(), QString("2 vote files successfully merged."));
    QVERIFY(h.root.exists("talks/result.rec"));
    // The success text ends with a full stop but is no name: the focus may leave it.
    h.click(ofile);
    h.click(h.list("Lst_Files"));
    QVERIFY(!ofile->hasFocus());
}

void AvlmergeFaultsTest::defaultGroupNameOfADeviceFileIsRefusedByTheMerge() {
    MergeHarness h;
    h.writeMeetingFile("con.rec"); // a name only other systems can hold
    h.writeMeetingFile("south.rec");
    QVERIFY(h.open());
    h.select({"con", "south"});
    QCOMPARE(h.texts("lst_groupnames"), QStringList({"con", "south"}));
    // The frame lets the unchanged name go, so it cannot trap the focus.
    h.doubleClick("lst_groupnames", "con");
    h.click("cmd_newname_1");
    QVERIFY(!h.control<QGroupBox>("frm_newname")->isVisible());

    const std::string before = Tree(h.root.path());
    h.click("cmd_go");
    QCOMPARE(h.dialogs.messages.size(), std::size_t(1));
    QCOMPARE(h.dialogs.messages[0].text,
             std::string("The files were not merged.\r\ngroup name \"con\" cannot "
                         "name a file: CON is a device name Windows reserves"));
    QCOMPARE(Tree(h.root.path()), before);
    VerifyStillReady(h);

    h.doubleClick("lst_groupnames", "con");
    h.retype("txt_newname", "Front row");
    h.click("cmd_newname_0");
    h.click("cmd_go");
    QCOMPARE(h.box("txt_ofile")->text(), QString("2 vote files successfully merged."));
    QCOMPARE(h.root.read("talks/Front row.grp"), std::string("\"MergeInfo.avl\", \"0\""));
}

QTEST_MAIN(AvlmergeFaultsTest)
#include "avlmerge_faults_test.moc"
