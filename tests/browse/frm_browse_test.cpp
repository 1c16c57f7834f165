// The folder browser opened from the merge window's "Browse" button, driven
// through its real controls.
#include <QApplication>
#include <QCloseEvent>
#include <QtTest/qtestspontaneevent.h>

#include "browse/frm_browse.h"
#include "merge/avlmerge_harness.h"

using namespace avelin;
using namespace avelin::test;

namespace {

// The folder browser, opened by its button, and its controls.
struct Browser {
    frm_browse* b;
    explicit Browser(MergeHarness& h) : b((h.click("cmd_browseinput"), h.window->browser())) {
        if (!b || !QTest::qWaitForWindowActive(b))
            qWarning("the folder browser did not open");
    }
    std::string shown() const { return b->findChild<QLabel*>("lbl_newfolder")->text().toStdString(); }
    void press(const char* button) const { MergeHarness::click(b->findChild<QPushButton*>(button)); }
    // The folder list's entries, without their indent.
    QStringList folders() const {
        QStringList all;
        for (const QString& entry : MergeHarness::texts(b->findChild<QListWidget*>("lst_folders")))
            all << entry.trimmed();
        return all;
    }
    // Clicks (or double-clicks) the folder list's entry of that name.
    void open(const QString& name, bool twice = true) const {
        auto* list = b->findChild<QListWidget*>("lst_folders");
        QListWidgetItem* item = list->item(static_cast<int>(folders().indexOf(name)));
        QVERIFY2(item, qPrintable("no folder " + name));
        list->scrollToItem(item);
        const QPoint at = list->visualItemRect(item).center();
        if (twice)
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
        else
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    }
};

// The title bar's close button, as the window system sends it.
void CloseButton(QWidget* w) {
    QCloseEvent close;
    QSpontaneKeyEvent::setSpontaneous(&close);
    qApp->notify(w, &close);
}

} // namespace

class FrmBrowseTest : public QObject {
    Q_OBJECT

  private slots:
    void okHandsOverTheOpenedFolderOnly() {
        MergeHarness h;
        for (const char* path : {"a.rec", "b.rec", "Older/o.rec", "Other/x.rec"})
            h.writeMeetingFile(std::string("addin/dataBank/Monday Meeting/") + path);
        QVERIFY(h.open());
        h.select({"a"});

        Browser b(h);
        QVERIFY(b.b && !h.window->isEnabled());
        QCOMPARE(b.b->pos(), h.window->pos());
        QCOMPARE(b.shown(), h.meeting());
        // The chain down to the open folder, then its subfolders.
        QCOMPARE(b.folders().mid(b.folders().size() - 3), QStringList({"Monday Meeting", "Older", "Other"}));
        // The merge window takes no input meanwhile, not even its close button.
        h.click("cmd_cancel");
        CloseButton(h.window.get());
        QCOMPARE(h.process.endCalls, 0);

        // Highlighting is not opening; a double click opens.
        b.open("Other", false);
        QCOMPARE(b.shown(), h.meeting());
        b.open("Older");
        QCOMPARE(b.shown(), Join(h.meeting(), "Older"));
        b.open("Monday Meeting", false);
        b.press("cmd_ok_0");
        QCOMPARE(h.label("lbl_directory")->text().toStdString(), Join(h.meeting(), "Older"));
        QCOMPARE(h.texts("Lst_InputList"), QStringList({"o"}));
        QCOMPARE(h.texts("Lst_Files"), QStringList({h.inMeeting("a")}));
        QVERIFY(h.window->isEnabled());
        QTRY_VERIFY(h.window->browser() == nullptr);

        // Back to the meeting folder through the chain, then OK at once lists
        // it again: a file added meanwhile shows, the selected one stays out.
        h.writeMeetingFile("c.rec");
        Browser again(h);
        QCOMPARE(again.shown(), Join(h.meeting(), "Older"));
        again.open("Monday Meeting");
        again.press("cmd_ok_0");
        QCOMPARE(h.texts("Lst_InputList"), QStringList({"b", "c"}));

        // The drive list opens its drive's current folder: the current
        // directory, which the last listing made the source folder.
        Browser third(h);
        QVERIFY(third.b->setFolderPath(Join(h.meeting(), "Other")));
        third.b->lst_drives_Change();
        QCOMPARE(third.shown(), h.meeting());
        QVERIFY(!third.b->setFolderPath(Join(h.meeting(), "gone"))); // not opened
        QCOMPARE(third.b->folderPath(), h.meeting());
    }

    void cancelAndCloseChangeNothing() {
        MergeHarness h;
        h.writeMeetingFile("a.rec");
        h.writeMeetingFile("addin/dataBank/Monday Meeting/Older/o.rec");
        QVERIFY(h.open());
        for (int way = 0; way < 2; ++way) {
            Browser b(h);
            QVERIFY(b.b->setFolderPath(Join(h.meeting(), "Older")));
            way == 0 ? b.press("cmd_ok_1") : void(b.b->close()); // Cancel, or the title bar's close button
            QCOMPARE(h.label("lbl_directory")->text().toStdString(), h.meeting());
            QCOMPARE(h.texts("Lst_InputList"), QStringList({"a"}));
            QVERIFY(h.window->isEnabled());
            QTRY_VERIFY(h.window->browser() == nullptr);
        }
        QCOMPARE(h.process.endCalls, 0);
        // Enabled again, the merge window's close button ends the program.
        CloseButton(h.window.get());
        QCOMPARE(h.process.endCalls, 1);
    }

    void startsOnAFolderThatExists() {
        MergeHarness h;
        h.writeMeetingFile("a.rec");
        QVERIFY(h.open());
        // The source folder went after its listing: its parent is opened.
        h.window->setDirectoryCaption(Join(h.meeting(), "gone"));
        Browser b(h);
        QCOMPARE(b.shown(), h.meeting());
        b.press("cmd_ok_1");
        QTRY_VERIFY(h.window->browser() == nullptr);
        // Nothing of it exists: the current directory is opened.
        h.window->setDirectoryCaption(Join("no such", "folder"));
        Browser other(h);
        QCOMPARE(other.b->folderPath(), h.files.currentDirectory());
        other.press("cmd_ok_0");
        QCOMPARE(h.label("lbl_directory")->text().toStdString(), h.files.currentDirectory());
    }
};

QTEST_MAIN(FrmBrowseTest)
#include "frm_browse_test.moc"
