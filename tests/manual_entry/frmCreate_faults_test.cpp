// The manual data window's save when the file cannot be written at some
// step, and with names Windows cannot create: a message that names the file
// and says why, the earlier file untouched, the counts kept for another try.
#include <QPushButton>
#include <QTest>
#include <filesystem>

#include "frmCreate_fixture.h"

using namespace avelin;
using avelin::test::AvlText;
using avelin::test::CreateWindowFixture;

Q_DECLARE_METATYPE(avelin::FileStep)

namespace {

// One vote, one count typed; a file from an earlier save is in the folder.
struct Saving : CreateWindowFixture {
    Saving() {
        addVote("vote1.AVL", AvlText("", 4, 1));
        folder.write("Manual Votes.rec", "earlier results\r\n");
        open();
        setCell(1, 2, "3");
    }
    void save() const { QTest::mouseClick(find<QPushButton>("cmdSave"), Qt::LeftButton); }
    std::string in(const std::string& name) const { return folder.at(name); }
};

} // namespace

class FrmCreateFaultsTest : public QObject {
    Q_OBJECT

  private slots:
    void failedWriteNamesTheFileAndKeepsTheEarlierOne_data() {
        QTest::addColumn<FileStep>("step");
        for (FileStep step : {FileStep::CreateTemporary, FileStep::Write, FileStep::Close, FileStep::Rename})
            QTest::addRow("%s", FileStepName(step)) << step;
    }

    void failedWriteNamesTheFileAndKeepsTheEarlierOne() {
        QFETCH(FileStep, step);
        Saving f;
        f.files.faults.fail(step, "*.rec", "No space left on device");
        f.dialogs.nextFileNames = {f.in("Manual Votes.rec"), f.in("New.rec")};
        f.dialogs.nextAnswers = {mb::Yes};
        f.save(); // replacing the earlier file
        f.save(); // a new one
        QCOMPARE(f.dialogs.messages.size(), 3u);
        for (const auto& [message, name] : {std::pair{1, "Manual Votes.rec"}, std::pair{2, "New.rec"}}) {
            const test::ShownMessage& m = f.dialogs.messages[static_cast<std::size_t>(message)];
            QCOMPARE(m.text,
                     "The file " + f.in(name) + " could not be saved.\r\n\r\nNo space left on device");
            QCOMPARE(m.style, mb::OkOnly + mb::Critical);
        }
        QCOMPARE(f.folder.read("Manual Votes.rec"), std::string("earlier results\r\n"));
        QCOMPARE(f.folder.listing(), std::string("Manual Votes.rec\nvote1.AVL\n")); // no temporary file
        QVERIFY(f.grid()->isVisible());
        QCOMPARE(f.cell(1, 2), QString("3"));

        f.files.faults = FileFaults();
        f.dialogs.nextFileNames = {f.in("New.rec")};
        f.save();
        QVERIFY(f.folder.read("New.rec").find("\"1;1;1;\"") != std::string::npos);
    }

    // The reason, then the dialog again on the chosen name; a good name is saved.
    void namesWindowsCannotCreateAskAgain() {
        Saving f;
        const std::string sep(1, kPathSeparator);
        const std::string tooLong = f.in(std::string(4096, 'f')) + sep + "Manual Votes.rec";
        const std::pair<std::string, std::string> refused[] = {
            {f.in("con.rec"), "CON is a device name Windows reserves"},
            {f.in("Com9"), "COM9 is a device name Windows reserves"},
            {f.in("Manual Votes.rec."), "A name cannot end with a blank or a full stop"},
            {f.in(std::string(256, 'm')), "That name is too long"},
            {tooLong, "That path is too long"},
        };
        for (const auto& [path, reason] : refused)
            f.dialogs.nextFileNames.push_back(path);
        f.dialogs.nextFileNames.push_back(f.in("Good.rec"));
        f.save();
        QCOMPARE(f.dialogs.messages.size(), std::size(refused));
        QCOMPARE(f.dialogs.saveRequests.size(), std::size(refused) + 1);
        for (std::size_t i = 0; i < std::size(refused); ++i) {
            const test::ShownMessage& m = f.dialogs.messages[i];
            QCOMPARE(m.text,
                     "The file " + refused[i].first + " cannot be saved.\r\n\r\n" + refused[i].second);
            QCOMPARE(m.style, mb::OkOnly + mb::Exclamation);
            QCOMPARE(m.title, std::string("avelin Create Manual Data"));
            QCOMPARE(f.dialogs.saveRequests[i + 1].fileName, refused[i].first);
        }
        QCOMPARE(f.folder.listing(), std::string("Good.rec\nManual Votes.rec\nvote1.AVL\n"));

        // Refused, then cancelled: nothing is written.
        f.dialogs.nextFileNames = {f.in("aux.rec"), std::nullopt};
        f.save();
        QCOMPARE(f.folder.listing(), std::string("Good.rec\nManual Votes.rec\nvote1.AVL\n"));
    }

    void aFolderOfTheChosenNameIsLeftAlone() {
        Saving f;
        f.folder.write("Taken.rec/inside", "kept");
        f.dialogs.nextFileNames = {f.in("Taken.rec")};
        f.save();
        QCOMPARE(f.dialogs.messages.size(), 1u);
        QVERIFY(f.dialogs.messages[0].text.starts_with("The file " + f.in("Taken.rec") +
                                                       " could not be saved.\r\n\r\n"));
        QCOMPARE(f.folder.read("Taken.rec/inside"), std::string("kept"));
        QCOMPARE(f.folder.listing(), std::string("Manual Votes.rec\nTaken.rec\nvote1.AVL\n"));
    }
};

QTEST_MAIN(FrmCreateFaultsTest)
#include "frmCreate_faults_test.moc"
