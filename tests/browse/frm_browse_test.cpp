// The folder browser opened from the merge window's "Browse" button, driven
// through its real controls.
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QtTest/qtestspontaneevent.h>

#include "browse/frm_browse.h"
#include "merge/avlmerge_harness.h"

using namespace avelin;
using namespace avelin::test;

class FrmBrowseTest : public QObject {
    Q_OBJECT

  private slots:
    void okHandsOverTheOpenedFolderOnly();
    void cancelAndCloseChangeNothing();
    void startsOnAFolderThatExists();
};

namespace {

frm_browse* OpenBrowser(MergeHarness& h) {
    MergeHarness::click(h.button("cmd_browseinput"));
    frm_browse* b = h.window->browser();
    if (b && !QTest::qWaitForWindowActive(b))
        qWarning("the folder browser did not become active");
    return b;
}

template <class T> T* Control(frm_browse* b, const char* name) {
    return b->findChild<T*>(QString::fromLatin1(name));
}

// Clicks (or double-clicks) the folder list's entry of that name.
void ClickFolder(QListWidget* folders, const QString& name, bool twice = false) {
    for (int i = 0; i < folders->count(); ++i) {
        QListWidgetItem* item = folders->item(i);
        if (item->text().trimmed() != name)
            continue;
        folders->scrollToItem(item);
        const QPoint at = folders->visualItemRect(item).center();
        if (twice)
            QTest::mouseDClick(folders->viewport(), Qt::LeftButton, {}, at);
        else
            QTest::mouseClick(folders->viewport(), Qt::LeftButton, {}, at);
        return;
    }
    QFAIL(qPrintable("no folder " + name));
}

QString Shown(const std::string& path) {
    return QString::fromStdString(path);
}

} // namespace

void FrmBrowseTest::okHandsOverTheOpenedFolderOnly() {
    MergeHarness h;
    h.writeMeetingFile("addin/dataBank/Monday Meeting/a.rec");
    h.writeMeetingFile("addin/dataBank/Monday Meeting/b.rec");
    h.writeMeetingFile("addin/dataBank/Monday Meeting/Older/o.rec");
    h.writeMeetingFile("addin/dataBank/Monday Meeting/Other/x.rec");
    QVERIFY(h.open());
    h.select({"a"});

    frm_browse* b = OpenBrowser(h);
    QVERIFY(b);
    QVERIFY(b->isVisible());
    QCOMPARE(b->windowTitle(), QString("Select Source Folder"));
    QVERIFY(!h.window->isEnabled());
    QCOMPARE(b->pos(), h.window->pos());
    auto* folders = Control<QListWidget>(b, "lst_folders");
    auto* label = Control<QLabel>(b, "lbl_newfolder");
    QCOMPARE(label->text(), Shown(h.meeting()));
    QCOMPARE(Control<QPushButton>(b, "cmd_ok_0")->text(), QString("OK"));
    QCOMPARE(Control<QPushButton>(b, "cmd_ok_1")->text(), QString("Cancel"));
    QVERIFY(Control<QComboBox>(b, "lst_drives")->count() >= 1);
    // The chain down to the open folder, then its subfolders.
    const QStringList shown = MergeHarness::texts(folders);
    QVERIFY(shown.size() >= 3);
    QCOMPARE(shown.at(shown.size() - 3).trimmed(), QString("Monday Meeting"));
    QCOMPARE(shown.at(shown.size() - 2).trimmed(), QString("Older"));
    QCOMPARE(shown.last().trimmed(), QString("Other"));

    // The merge window takes no input meanwhile, not even its close button.
    MergeHarness::click(h.button("cmd_cancel"));
    QCloseEvent closeButton; // as the window system sends it
    QSpontaneKeyEvent::setSpontaneous(&closeButton);
    qApp->notify(h.window.get(), &closeButton);
    QCOMPARE(h.process.endCalls, 0);
    QVERIFY(h.window->isVisible());

    // Highlighting is not opening; a double click opens.
    ClickFolder(folders, "Other");
    QCOMPARE(label->text(), Shown(h.meeting()));
    ClickFolder(folders, "Older", true);
    QCOMPARE(label->text(), Shown(Join(h.meeting(), "Older")));
    QCOMPARE(MergeHarness::texts(folders).last().trimmed(), QString("Older"));
    ClickFolder(folders, "Monday Meeting");
    QCOMPARE(label->text(), Shown(Join(h.meeting(), "Older")));

    MergeHarness::click(Control<QPushButton>(b, "cmd_ok_0"));
    QCOMPARE(h.label("lbl_directory")->text(), Shown(Join(h.meeting(), "Older")));
    QCOMPARE(h.window->SourceFolder, Join(h.meeting(), "Older"));
    QCOMPARE(MergeHarness::texts(h.list("Lst_InputList")), QStringList({"o"}));
    QCOMPARE(MergeHarness::texts(h.list("Lst_Files")), QStringList({Shown(Join(h.meeting(), "a"))}));
    QVERIFY(h.window->isEnabled());
    QTRY_VERIFY(h.window->browser() == nullptr);

    // Back to the meeting folder through the chain, then OK at once lists it
    // again: a file added meanwhile shows, the selected one stays out.
    h.writeMeetingFile("addin/dataBank/Monday Meeting/c.rec");
    b = OpenBrowser(h);
    QCOMPARE(Control<QLabel>(b, "lbl_newfolder")->text(), Shown(Join(h.meeting(), "Older")));
    folders = Control<QListWidget>(b, "lst_folders");
    ClickFolder(folders, "Monday Meeting", true);
    MergeHarness::click(Control<QPushButton>(b, "cmd_ok_0"));
    QCOMPARE(MergeHarness::texts(h.list("Lst_InputList")), QStringList({"b", "c"}));
    QCOMPARE(h.list("Lst_Files")->count(), 1);

    // The drive list opens its drive's current folder: the current
    // directory, which the last listing made the source folder.
    b = OpenBrowser(h);
    QVERIFY(b->setFolderPath(Join(h.meeting(), "Other")));
    b->lst_drives_Change();
    QCOMPARE(Control<QLabel>(b, "lbl_newfolder")->text(), Shown(h.meeting()));
    // A folder that does not exist is not opened.
    QVERIFY(!b->setFolderPath(Join(h.meeting(), "gone")));
    QCOMPARE(b->folderPath(), h.meeting());
}

void FrmBrowseTest::cancelAndCloseChangeNothing() {
    MergeHarness h;
    h.writeMeetingFile("addin/dataBank/Monday Meeting/a.rec");
    h.writeMeetingFile("addin/dataBank/Monday Meeting/Older/o.rec");
    QVERIFY(h.open());
    const QStringList available = MergeHarness::texts(h.list("Lst_InputList"));

    for (int way = 0; way < 2; ++way) {
        frm_browse* b = OpenBrowser(h);
        QVERIFY(b->setFolderPath(Join(h.meeting(), "Older")));
        if (way == 0)
            MergeHarness::click(Control<QPushButton>(b, "cmd_ok_1"));
        else
            b->close(); // the title bar's close button
        QCOMPARE(h.label("lbl_directory")->text(), Shown(h.meeting()));
        QCOMPARE(MergeHarness::texts(h.list("Lst_InputList")), available);
        QVERIFY(h.window->isEnabled());
        QTRY_VERIFY(h.window->browser() == nullptr);
    }
    QCOMPARE(h.process.endCalls, 0);
    // Enabled again, the merge window's close button ends the program.
    QCloseEvent closeButton;
    QSpontaneKeyEvent::setSpontaneous(&closeButton);
    qApp->notify(h.window.get(), &closeButton);
    QCOMPARE(h.process.endCalls, 1);
}

void FrmBrowseTest::startsOnAFolderThatExists() {
    MergeHarness h;
    h.writeMeetingFile("addin/dataBank/Monday Meeting/a.rec");
    QVERIFY(h.open());

    // The source folder went after its listing: its parent is opened.
    h.window->setDirectoryCaption(Join(h.meeting(), "gone"));
    frm_browse* b = OpenBrowser(h);
    QCOMPARE(b->folderPath(), h.meeting());
    QCOMPARE(Control<QLabel>(b, "lbl_newfolder")->text(), Shown(h.meeting()));
    MergeHarness::click(Control<QPushButton>(b, "cmd_ok_1"));
    QTRY_VERIFY(h.window->browser() == nullptr);

    // Nothing of it exists: the current directory is opened.
    h.window->setDirectoryCaption(Join("no such", "folder"));
    b = OpenBrowser(h);
    QCOMPARE(b->folderPath(), h.files.currentDirectory());
    MergeHarness::click(Control<QPushButton>(b, "cmd_ok_0"));
    QCOMPARE(h.label("lbl_directory")->text(), Shown(h.files.currentDirectory()));
}

QTEST_MAIN(FrmBrowseTest)
#include "frm_browse_test.moc"
