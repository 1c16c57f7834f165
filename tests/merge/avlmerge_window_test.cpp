// The merge window driven through its real controls: the load, the selection
// lists and their captions, the rename frame, the output name and its checks.
// Which files are offered and which names are refused is pinned down by the
// tests of the listing, the group names and the Windows names; here only what
// the window adds: captions, focus, and what reaches the lists.
#include <QTimer>

#include "avlmerge_harness.h"
#include "support/drawn_letters.h"
#include "merge/avlmerge_info_panel.h"
#include "platform/errors.h"
#include "platform/file_presentation_app.h"

using namespace avelin;
using namespace avelin::test;

namespace {

// Every caption on show is whole in the font the system gives: a label's text
// fits its width (wrapped, its height), a button's caption its button, the
// information panel's lines the panel. Folder paths may be longer than their
// labels.
void CaptionsShowWhole(const MergeHarness& h) {
    for (QLabel* label : h.window->findChildren<QLabel*>()) {
        const bool fits = label->wordWrap() ? label->heightForWidth(label->width()) <= label->height()
                                            : label->sizeHint().width() <= label->width();
        QVERIFY2(fits || !label->isVisible() || label->objectName().contains("irectory"),
                 qPrintable(label->text()));
        QCOMPARE(UndrawnLetters(label->font(), label->text()), QString());
    }
    for (QPushButton* button : h.window->findChildren<QPushButton*>()) {
        QVERIFY2(button->fontMetrics().horizontalAdvance(button->text().remove('&')) + 8 <= button->width(),
                 qPrintable(button->text()));
        QCOMPARE(UndrawnLetters(button->font(), button->text()), QString());
    }
    auto* panel = h.control<InfoPanel>("TChart1");
    for (const QString& line : panel->titleLines())
        QVERIFY2(panel->fontMetrics().horizontalAdvance(line) + 8 <= panel->width(), qPrintable(line));
}

// The lightness of the darkest pixel of a control as drawn: its caption's ink.
int Darkest(QWidget* w) {
    const QImage image = w->grab().toImage();
    int darkest = 255;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            darkest = std::min(darkest, image.pixelColor(x, y).lightness());
    return darkest;
}

// The folders the load starts from and chooses. Paths below the root; ""
// is the presentation's folder "talks".
struct LoadCase {
    const char *presentation, *argument, *file, *source, *output;
};

} // namespace

Q_DECLARE_METATYPE(LoadCase)

class AvlmergeWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void loadChoosesTheSourceAndOutputFolders_data() {
        QTest::addColumn<LoadCase>("c");
        QTest::newRow("the meeting folder") << LoadCase{
            "talks", nullptr, "addin/dataBank/Monday Meeting/x.rec", "addin/dataBank/Monday Meeting", ""};
        QTest::newRow("no presentation")
            << LoadCase{nullptr, nullptr, "addin/dataBank/x.rec", "addin/dataBank/", "addin/data"};
        QTest::newRow("and no dataBank")
            << LoadCase{nullptr, nullptr, "addin/data/x.rec", "addin/data", "addin/data"};
        QTest::newRow("no meeting folder") << LoadCase{"talks", nullptr, "talks/x.rec", "", ""};
        QTest::newRow("no such argument") << LoadCase{"talks", "NO SUCH FOLDER", "talks/x.rec", "", ""};
        QTest::newRow("the argument before the meeting") << LoadCase{"talks", "ARG", "ARG/x.rec", "ARG", ""};
        // A presentation whose folder has gone: only a lower-case ".ppt" is cut.
        QTest::newRow("the presentation's folder gone") << LoadCase{
            "gone", nullptr, "addin/dataBank/Talk.PPT/x.rec", "addin/dataBank/Talk.PPT", "addin/data"};
    }

    void loadChoosesTheSourceAndOutputFolders() {
        QFETCH(LoadCase, c);
        MergeHarness h;
        h.app.presentation.reset();
        // The window reads no slide, so slides it cannot read stop nothing.
        h.app.failure = [] { throw FormatError("Monday Meeting.pptx", 0, "a slide cannot be read"); };
        if (c.presentation)
            h.app.presentation = PresentationInfo{
                h.root.at(c.presentation), *c.presentation == 'g' ? "Talk.PPT" : "Monday Meeting.ppt", {}};
        if (c.argument) { // given with a meeting folder there to pass over
            h.mod.SourceFolderArg = h.root.at(c.argument);
            h.writeMeetingFile("m.rec");
        }
        h.writeMeetingFile(c.file);
        QVERIFY(h.open());
        const auto folder = [&](const char* f) {
            return QString::fromStdString(*f ? h.root.at(f) : h.talks());
        };
        QCOMPARE(QStringList({h.label("lbl_directory")->text(), h.label("lblOutputDirectory")->text()}) +
                     h.texts("Lst_InputList"),
                 QStringList({folder(c.source), folder(c.output), "x"}));
        // The listing entered the source folder: bare names resolve there.
        // (Compared without the shown folder's closing separator: Windows'
        // C library cannot read a folder named with one.)
        std::string entered = folder(c.source).toStdString();
        if (entered.back() == kPathSeparator)
            entered.pop_back();
        QVERIFY(std::filesystem::equivalent(h.files.currentDirectory(), entered));
        QCOMPARE(h.mod.PowerPointApp, nullptr); // released by the load
    }

    // No presentation and no data folder to fall back on: the load ends with
    // the failure, which start-up reports.
    void loadWithoutAnyFolderFails() {
        MergeHarness h;
        h.app.presentation.reset();
        std::filesystem::remove_all(h.root.at("addin/data"));
        QVERIFY_THROWS_EXCEPTION(FileError, avlmerge(h.mod));
    }

    // The demo in file mode, as the documentation runs it: the demo
    // presentation's meeting folder is the demo meeting's, with its files.
    void theDemoPresentationOpensOnTheDemoMeeting() {
        MergeHarness h;
        FilePresentationApp demo{h.files, AVELIN_SOURCE_DIR "/examples/presentation/Demo Meeting.ppt",
                                 AVELIN_SOURCE_DIR "/examples/addin"};
        h.mod.PowerPointApp = &demo;
        h.mod.AddinPath = demo.addinPath("avelin");
        QVERIFY(h.open());
        QVERIFY(h.label("lbl_directory")->text().endsWith("Demo Meeting"));
        QCOMPARE(h.texts("Lst_InputList"), QStringList({"Monday", "Tuesday", "votes"}));
    }

    // Both lists sort without regard to case (a byte sort puts capitals
    // first), and each group name stays at its file's position, whichever
    // folder the file came from.
    void selectionListsSortAndKeepFilesPairedWithGroupNames() {
        MergeHarness h;
        for (const char* path : {"beta.rec", "Alpha.rec", "votes.rec", "Charlie.rec", "North/alpha.rec",
                                 "North/votes.rec", "North/Bravo.rec"})
            h.writeMeetingFile(path);
        QVERIFY(h.open());
        QCOMPARE(h.texts("Lst_InputList"), QStringList({"Alpha", "beta", "Charlie", "votes"}));
        h.select({"votes", "Charlie", "Alpha"});
        // Another source folder: the selection stays.
        h.window->setDirectoryCaption(h.root.at("North"));
        h.window->GetFilesInFolder();
        h.select({"votes", "alpha"});
        const QString n = QString::fromStdString(h.root.at("North") + kPathSeparator);
        QCOMPARE(h.texts("Lst_Files"), QStringList({h.inMeeting("Alpha"), h.inMeeting("Charlie"),
                                                    h.inMeeting("votes"), n + "alpha", n + "votes"}));
        // "votes" takes its folder's name; a name equal but for case gets "-1".
        QCOMPARE(h.texts("lst_groupnames"),
                 QStringList({"Alpha", "Charlie", "Monday Meeting", "alpha-1", "North"}));

        // Removing a file of another folder takes out its own group name and
        // offers nothing; one of the folder on show goes back to its place.
        h.doubleClick("Lst_Files", h.inMeeting("Charlie"));
        QCOMPARE(h.texts("Lst_InputList"), QStringList({"Bravo"}));
        h.doubleClick("Lst_Files", n + "alpha");
        QCOMPARE(h.texts("Lst_InputList"), QStringList({"alpha", "Bravo"}));
        QCOMPARE(h.texts("Lst_Files"),
                 QStringList({h.inMeeting("Alpha"), h.inMeeting("votes"), n + "votes"}));
        QCOMPARE(h.texts("lst_groupnames"), QStringList({"Alpha", "Monday Meeting", "North"}));
    }

    // The captions follow the count and show whole; the red merge button's
    // caption is drawn in black, readable on red. The information panel
    // fades in once, in steps of 1 every 50 ms from the window's creation.
    void captionsFollowTheCountAndAnEleventhFileCannotBeSelected() {
        MergeHarness h;
        QStringList names;
        for (int i = 10; i < 22; ++i) {
            h.writeMeetingFile("f" + std::to_string(i) + ".rec");
            names << "f" + QString::number(i);
        }
        QVERIFY(h.open());
        auto* panel = h.control<InfoPanel>("TChart1");
        QVERIFY(panel->property("transparency").toInt() < 20);
        QLabel* files = h.label("lbl_files");
        QPushButton* go = h.button("cmd_go");
        QCOMPARE(h.box("txt_ofile")->text() + "|" + go->text(),
                 QString("merged votes.rec|Need 2 files selected. "));
        h.box("txt_ofile")->clear();
        QCOMPARE(go->text(), QString("Need 2 files selected. Need output file. "));
        CaptionsShowWhole(h);
        QVERIFY(Darkest(go) < 40);
        h.box("txt_ofile")->setText("out");
        h.select({"f10"});
        QVERIFY(files->text() == "1 File selected for merging" && !go->isEnabled());
        h.select({"f11"});
        QVERIFY(files->text() == "2 Files selected for merging" && go->text() == "GO." && go->isEnabled());
        h.box("txt_ofile")->clear(); // no output name: not ready, whatever the count
        QCOMPARE(go->text(), QString("Need output file. "));

        h.select(names.mid(2, 8));
        QCOMPARE(h.label("lbl_inputlist")->text(), QString("Maximum of 10 files merged"));
        CaptionsShowWhole(h);
        // The eleventh file is refused: it stays available, nothing else changes.
        h.select({"f20"});
        QCOMPARE(h.texts("Lst_InputList") << QString::number(h.list("lst_groupnames")->count()),
                 QStringList({"f20", "f21", "10"}));
        h.doubleClick("Lst_Files", h.inMeeting("f15"));
        QCOMPARE(h.label("lbl_inputlist")->text() + "|" + files->text(),
                 QString("Files available for merging|9 Files selected for merging"));
        QTRY_COMPARE_WITH_TIMEOUT(panel->property("transparency").toInt(), 100, 15000);
        QVERIFY(!h.control<QTimer>("tmrInfoLabel")->isActive());
    }

    // A refused name leaves the frame open with the reason, puts the old name
    // back and keeps the focus, whether OK is clicked or pressed by Enter: the
    // name typed, Enter or a click on OK, and the reason. A change of letter
    // case clashes with the entry itself.
    void renameFrameRefusesClashesAndNamesNoFileCanHave_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("enter");
        QTest::addColumn<QString>("reason");
        QTest::newRow("a clash") << "North" << true << "That name already appears in the list, try again.";
        QTest::newRow("a slash") << "a/b" << false << "Filename cannot contain illegal characters";
        QTest::newRow("a device") << "Lpt3.votes" << true << "LPT3 is a device name Windows reserves";
    }

    void renameFrameRefusesClashesAndNamesNoFileCanHave() {
        QFETCH(QString, typed);
        QFETCH(bool, enter);
        QFETCH(QString, reason);
        MergeHarness h;
        for (const char* name : {"north.rec", "south.rec", "west.rec"})
            h.writeMeetingFile(name);
        QVERIFY(h.open());
        h.select({"north", "south"});
        QGroupBox* frame = h.control<QGroupBox>("frm_newname");
        QLineEdit* name = h.box("txt_newname");
        QLabel* prompt = h.label("lbl_newname");

        h.doubleClick("lst_groupnames", "north");
        QVERIFY(frame->isVisible() && name->hasFocus() && name->selectedText() == "north");
        h.retype("txt_newname", typed);
        if (enter)
            QTest::keyClick(name, Qt::Key_Return);
        else
            h.click("cmd_newname_0");
        QCOMPARE(prompt->text(), reason);
        CaptionsShowWhole(h);
        QVERIFY(frame->isVisible() && name->hasFocus() && name->text() == "north");
        QCOMPARE(h.texts("lst_groupnames"), QStringList({"north", "south"}));
        // The check runs before Cancel too: the first Cancel only puts the old
        // name back, the second closes the frame and resets the prompt.
        h.retype("txt_newname", "a/b");
        h.click("cmd_newname_1");
        QVERIFY(frame->isVisible() && name->text() == "north");
        h.click("cmd_newname_1");
        QVERIFY(!frame->isVisible() && prompt->text() == "Enter the new name below");

        // A new name replaces the entry in place. OK is the frame's default
        // button: Enter presses it also when the focus has gone to a list.
        h.doubleClick("lst_groupnames", "south");
        h.retype("txt_newname", "East");
        MergeHarness::click(h.list("Lst_InputList"));
        QVERIFY(frame->isVisible() && h.list("Lst_InputList")->hasFocus());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QVERIFY(!frame->isVisible());
        QCOMPARE(h.texts("lst_groupnames"), QStringList({"north", "East"}));

        // A double click on the lists drops the edit without resetting the prompt.
        h.doubleClick("lst_groupnames", "north");
        h.retype("txt_newname", "n:1");
        h.click("cmd_newname_0");
        h.doubleClick("Lst_InputList", "west");
        QVERIFY(!frame->isVisible() && prompt->text() == "Filename cannot contain illegal characters");
        QCOMPARE(h.texts("lst_groupnames"), QStringList({"north", "East", "west"}));
    }

    // An output name no file can have keeps the focus in its box: no other
    // control acts and nothing is written, although the merge button is enabled.
    void outputNameNoFileCanHaveKeepsTheFocus_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("reason");
        QTest::newRow("a question mark") << "a?b"
                                         << "Filename cannot contain illegal characters";
        QTest::newRow("too long") << QString(252, 'r') << "That name is too long";
    }

    void outputNameNoFileCanHaveKeepsTheFocus() {
        QFETCH(QString, typed);
        QFETCH(QString, reason);
        MergeHarness h;
        for (const char* name : {"a.rec", "b.rec", "c.rec"})
            h.writeMeetingFile(name);
        QVERIFY(h.open());
        h.select({"a", "b"});
        const std::string before = Tree(h.root.path());
        QLineEdit* ofile = h.box("txt_ofile");
        QLabel* outfile = h.label("lbl_outfile");
        h.retype("txt_ofile", typed);
        QVERIFY(h.button("cmd_go")->isEnabled());
        h.click("cmd_go");
        QCOMPARE(outfile->text(), reason);
        CaptionsShowWhole(h);
        QVERIFY(ofile->hasFocus() && ofile->text() == typed); // left as typed, no extension
        h.click("cmd_obrowse");
        h.click("cmd_browseinput");
        h.click("cmd_cancel");
        QTest::keyClick(ofile, Qt::Key_Q, Qt::AltModifier); // "&Quit" by its access key
        QTest::keyClick(ofile, Qt::Key_Tab);
        h.doubleClick("Lst_InputList", "c");
        h.doubleClick("lst_groupnames", "a");
        QVERIFY(ofile->hasFocus() && h.window->browser() == nullptr && h.window->isEnabled());
        QVERIFY(h.process.endCalls == 0 && h.dialogs.messages.empty() && h.dialogs.saveRequests.empty());
        QVERIFY(h.list("Lst_Files")->count() == 2 && !h.control<QGroupBox>("frm_newname")->isVisible());
        QCOMPARE(Tree(h.root.path()), before);

        // Corrected, the focus may go: the extension is completed on the way
        // out (".REC" counts as none) and the next check resets the label.
        h.retype("txt_ofile", "result.REC");
        MergeHarness::click(h.list("Lst_Files"));
        QCOMPARE(ofile->text() + "|" + outfile->text(), QString("result.REC.rec|Output Filename:"));
        // The success text ends with a full stop but names no file: the focus may leave it.
        h.click("cmd_go");
        QCOMPARE(ofile->text(), QString("2 vote files successfully merged."));
        h.click(ofile);
        h.click("cmd_cancel");
        QCOMPARE(h.process.endCalls, 1);
    }
};

QTEST_MAIN(AvlmergeWindowTest)
#include "avlmerge_window_test.moc"
