// The merge window driven through its real controls: load, listing, the
// selection lists, the rename frame, the output name and its checks.
#include <QDir>
#include <QElapsedTimer>
#include <QTimer>

#include "avlmerge_harness.h"
#include "merge/avlmerge_info_panel.h"
#include "platform/errors.h"

using namespace avelin;
using namespace avelin::test;

class AvlmergeWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void loadOpensTheMeetingFolderAndOffersOnlyMergeableFiles() {
        MergeHarness h;
        h.writeMeetingFile("a.rec");
        h.writeMeetingFile("notes.txt");
        h.root.write("addin/dataBank/Monday Meeting/merged.rec", "\"\\V.avl\",4,2,\"1;2;\",\"t\",\"d\"\r\n");
        QVERIFY(h.open());
        QCOMPARE(h.label("lbl_directory")->text().toStdString(), h.meeting());
        QCOMPARE(h.label("lblOutputDirectory")->text().toStdString(), h.talks());
        QCOMPARE(h.files.currentDirectory(), h.meeting()); // the listing entered the source folder
        QCOMPARE(h.mod.PowerPointApp, nullptr);            // released by the load
        QCOMPARE(h.texts("Lst_InputList"), QStringList({"a"}));
        QCOMPARE(h.box("txt_ofile")->text(), QString("merged votes.rec"));
        QCOMPARE(h.button("cmd_go")->text(), QString("Need 2 files selected. "));
        QVERIFY(!h.button("cmd_go")->isEnabled());
    }

    void loadFallsBackWhenFoldersOrPresentationAreMissing() {
        // Paths below the root; "" is the presentation's folder "talks".
        const struct {
            const char *presentation, *argument, *file, *source, *output;
        } cases[] = {
            {nullptr, nullptr, "addin/dataBank/x.rec", "addin/dataBank/", "addin/data"},
            {nullptr, nullptr, "addin/data/x.rec", "addin/data", "addin/data"}, // no dataBank folder
            {"talks", nullptr, "talks/x.rec", "", ""},                          // no meeting folder
            {"talks", "NO SUCH FOLDER", "talks/x.rec", "", ""},
            {"talks", "ARG", "ARG/x.rec", "ARG", ""}, // wins over the meeting folder
            // A presentation whose folder has gone: only a lower-case ".ppt" is cut.
            {"gone", nullptr, "addin/dataBank/Talk.PPT/x.rec", "addin/dataBank/Talk.PPT", "addin/data"},
        };
        for (const auto& c : cases) {
            MergeHarness h;
            h.app.presentation.reset();
            if (c.presentation)
                h.app.presentation =
                    PresentationInfo{h.root.at(c.presentation),
                                     *c.presentation == 'g' ? "Talk.PPT" : "Monday Meeting.ppt",
                                     {}};
            if (c.argument) { // given with a meeting folder there to pass over
                h.mod.SourceFolderArg = h.root.at(c.argument);
                h.writeMeetingFile("m.rec");
            }
            h.writeMeetingFile(c.file);
            QVERIFY(h.open());
            const auto folder = [&](const char* f) { return *f ? h.root.at(f) : h.talks(); };
            QVERIFY2(h.window->SourceFolder == folder(c.source), c.file);
            QVERIFY2(h.window->OutputFolder == folder(c.output), c.file);
            QVERIFY2(h.texts("Lst_InputList") == QStringList({"x"}), c.file);
        }

        // No presentation and no data folder to fall back on: the load ends
        // with the failure, which start-up reports.
        MergeHarness h;
        h.app.presentation.reset();
        std::filesystem::remove_all(h.root.at("addin/data"));
        try {
            avlmerge window(h.mod);
            QFAIL("the load went on without any folder");
        } catch (const FileError& e) {
            QCOMPARE(e.path(), h.root.at("addin/data"));
        }
    }

    void listsAreSortedWithoutRegardToCase() {
        MergeHarness h;
        for (const char* name : {"beta", "Alpha", "alpha2", "Charlie", "delta", "Bravo"})
            h.writeMeetingFile(std::string(name) + ".rec");
        QVERIFY(h.open());
        // A case-sensitive sort would put every capital first.
        QCOMPARE(h.texts("Lst_InputList"),
                 QStringList({"Alpha", "alpha2", "beta", "Bravo", "Charlie", "delta"}));
        h.select({"delta", "Bravo", "alpha2"});
        QCOMPARE(h.texts("Lst_Files"),
                 QStringList({h.inMeeting("alpha2"), h.inMeeting("Bravo"), h.inMeeting("delta")}));
        QCOMPARE(h.texts("lst_groupnames"), QStringList({"alpha2", "Bravo", "delta"}));
        // A removed file goes back to its sorted place.
        h.doubleClick("Lst_Files", h.inMeeting("Bravo"));
        QCOMPARE(h.texts("Lst_InputList"), QStringList({"Alpha", "beta", "Bravo", "Charlie"}));
    }

    void filesAndGroupNamesStayPairedAcrossFolders() {
        MergeHarness h;
        for (const char* path : {"Day1.rec", "votes.rec", "North/day1.rec", "North/votes.rec"})
            h.writeMeetingFile(path);
        QVERIFY(h.open());
        h.select({"Day1", "votes"});
        // Another source folder: the selection stays.
        h.window->setDirectoryCaption(h.root.at("North"));
        h.window->GetFilesInFolder();
        h.select({"votes", "day1"});
        const QString n = QString::fromStdString(h.root.at("North") + kPathSeparator);
        // "votes" takes its folder's name; a name equal but for case gets "-1".
        QCOMPARE(h.texts("Lst_Files"),
                 QStringList({h.inMeeting("Day1"), h.inMeeting("votes"), n + "day1", n + "votes"}));
        QCOMPARE(h.texts("lst_groupnames"), QStringList({"Day1", "Monday Meeting", "day1-1", "North"}));

        // Removing a file of the other folder takes out its own group name and
        // offers nothing; one of the folder on show goes back.
        h.doubleClick("Lst_Files", h.inMeeting("votes"));
        QCOMPARE(h.texts("Lst_InputList"), QStringList());
        h.doubleClick("Lst_Files", n + "day1");
        QCOMPARE(h.texts("Lst_Files"), QStringList({h.inMeeting("Day1"), n + "votes"}));
        QCOMPARE(h.texts("lst_groupnames"), QStringList({"Day1", "North"}));
        QCOMPARE(h.texts("Lst_InputList"), QStringList({"day1"}));
        // Listing the first folder again leaves its selected file out.
        h.window->setDirectoryCaption(h.meeting());
        h.window->GetFilesInFolder();
        QCOMPARE(h.texts("Lst_InputList"), QStringList({"votes"}));
    }

    void captionsFollowTheCountAndAnEleventhFileCannotBeSelected() {
        MergeHarness h;
        QStringList names;
        for (int i = 10; i < 22; ++i) {
            h.writeMeetingFile("f" + std::to_string(i) + ".rec");
            names << "f" + QString::number(i);
        }
        QVERIFY(h.open());
        QLabel* files = h.label("lbl_files");
        QPushButton* go = h.button("cmd_go");
        h.select({"f10"});
        QCOMPARE(files->text(), QString("1 File selected for merging"));
        h.select({"f11"});
        QCOMPARE(files->text(), QString("2 Files selected for merging"));
        QCOMPARE(go->text(), QString("GO."));
        QVERIFY(go->isEnabled());
        h.box("txt_ofile")->clear(); // no output name: not ready, whatever the count
        QCOMPARE(go->text(), QString("Need output file. "));

        h.select(names.mid(2, 8));
        QCOMPARE(h.label("lbl_inputlist")->text(), QString("Maximum of 10 files merged"));
        // The eleventh file is refused: it stays available, nothing else changes.
        h.select({"f20"});
        QCOMPARE(h.list("lst_groupnames")->count(), 10);
        QCOMPARE(h.texts("Lst_InputList"), QStringList({"f20", "f21"}));
        h.doubleClick("Lst_Files", h.inMeeting("f15"));
        QCOMPARE(h.label("lbl_inputlist")->text(), QString("Files available for merging"));
        QCOMPARE(files->text(), QString("9 Files selected for merging"));
    }

    void renameFrameRefusesClashesAndIllegalNames() {
        MergeHarness h;
        for (const char* name : {"north.rec", "south.rec", "west.rec"})
            h.writeMeetingFile(name);
        QVERIFY(h.open());
        h.select({"north", "south"});
        QGroupBox* frame = h.control<QGroupBox>("frm_newname");
        QLineEdit* name = h.box("txt_newname");
        QLabel* prompt = h.label("lbl_newname");
        const QStringList unchanged{"north", "south"};

        h.doubleClick("lst_groupnames", "north");
        QVERIFY(frame->isVisible() && name->hasFocus());
        QCOMPARE(name->selectedText(), QString("north"));
        // A change of letter case only clashes with the entry itself.
        QTest::keyClicks(name, "North");
        h.click("cmd_newname_0");
        QCOMPARE(prompt->text(), QString("That name already appears in the list, try again."));
        QCOMPARE(name->text(), QString("north"));
        // An illegal character: the first Cancel only reverts the text, the
        // second closes the frame and resets the prompt.
        h.retype("txt_newname", "a/b");
        h.click("cmd_newname_1");
        QCOMPARE(prompt->text(), QString("Filename cannot contain illegal characters"));
        QCOMPARE(name->text(), QString("north"));
        QVERIFY(frame->isVisible() && name->hasFocus());
        h.click("cmd_newname_1");
        QVERIFY(!frame->isVisible());
        QCOMPARE(prompt->text(), QString("Enter the new name below"));
        QCOMPARE(h.texts("lst_groupnames"), unchanged);

        // An illegal name and OK, or Enter: the list stays as it is.
        h.doubleClick("lst_groupnames", "south");
        QTest::keyClicks(name, "s?");
        h.click("cmd_newname_0");
        QTest::keyClicks(name, "n:1");
        QTest::keyClick(name, Qt::Key_Return);
        QCOMPARE(name->text(), QString("south"));
        QVERIFY(frame->isVisible());
        QCOMPARE(h.texts("lst_groupnames"), unchanged);
        // Enter presses OK; a new name replaces the entry in place.
        h.retype("txt_newname", "East");
        QTest::keyClick(name, Qt::Key_Return);
        QVERIFY(!frame->isVisible());
        QCOMPARE(h.texts("lst_groupnames"), QStringList({"north", "East"}));

        // A double click on the lists drops the edit without resetting the prompt.
        h.doubleClick("lst_groupnames", "north");
        QTest::keyClicks(name, "n:1");
        h.click("cmd_newname_0");
        h.doubleClick("Lst_InputList", "west");
        QVERIFY(!frame->isVisible());
        QCOMPARE(prompt->text(), QString("Filename cannot contain illegal characters"));
        QCOMPARE(h.texts("lst_groupnames"), QStringList({"north", "East", "west"}));
    }

    void illegalOutputNameStopsEveryOtherControl() {
        MergeHarness h;
        for (const char* name : {"a.rec", "b.rec", "c.rec"})
            h.writeMeetingFile(name);
        QVERIFY(h.open());
        h.select({"a", "b"});
        const std::string before = Tree(h.root.path());
        QLineEdit* ofile = h.box("txt_ofile");

        h.retype("txt_ofile", "a?b");
        QVERIFY(h.button("cmd_go")->isEnabled()); // the characters do not affect the button
        h.click("cmd_go");
        QCOMPARE(h.label("lbl_outfile")->text(), QString("Filename cannot contain illegal characters"));
        QCOMPARE(ofile->text(), QString("a?b")); // left as typed, no extension
        h.click("cmd_obrowse");
        h.click("cmd_browseinput");
        h.click("cmd_cancel");
        QTest::keyClick(ofile, Qt::Key_Q, Qt::AltModifier); // "&Quit" by its access key
        QTest::keyClick(ofile, Qt::Key_Tab);
        h.doubleClick("Lst_InputList", "c");
        h.doubleClick("lst_groupnames", "a");
        QVERIFY(ofile->hasFocus());
        QVERIFY(h.window->browser() == nullptr && h.window->isEnabled());
        QCOMPARE(h.process.endCalls, 0);
        QVERIFY(h.dialogs.messages.empty() && h.dialogs.saveRequests.empty());
        QCOMPARE(h.list("Lst_Files")->count(), 2);
        QVERIFY(!h.control<QGroupBox>("frm_newname")->isVisible());
        QCOMPARE(Tree(h.root.path()), before); // nothing was written
        QCOMPARE(QDir::currentPath().toStdString(), h.meeting());

        // Corrected, the focus may go: the extension is completed on the way
        // out (".REC" counts as none) and the next check resets the label.
        h.retype("txt_ofile", "result.REC");
        MergeHarness::click(h.list("Lst_Files"));
        QCOMPARE(ofile->text(), QString("result.REC.rec"));
        QCOMPARE(h.label("lbl_outfile")->text(), QString("Output Filename:"));
        h.click("cmd_cancel");
        QCOMPARE(h.process.endCalls, 1);
    }

    void outputNameIsChosenInTheSaveDialog() {
        MergeHarness h;
        QVERIFY(h.open());
        h.retype("txt_ofile", "mine.rec");
        h.dialogs.nextFileNames = {std::nullopt, Join(h.root.at("out"), "picked")};
        h.click("cmd_obrowse"); // cancelled: nothing changes
        QCOMPARE(h.dialogs.saveRequests.size(), std::size_t(1));
        QCOMPARE(h.dialogs.saveRequests[0].initialFolder, h.talks());
        QCOMPARE(h.dialogs.saveRequests[0].fileName, std::string("mine.rec"));
        QCOMPARE(h.box("txt_ofile")->text(), QString("mine.rec"));
        QCOMPARE(h.window->OutputFolder, h.talks());
        // Chosen: the folder and the name split at the last separator; a name
        // without extension keeps it until the box next loses the focus.
        h.click("cmd_obrowse");
        QCOMPARE(h.window->OutputFolder, h.root.at("out"));
        QCOMPARE(h.label("lblOutputDirectory")->text().toStdString(), h.root.at("out"));
        QCOMPARE(h.box("txt_ofile")->text(), QString("picked"));
    }

    void informationPanelFadesInOnce() {
        MergeHarness h;
        QElapsedTimer since;
        since.start();
        QVERIFY(h.open());
        auto* panel = h.control<InfoPanel>("TChart1");
        QVERIFY(panel->property("transparency").toInt() < 20); // steps of 1 every 50 ms
        QTRY_COMPARE_WITH_TIMEOUT(panel->property("transparency").toInt(), 100, 15000);
        QVERIFY(since.elapsed() >= 100 * 50 - 100);
        QVERIFY(!h.control<QTimer>("tmrInfoLabel")->isActive());
    }
};

QTEST_MAIN(AvlmergeWindowTest)
#include "avlmerge_window_test.moc"
