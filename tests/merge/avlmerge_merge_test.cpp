// The merge button of the merge window: the overwrite question, failures that
// leave everything as it was, and a whole merge that must write what the
// command-line merge writes for the same inputs.
#include <QDir>
#include <QProcess>
#include <filesystem>

#include "avlmerge_harness.h"

using namespace avelin;
using namespace avelin::test;

class AvlmergeMergeTest : public QObject {
    Q_OBJECT

  private slots:
    void overwriteQuestionAndTheEndAfterMerging();
    void failedMergeShowsTheFileAndChangesNothing();
    void mergeWritesWhatTheCommandLineMergeWrites();
};

namespace {

const QString kSuccess = "2 vote files successfully merged.";

// What a window must still show after a refused or failed merge.
void VerifyReadyAndUnchanged(const MergeHarness& h, const QStringList& files) {
    QCOMPARE(h.button("cmd_go")->text(), QString("GO."));
    QVERIFY(h.button("cmd_go")->isEnabled());
    QCOMPARE(h.box("txt_ofile")->text(), QString("merged votes.rec"));
    QCOMPARE(MergeHarness::texts(h.list("Lst_Files")), files);
    QCOMPARE(h.list("lst_temp")->count(), 0);
}

} // namespace

void AvlmergeMergeTest::overwriteQuestionAndTheEndAfterMerging() {
    MergeHarness h;
    h.writeMeetingFile("addin/dataBank/Monday Meeting/a.rec");
    h.writeMeetingFile("addin/dataBank/Monday Meeting/b.rec", 3);
    h.root.write("talks/merged votes.rec", "old");
    QVERIFY(h.open());
    h.select({"a", "b"});
    const QStringList selected = MergeHarness::texts(h.list("Lst_Files"));
    const std::string before = Tree(h.root.path());

    h.dialogs.nextAnswers = {mb::No};
    MergeHarness::click(h.button("cmd_go"));
    QCOMPARE(h.dialogs.messages.size(), std::size_t(1));
    QCOMPARE(h.dialogs.messages[0].title, std::string("Confrim File Replace"));
    QCOMPARE(h.dialogs.messages[0].text, std::string("The output file, merged votes.rec, already exists.\r\n"
                                                     "Do you want to overwrite this file?"));
    QCOMPARE(h.dialogs.messages[0].style, mb::YesNo + mb::Information);
    QCOMPARE(h.root.read("talks/merged votes.rec"), std::string("old"));
    QCOMPARE(Tree(h.root.path()), before);
    VerifyReadyAndUnchanged(h, selected);
    if (QTest::currentTestFailed())
        return;

    h.dialogs.nextAnswers = {mb::Yes};
    MergeHarness::click(h.button("cmd_go"));
    QCOMPARE(h.dialogs.messages.size(), std::size_t(2));
    QCOMPARE(h.box("txt_ofile")->text(), kSuccess);
    QCOMPARE(h.button("cmd_go")->text(), QString("OK"));
    QCOMPARE(MergeHarness::texts(h.list("lst_temp")), QStringList({"Vote 1.avl", "Vote 2.avl"}));
    // Replaced by the merge (its content is compared in the test below).
    QVERIFY(h.root.read("talks/merged votes.rec")
                .ends_with("\"\\MergeInfo.avl\",2,5,\"0;0;1;1;1;\",\"14:05:09\",\"04/12/2026\"\r\n"));
    QVERIFY(h.root.exists("talks/a.grp") && h.root.exists("talks/b.grp") &&
            h.root.exists("talks/MergeInfo.avl"));
    QCOMPARE(h.process.endCalls, 0);

    // Pressed again, it ends the program without writing anything.
    const std::string after = Tree(h.root.path());
    MergeHarness::click(h.button("cmd_go"));
    QCOMPARE(h.process.endCalls, 1);
    QCOMPARE(h.dialogs.messages.size(), std::size_t(2));
    QCOMPARE(Tree(h.root.path()), after);
    QVERIFY(after != before);
}

void AvlmergeMergeTest::failedMergeShowsTheFileAndChangesNothing() {
    MergeHarness h;
    h.writeMeetingFile("addin/dataBank/Monday Meeting/a.rec");
    // A line that stops after the keypad count.
    h.root.write("addin/dataBank/Monday Meeting/b.rec",
                 MeetingLine("Vote 1.avl", "1;2;") + "\"C:\\Talks\\Vote 2.avl\",4,2\r\n");
    h.writeMeetingFile("addin/dataBank/Monday Meeting/c.rec");
    QVERIFY(h.open());
    const QString dir = QString::fromStdString(h.meeting() + kPathSeparator);
    const auto everything = [&] { return Tree(h.root.path()); };

    // A malformed input: its path and line in a critical message.
    h.select({"a", "b"});
    std::string before = everything();
    MergeHarness::click(h.button("cmd_go"));
    QCOMPARE(h.dialogs.messages.size(), std::size_t(1));
    ShownMessage shown = h.dialogs.messages.back();
    QCOMPARE(shown.style, mb::OkOnly + mb::Critical);
    QCOMPARE(shown.title, std::string("avelin Merge Voting Data"));
    QVERIFY2(shown.text.find(h.meeting() + kPathSeparator + "b.rec, line 2") != std::string::npos,
             shown.text.c_str());
    QCOMPARE(everything(), before);
    VerifyReadyAndUnchanged(h, {dir + "a", dir + "b"});
    if (QTest::currentTestFailed())
        return;

    // An input that went after it was selected: its path and the system's reason.
    MergeHarness::doubleClick(h.list("Lst_Files"), dir + "b");
    h.select({"c"});
    std::filesystem::remove(h.meeting() + kPathSeparator + "c.rec");
    before = everything();
    MergeHarness::click(h.button("cmd_go"));
    QCOMPARE(h.dialogs.messages.size(), std::size_t(2));
    shown = h.dialogs.messages.back();
    QVERIFY2(shown.text.find(h.meeting() + kPathSeparator + "c.rec: No such file or directory") !=
                 std::string::npos,
             shown.text.c_str());
    QCOMPARE(everything(), before);
    VerifyReadyAndUnchanged(h, {dir + "a", dir + "c"});
    if (QTest::currentTestFailed())
        return;

    // An output folder that cannot be written to.
    h.writeMeetingFile("addin/dataBank/Monday Meeting/c.rec");
    const std::string missing = h.root.at("no folder");
    h.dialogs.nextFileNames.push_back(Join(missing, "merged votes.rec"));
    MergeHarness::click(h.button("cmd_obrowse"));
    before = everything();
    MergeHarness::click(h.button("cmd_go"));
    QCOMPARE(h.dialogs.messages.size(), std::size_t(3));
    shown = h.dialogs.messages.back();
    QVERIFY2(shown.text.find(missing + kPathSeparator) != std::string::npos, shown.text.c_str());
    QCOMPARE(everything(), before);
    VerifyReadyAndUnchanged(h, {dir + "a", dir + "c"});
    QCOMPARE(h.process.endCalls, 0);
}

void AvlmergeMergeTest::mergeWritesWhatTheCommandLineMergeWrites() {
    const std::filesystem::path demo =
        std::filesystem::path(AVELIN_SOURCE_DIR) / "examples" / "addin" / "dataBank" / "Demo Meeting";
    std::vector<std::string> demoFiles;
    for (const auto& e : std::filesystem::directory_iterator(demo))
        if (e.path().extension() == ".rec")
            demoFiles.push_back(e.path().filename().string());
    std::sort(demoFiles.begin(), demoFiles.end());
    QVERIFY2(demoFiles.size() >= 2, "the demo meeting holds fewer than two results files");

    MergeHarness h;
    const std::string meeting = h.meeting();
    std::filesystem::create_directories(meeting);
    for (const std::string& name : {demoFiles[0], demoFiles[1]})
        std::filesystem::copy_file(demo / name, std::filesystem::path(meeting) / name);
    const QString first = QString::fromStdString(demoFiles[0].substr(0, demoFiles[0].size() - 4));
    const QString second = QString::fromStdString(demoFiles[1].substr(0, demoFiles[1].size() - 4));
    QVERIFY(h.open());

    h.select({second, first});
    MergeHarness::doubleClick(h.list("lst_groupnames"), first);
    MergeHarness::retype(h.box("txt_newname"), "Front row");
    QTest::keyClick(h.box("txt_newname"), Qt::Key_Return);
    const QStringList groups = MergeHarness::texts(h.list("lst_groupnames"));
    QCOMPARE(groups, QStringList({"Front row", second}));
    const std::string windowOut = h.root.at("window");
    std::filesystem::create_directories(windowOut);
    h.dialogs.nextFileNames.push_back(Join(windowOut, "combined.rec"));
    MergeHarness::click(h.button("cmd_obrowse"));
    MergeHarness::click(h.button("cmd_go"));
    QVERIFY2(h.dialogs.messages.empty(),
             h.dialogs.messages.empty() ? "" : h.dialogs.messages.front().text.c_str());
    QCOMPARE(h.box("txt_ofile")->text(), kSuccess);

    // The same merge from the command line, at the same pinned time.
    const std::string cliOut = h.root.at("cli");
    std::filesystem::create_directories(cliOut);
    QProcess rec;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    const DateTime& t = h.clock.time;
    env.insert("AVELIN_FIXED_NOW", QString::asprintf("%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day,
                                                     t.hour, t.minute, t.second));
    rec.setProcessEnvironment(env);
    QStringList args{"merge", "-o", QString::fromStdString(Join(cliOut, "combined.rec"))};
    for (const QString& g : groups)
        args << "-g" << g;
    for (const QString& f : MergeHarness::texts(h.list("Lst_Files")))
        args << f + ".rec";
    rec.start(AVELIN_BINARY_DIR "/src/cli/avelin-rec", args);
    QVERIFY(rec.waitForFinished(30000));
    QVERIFY2(rec.exitCode() == 0, rec.readAllStandardError().constData());

    const auto names = [](const std::string& folder) {
        QStringList all = QDir(QString::fromStdString(folder)).entryList(QDir::Files);
        all.sort();
        return all;
    };
    QStringList expected{"Front row.grp", "MergeInfo.avl", second + ".grp", "combined.rec"};
    expected.sort();
    QCOMPARE(names(windowOut), expected);
    QCOMPARE(names(windowOut), names(cliOut));
    for (const QString& name : names(cliOut)) {
        const std::string a = h.root.read("window/" + name.toStdString());
        const std::string b = h.root.read("cli/" + name.toStdString());
        QVERIFY2(a == b, qPrintable(name + " differs"));
    }
    QVERIFY(h.root.read("window/combined.rec").find("MergeInfo.avl") != std::string::npos);
}

QTEST_MAIN(AvlmergeMergeTest)
#include "avlmerge_merge_test.moc"
