// The merge window driven through its real controls: load, listing, the
// selection lists, the rename frame, the output name and its checks.
#include <QDir>
#include <QElapsedTimer>
#include <QTimer>
#include <filesystem>

#include "avlmerge_harness.h"
#include "merge/avlmerge_info_panel.h"
#include "platform/errors.h"

using namespace avelin;
using namespace avelin::test;

class AvlmergeWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void loadOpensTheMeetingFolderAndOffersOnlyMergeableFiles();
    void loadFallsBackWhenFoldersOrPresentationAreMissing();
    void listsAreSortedWithoutRegardToCase();
    void filesAndGroupNamesStayPairedAcrossFolders();
    void captionsFollowTheCountAndAnEleventhFileCannotBeSelected();
    void renameFrameRefusesClashesAndIllegalNames();
    void illegalOutputNameStopsEveryOtherControl();
    void outputNameIsCompletedAndChosenInTheSaveDialog();
    void informationPanelFadesInOnce();
};

void AvlmergeWindowTest::loadOpensTheMeetingFolderAndOffersOnlyMergeableFiles() {
    MergeHarness h;
    const std::string m = "addin/dataBank/Monday Meeting/";
    h.writeMeetingFile(m + "a.rec");
    h.writeMeetingFile(m + "b.REC");
    h.writeMeetingFile(m + "response.rec");
    h.writeMeetingFile(m + "Response.rec");
    h.writeMeetingFile(m + "notes.txt");
    h.writeMeetingFile(m + "x.y.rec");
    h.root.write(m + "empty.rec", "");
    h.root.write(m + "merged.rec", "\"\\Vote 1.avl\",4,2,\"1;2;\",\"14:05:09\",\"04/12/2026\"\r\n");
    QVERIFY(h.open());

    QCOMPARE(h.label("lbl_directory")->text().toStdString(), h.meeting());
    QCOMPARE(h.label("lblOutputDirectory")->text().toStdString(), h.talks());
    QCOMPARE(h.files.currentDirectory(), h.meeting()); // the listing entered the source folder
    QCOMPARE(h.mod.PowerPointApp, nullptr);            // released by the load
    QCOMPARE(MergeHarness::texts(h.list("Lst_InputList")), QStringList({"a", "Response", "x.y"}));
    QCOMPARE(h.box("txt_ofile")->text(), QString("merged votes.rec"));
    QPushButton* go = h.button("cmd_go");
    QCOMPARE(go->text(), QString("Need 2 files selected. "));
    QVERIFY(!go->isEnabled());
    QCOMPARE(go->property("BackColor").toUInt(), 255u);
    QVERIFY(!h.control<QGroupBox>("frm_newname")->isVisible());

    // Twips scale with the screen: cmd_go lies at 4800, 4320 twips.
    const double dpi = h.window->logicalDpiX();
    QCOMPARE(go->geometry().topLeft(), QPoint(qRound(4800 * dpi / 1440), qRound(4320 * dpi / 1440)));
}

void AvlmergeWindowTest::loadFallsBackWhenFoldersOrPresentationAreMissing() {
    {
        // No presentation open: the dataBank folder itself is the source, the
        // data folder the output folder.
        MergeHarness h;
        h.app.open.reset();
        h.writeMeetingFile("addin/dataBank/loose.rec");
        QVERIFY(h.open());
        QCOMPARE(h.window->SourceFolder, h.addin() + kPathSeparator + "dataBank" + kPathSeparator);
        QCOMPARE(h.window->OutputFolder, h.root.at("addin/data"));
        QCOMPARE(MergeHarness::texts(h.list("Lst_InputList")), QStringList({"loose"}));
        QCOMPARE(h.box("txt_ofile")->text(), QString("merged votes.rec"));
    }
    {
        // No presentation and no dataBank folder: everything is the data folder.
        MergeHarness h;
        h.app.open.reset();
        h.writeMeetingFile("addin/data/kept.rec");
        QVERIFY(h.open());
        QCOMPARE(h.window->SourceFolder, h.root.at("addin/data"));
        QCOMPARE(h.window->OutputFolder, h.root.at("addin/data"));
        QCOMPARE(MergeHarness::texts(h.list("Lst_InputList")), QStringList({"kept"}));
    }
    {
        // The meeting folder is missing: the presentation's folder is the source.
        MergeHarness h;
        h.writeMeetingFile("talks/beside.rec");
        QVERIFY(h.open());
        QCOMPARE(h.window->SourceFolder, h.talks());
        QCOMPARE(MergeHarness::texts(h.list("Lst_InputList")), QStringList({"beside"}));
    }
    {
        // A source folder on the command line that does not exist: the same.
        MergeHarness h;
        h.writeMeetingFile("addin/dataBank/Monday Meeting/m.rec");
        h.mod.SourceFolderArg = h.root.at("NO SUCH FOLDER");
        QVERIFY(h.open());
        QCOMPARE(h.window->SourceFolder, h.talks());
    }
    {
        // One that exists wins over the meeting folder.
        MergeHarness h;
        h.writeMeetingFile("addin/dataBank/Monday Meeting/m.rec");
        h.writeMeetingFile("ARG/given.rec");
        h.mod.SourceFolderArg = h.root.at("ARG");
        QVERIFY(h.open());
        QCOMPARE(h.window->SourceFolder, h.root.at("ARG"));
        QCOMPARE(MergeHarness::texts(h.list("Lst_InputList")), QStringList({"given"}));
        QCOMPARE(h.window->OutputFolder, h.talks());
    }
    {
        // No presentation and no data folder to fall back on: the load ends
        // with the failure, which start-up reports.
        MergeHarness h;
        h.app.open.reset();
        std::filesystem::remove_all(h.root.at("addin/data"));
        try {
            avlmerge window(h.mod);
            QFAIL("the load went on without any folder");
        } catch (const FileError& e) {
            QCOMPARE(e.path(), h.root.at("addin/data"));
        }
    }
    {
        // A presentation whose folder has gone (path not found), named in
        // capitals: .PPT stays in the name, only ".ppt" is removed.
        MergeHarness h;
        h.app.open = PresentationInfo{h.root.at("gone"), "Talk.PPT", {}};
        h.writeMeetingFile("addin/dataBank/Talk.PPT/t.rec");
        QVERIFY(h.open());
        QCOMPARE(h.window->SourceFolder, h.root.at("addin/dataBank/Talk.PPT"));
        QCOMPARE(h.window->OutputFolder, h.root.at("addin/data"));
    }
}

void AvlmergeWindowTest::listsAreSortedWithoutRegardToCase() {
    MergeHarness h;
    for (const char* name : {"beta", "Alpha", "alpha2", "Charlie", "delta", "Bravo"})
        h.writeMeetingFile(std::string("addin/dataBank/Monday Meeting/") + name + ".rec");
    QVERIFY(h.open());
    // A case-sensitive sort would put every capital first.
    QCOMPARE(MergeHarness::texts(h.list("Lst_InputList")),
             QStringList({"Alpha", "alpha2", "beta", "Bravo", "Charlie", "delta"}));

    h.select({"delta", "Bravo", "alpha2"});
    const QString dir = QString::fromStdString(h.meeting() + kPathSeparator);
    QCOMPARE(MergeHarness::texts(h.list("Lst_Files")),
             QStringList({dir + "alpha2", dir + "Bravo", dir + "delta"}));
    QCOMPARE(MergeHarness::texts(h.list("lst_groupnames")), QStringList({"alpha2", "Bravo", "delta"}));
    QCOMPARE(MergeHarness::texts(h.list("Lst_InputList")), QStringList({"Alpha", "beta", "Charlie"}));

    // A removed file goes back to its sorted place.
    MergeHarness::doubleClick(h.list("Lst_Files"), dir + "Bravo");
    QCOMPARE(MergeHarness::texts(h.list("Lst_InputList")),
             QStringList({"Alpha", "beta", "Bravo", "Charlie"}));
}

void AvlmergeWindowTest::filesAndGroupNamesStayPairedAcrossFolders() {
    MergeHarness h;
    h.writeMeetingFile("addin/dataBank/Monday Meeting/Day1.rec");
    h.writeMeetingFile("addin/dataBank/Monday Meeting/votes.rec");
    h.writeMeetingFile("North/day1.rec");
    h.writeMeetingFile("North/votes.rec");
    QVERIFY(h.open());
    h.select({"Day1", "votes"});

    // Another source folder: the selection stays.
    h.window->setDirectoryCaption(h.root.at("North"));
    h.window->GetFilesInFolder();
    QCOMPARE(MergeHarness::texts(h.list("Lst_InputList")), QStringList({"day1", "votes"}));
    h.select({"votes", "day1"});

    const QString m = QString::fromStdString(h.meeting() + kPathSeparator);
    const QString n = QString::fromStdString(h.root.at("North") + kPathSeparator);
    // "votes" takes its folder's name; a name equal but for case gets "-1".
    QCOMPARE(MergeHarness::texts(h.list("Lst_Files")),
             QStringList({m + "Day1", m + "votes", n + "day1", n + "votes"}));
    QCOMPARE(MergeHarness::texts(h.list("lst_groupnames")),
             QStringList({"Day1", "Monday Meeting", "day1-1", "North"}));

    // Removing a file of the other folder takes out its own group name and
    // offers nothing; one of the folder on show goes back.
    MergeHarness::doubleClick(h.list("Lst_Files"), m + "votes");
    QCOMPARE(MergeHarness::texts(h.list("lst_groupnames")), QStringList({"Day1", "day1-1", "North"}));
    QCOMPARE(MergeHarness::texts(h.list("Lst_InputList")), QStringList());
    MergeHarness::doubleClick(h.list("Lst_Files"), n + "day1");
    QCOMPARE(MergeHarness::texts(h.list("Lst_Files")), QStringList({m + "Day1", n + "votes"}));
    QCOMPARE(MergeHarness::texts(h.list("lst_groupnames")), QStringList({"Day1", "North"}));
    QCOMPARE(MergeHarness::texts(h.list("Lst_InputList")), QStringList({"day1"}));

    // Listing the first folder again leaves its selected file out.
    h.window->setDirectoryCaption(h.meeting());
    h.window->GetFilesInFolder();
    QCOMPARE(MergeHarness::texts(h.list("Lst_InputList")), QStringList({"votes"}));
}

void AvlmergeWindowTest::captionsFollowTheCountAndAnEleventhFileCannotBeSelected() {
    MergeHarness h;
    QStringList names;
    for (int i = 0; i < 12; ++i) {
        const std::string name = "f" + std::string(i < 10 ? "0" : "") + std::to_string(i);
        h.writeMeetingFile("addin/dataBank/Monday Meeting/" + name + ".rec");
        names << QString::fromStdString(name);
    }
    QVERIFY(h.open());
    QLabel* files = h.label("lbl_files");
    QLabel* inputs = h.label("lbl_inputlist");
    QPushButton* go = h.button("cmd_go");
    const QString dir = QString::fromStdString(h.meeting() + kPathSeparator);

    h.select({"f00"});
    QCOMPARE(files->text(), QString("1 File selected for merging"));
    QCOMPARE(go->text(), QString("Need 2 files selected. "));
    MergeHarness::doubleClick(h.list("Lst_Files"), dir + "f00");
    QCOMPARE(files->text(), QString("0 Files selected for merging"));

    h.select({"f00", "f01"});
    QCOMPARE(files->text(), QString("2 Files selected for merging"));
    QCOMPARE(go->text(), QString("GO."));
    QVERIFY(go->isEnabled());
    QCOMPARE(go->property("BackColor").toUInt(), 65280u);

    // No output name: not ready, whatever the count.
    h.box("txt_ofile")->clear();
    QCOMPARE(go->text(), QString("Need output file. "));
    QVERIFY(!go->isEnabled());
    h.box("txt_ofile")->setText("out.rec");
    MergeHarness::doubleClick(h.list("Lst_Files"), dir + "f01");

    h.select(names.mid(1, 9));
    QCOMPARE(h.list("Lst_Files")->count(), 10);
    QCOMPARE(files->text(), QString("10 Files selected for merging"));
    QCOMPARE(inputs->text(), QString("Maximum of 10 files merged"));

    // The eleventh file is refused: it stays available, nothing else changes.
    h.select({"f10"});
    QCOMPARE(h.list("Lst_Files")->count(), 10);
    QCOMPARE(h.list("lst_groupnames")->count(), 10);
    QCOMPARE(MergeHarness::texts(h.list("Lst_InputList")), QStringList({"f10", "f11"}));
    QCOMPARE(inputs->text(), QString("Maximum of 10 files merged"));

    MergeHarness::doubleClick(h.list("Lst_Files"), dir + "f05");
    QCOMPARE(inputs->text(), QString("Files available for merging"));
    QCOMPARE(files->text(), QString("9 Files selected for merging"));
    h.select({"f10"});
    QCOMPARE(h.list("Lst_Files")->count(), 10);
}

void AvlmergeWindowTest::renameFrameRefusesClashesAndIllegalNames() {
    MergeHarness h;
    h.writeMeetingFile("addin/dataBank/Monday Meeting/north.rec");
    h.writeMeetingFile("addin/dataBank/Monday Meeting/south.rec");
    h.writeMeetingFile("addin/dataBank/Monday Meeting/west.rec");
    QVERIFY(h.open());
    h.select({"north", "south"});
    QListWidget* groups = h.list("lst_groupnames");
    QGroupBox* frame = h.control<QGroupBox>("frm_newname");
    QLineEdit* name = h.box("txt_newname");
    QLabel* prompt = h.label("lbl_newname");

    MergeHarness::doubleClick(groups, "north");
    QVERIFY(frame->isVisible());
    QCOMPARE(h.window->OldGroupName, std::string("north"));
    QCOMPARE(name->text(), QString("north"));
    QVERIFY(name->hasFocus());
    QCOMPARE(name->selectedText(), QString("north"));

    // A change of letter case only clashes with the entry itself.
    QTest::keyClicks(name, "North");
    MergeHarness::click(h.button("cmd_newname_0"));
    QCOMPARE(prompt->text(), QString("That name already appears in the list, try again."));
    QCOMPARE(name->text(), QString("north"));
    QVERIFY(frame->isVisible());
    QCOMPARE(MergeHarness::texts(groups), QStringList({"north", "south"}));

    // An illegal character: the first Cancel only reverts the text...
    MergeHarness::retype(name, "a/b");
    MergeHarness::click(h.button("cmd_newname_1"));
    QCOMPARE(prompt->text(), QString("Filename cannot contain illegal characters"));
    QCOMPARE(name->text(), QString("north"));
    QVERIFY(frame->isVisible());
    QVERIFY(name->hasFocus());
    // ...the second one closes the frame and resets the prompt.
    MergeHarness::click(h.button("cmd_newname_1"));
    QVERIFY(!frame->isVisible());
    QCOMPARE(prompt->text(), QString("Enter the new name below"));
    QCOMPARE(MergeHarness::texts(groups), QStringList({"north", "south"}));

    // An illegal name and OK: the list stays as it is.
    MergeHarness::doubleClick(groups, "south");
    QTest::keyClicks(name, "s?");
    MergeHarness::click(h.button("cmd_newname_0"));
    QCOMPARE(prompt->text(), QString("Filename cannot contain illegal characters"));
    QCOMPARE(name->text(), QString("south"));
    QVERIFY(frame->isVisible());
    QCOMPARE(MergeHarness::texts(groups), QStringList({"north", "south"}));

    // Enter presses OK; a new name replaces the entry in place.
    MergeHarness::retype(name, "East");
    QTest::keyClick(name, Qt::Key_Return);
    QVERIFY(!frame->isVisible());
    QCOMPARE(MergeHarness::texts(groups), QStringList({"north", "East"}));
    QCOMPARE(prompt->text(), QString("Enter the new name below"));

    // Enter on an illegal name is refused like a click.
    MergeHarness::doubleClick(groups, "north");
    QTest::keyClicks(name, "n:1");
    QTest::keyClick(name, Qt::Key_Return);
    QVERIFY(frame->isVisible());
    QCOMPARE(name->text(), QString("north"));

    // A double click on the lists drops the edit without resetting the prompt.
    MergeHarness::doubleClick(h.list("Lst_InputList"), "west");
    QVERIFY(!frame->isVisible());
    QCOMPARE(prompt->text(), QString("Filename cannot contain illegal characters"));
    QCOMPARE(MergeHarness::texts(groups), QStringList({"north", "East", "west"}));
}

void AvlmergeWindowTest::illegalOutputNameStopsEveryOtherControl() {
    MergeHarness h;
    h.writeMeetingFile("addin/dataBank/Monday Meeting/a.rec");
    h.writeMeetingFile("addin/dataBank/Monday Meeting/b.rec");
    h.writeMeetingFile("addin/dataBank/Monday Meeting/c.rec");
    QVERIFY(h.open());
    h.select({"a", "b"});
    const std::string before = Tree(h.root.path());
    QLineEdit* ofile = h.box("txt_ofile");
    QLabel* outfile = h.label("lbl_outfile");

    h.typeOutputName("a?b");
    QPushButton* go = h.button("cmd_go");
    QVERIFY(go->isEnabled()); // the characters do not affect the button

    MergeHarness::click(go);
    QVERIFY(ofile->hasFocus());
    QCOMPARE(outfile->text(), QString("Filename cannot contain illegal characters"));
    QCOMPARE(ofile->text(), QString("a?b")); // left as typed, no extension
    QCOMPARE(go->text(), QString("GO."));
    QVERIFY(h.dialogs.messages.empty());

    MergeHarness::click(h.button("cmd_obrowse"));
    QVERIFY(h.dialogs.saveRequests.empty());
    MergeHarness::click(h.button("cmd_browseinput"));
    QVERIFY(h.window->browser() == nullptr);
    QVERIFY(h.window->isEnabled());
    MergeHarness::click(h.button("cmd_cancel"));
    QTest::keyClick(ofile, Qt::Key_Q, Qt::AltModifier); // "&Quit" by its access key
    QCOMPARE(h.process.endCalls, 0);
    QVERIFY(h.window->isVisible());
    QTest::keyClick(ofile, Qt::Key_Tab);
    QVERIFY(ofile->hasFocus());
    MergeHarness::doubleClick(h.list("Lst_InputList"), "c");
    QCOMPARE(h.list("Lst_Files")->count(), 2);
    MergeHarness::doubleClick(h.list("lst_groupnames"), "a");
    QVERIFY(!h.control<QGroupBox>("frm_newname")->isVisible());
    QVERIFY(ofile->hasFocus());
    QCOMPARE(Tree(h.root.path()), before); // nothing was written
    QCOMPARE(QDir::currentPath().toStdString(), h.meeting());

    // Corrected, the focus may go: the extension is completed on the way out
    // and the next check resets the label.
    h.typeOutputName("result");
    MergeHarness::click(h.list("Lst_Files"));
    QCOMPARE(ofile->text(), QString("result.rec"));
    QCOMPARE(outfile->text(), QString("Output Filename:"));
    MergeHarness::click(h.button("cmd_cancel"));
    QCOMPARE(h.process.endCalls, 1);
}

void AvlmergeWindowTest::outputNameIsCompletedAndChosenInTheSaveDialog() {
    MergeHarness h;
    QVERIFY(h.open());
    QLineEdit* ofile = h.box("txt_ofile");

    h.typeOutputName("result.REC"); // the test counts letter case
    MergeHarness::click(h.list("Lst_InputList"));
    QCOMPARE(ofile->text(), QString("result.REC.rec"));
    h.typeOutputName("");
    MergeHarness::click(h.list("Lst_InputList"));
    QCOMPARE(ofile->text(), QString());

    // Cancelled: nothing changes.
    h.typeOutputName("mine.rec");
    h.dialogs.nextFileNames.push_back(std::nullopt);
    MergeHarness::click(h.button("cmd_obrowse"));
    QCOMPARE(h.dialogs.saveRequests.size(), std::size_t(1));
    const SaveDialogRequest& asked = h.dialogs.saveRequests[0];
    QCOMPARE(asked.filter, std::string("avelin results files (*.rec)|*.rec"));
    QCOMPARE(asked.initialFolder, h.talks());
    QCOMPARE(asked.fileName, std::string("mine.rec"));
    QVERIFY(asked.hideReadOnly);
    QCOMPARE(ofile->text(), QString("mine.rec"));
    QCOMPARE(h.window->OutputFolder, h.talks());

    // Chosen: the folder and the name split at the last separator; a name
    // without extension keeps it until the box next loses the focus.
    const std::string picked = Join(h.root.at("out"), "picked");
    h.dialogs.nextFileNames.push_back(picked);
    MergeHarness::click(h.button("cmd_obrowse"));
    QCOMPARE(h.window->OutputFolder, h.root.at("out"));
    QCOMPARE(h.label("lblOutputDirectory")->text().toStdString(), h.root.at("out"));
    QCOMPARE(ofile->text(), QString("picked"));
    QCOMPARE(h.dialogs.saveRequests.back().fileName, std::string("mine.rec"));
}

void AvlmergeWindowTest::informationPanelFadesInOnce() {
    MergeHarness h;
    QElapsedTimer since;
    since.start();
    QVERIFY(h.open());
    auto* panel = h.control<InfoPanel>("TChart1");
    auto* timer = h.control<QTimer>("tmrInfoLabel");
    QCOMPARE(panel->titleLines(),
             QStringList({"To enable the merge utility to function", "correctly files chosen to be merged",
                          "must be of the same format, i.e. they must", "be from the same meeting design"}));
    QCOMPARE(timer->interval(), 50);
    QVERIFY(timer->isActive());
    QVERIFY(panel->property("transparency").toInt() < 20); // steps of 1 every 50 ms

    QTRY_COMPARE_WITH_TIMEOUT(panel->property("transparency").toInt(), 100, 15000);
    QVERIFY(since.elapsed() >= 100 * 50 - 100);
    QVERIFY(!timer->isActive());
    QTest::qWait(200);
    QCOMPARE(panel->property("transparency").toInt(), 100);
}

QTEST_MAIN(AvlmergeWindowTest)
#include "avlmerge_window_test.moc"
