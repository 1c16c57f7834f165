// The folder browser opened from the merge window's "Browse" button, driven
// through its real controls.
#include <QApplication>
#include <QCloseEvent>
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

// The folder browser, opened by its button, and its controls.
struct Browser {
    frm_browse* b;
    explicit Browser(MergeHarness& h) : b((h.click("cmd_browseinput"), h.window->browser())) {
        if (!b || !QTest::qWaitForWindowActive(b))
            qWarning("the folder browser did not open");
    }
    QString shown() const { return b->findChild<QLabel*>("lbl_newfolder")->text(); }
    void press(const char* button) const { MergeHarness::click(b->findChild<QPushButton*>(button)); }
    QListWidget* folders() const { return b->findChild<QListWidget*>("lst_folders"); }
    QString lastFolder() const { return folders()->item(folders()->count() - 1)->text().trimmed(); }
    // Clicks (or double-clicks) the folder list's entry of that name.
    void open(const QString& name, bool twice = true) const {
        for (int i = 0; i < folders()->count(); ++i)
            if (folders()->item(i)->text().trimmed() == name) {
                folders()->scrollToItem(folders()->item(i));
                const QPoint at = folders()->visualItemRect(folders()->item(i)).center();
                if (twice)
                    QTest::mouseDClick(folders()->viewport(), Qt::LeftButton, {}, at);
                else
                    QTest::mouseClick(folders()->viewport(), Qt::LeftButton, {}, at);
                return;
            }
        QFAIL(qPrintable("no folder " + name));
    }
};

QString Shown(const std::string& path) {
    return QString::fromStdString(path);
}

// The title bar's close button, as the window system sends it.
void CloseButton(QWidget* w) {
    QCloseEvent close;
    QSpontaneKeyEvent::setSpontaneous(&close);
    qApp->notify(w, &close);
}

} // namespace

void FrmBrowseTest::okHandsOverTheOpenedFolderOnly() {
    MergeHarness h;
    for (const char* path : {"a.rec", "b.rec", "Older/o.rec", "Other/x.rec"})
        h.writeMeetingFile(std::string("addin/dataBank/Monday Meeting/") + path);
    QVERIFY(h.open());
    h.select({"a"});

    Browser b(h);
    QVERIFY(b.b && b.b->isVisible());
    QVERIFY(!h.window->isEnabled());
    QCOMPARE(b.b->pos(), h.window->pos());
    QCOMPARE(b.shown(), Shown(h.meeting()));
    // The chain down to the open folder, then its subfolders.
    QStringList chain;
    for (int i = 0; i < b.folders()->count(); ++i)
        chain << b.folders()->item(i)->text().trimmed();
    QCOMPARE(chain.mid(chain.size() - 3), QStringList({"Monday Meeting", "Older", "Other"}));

    // The merge window takes no input meanwhile, not even its close button.
    h.click("cmd_cancel");
    CloseButton(h.window.get());
    QCOMPARE(h.process.endCalls, 0);
    QVERIFY(h.window->isVisible());

    // Highlighting is not opening; a double click opens.
    b.open("Other", false);
    QCOMPARE(b.shown(), Shown(h.meeting()));
    b.open("Older");
    QCOMPARE(b.shown(), Shown(Join(h.meeting(), "Older")));
    QCOMPARE(b.lastFolder(), QString("Older"));
    b.open("Monday Meeting", false);
    b.press("cmd_ok_0");
    QCOMPARE(h.label("lbl_directory")->text(), Shown(Join(h.meeting(), "Older")));
    QCOMPARE(h.window->SourceFolder, Join(h.meeting(), "Older"));
    QCOMPARE(h.texts("Lst_InputList"), QStringList({"o"}));
    QCOMPARE(h.texts("Lst_Files"), QStringList({h.inMeeting("a")}));
    QVERIFY(h.window->isEnabled());
    QTRY_VERIFY(h.window->browser() == nullptr);

    // Back to the meeting folder through the chain, then OK at once lists it
    // again: a file added meanwhile shows, the selected one stays out.
    h.writeMeetingFile("c.rec");
    Browser again(h);
    QCOMPARE(again.shown(), Shown(Join(h.meeting(), "Older")));
    again.open("Monday Meeting");
    again.press("cmd_ok_0");
    QCOMPARE(h.texts("Lst_InputList"), QStringList({"b", "c"}));

    // The drive list opens its drive's current folder: the current
    // directory, which the last listing made the source folder.
    Browser third(h);
    QVERIFY(third.b->setFolderPath(Join(h.meeting(), "Other")));
    third.b->lst_drives_Change();
    QCOMPARE(third.shown(), Shown(h.meeting()));
    // A folder that does not exist is not opened.
    QVERIFY(!third.b->setFolderPath(Join(h.meeting(), "gone")));
    QCOMPARE(third.b->folderPath(), h.meeting());
}

void FrmBrowseTest::cancelAndCloseChangeNothing() {
    MergeHarness h;
    h.writeMeetingFile("a.rec");
    h.writeMeetingFile("addin/dataBank/Monday Meeting/Older/o.rec");
    QVERIFY(h.open());
    for (int way = 0; way < 2; ++way) {
        Browser b(h);
        QVERIFY(b.b->setFolderPath(Join(h.meeting(), "Older")));
        if (way == 0)
            b.press("cmd_ok_1");
        else
            b.b->close(); // the title bar's close button
        QCOMPARE(h.label("lbl_directory")->text(), Shown(h.meeting()));
        QCOMPARE(h.texts("Lst_InputList"), QStringList({"a"}));
        QVERIFY(h.window->isEnabled());
        QTRY_VERIFY(h.window->browser() == nullptr);
    }
    QCOMPARE(h.process.endCalls, 0);
    // Enabled again, the merge window's close button ends the program.
    CloseButton(h.window.get());
    QCOMPARE(h.process.endCalls, 1);
}

void FrmBrowseTest::startsOnAFolderThatExists() {
    MergeHarness h;
    h.writeMeetingFile("a.rec");
    QVERIFY(h.open());
    // The source folder went after its listing: its parent is opened.
    h.window->setDirectoryCaption(Join(h.meeting(), "gone"));
    Browser b(h);
    QCOMPARE(b.b->folderPath(), h.meeting());
    QCOMPARE(b.shown(), Shown(h.meeting()));
    b.press("cmd_ok_1");
    QTRY_VERIFY(h.window->browser() == nullptr);

    // Nothing of it exists: the current directory is opened.
    h.window->setDirectoryCaption(Join("no such", "folder"));
    Browser other(h);
    QCOMPARE(other.b->folderPath(), h.files.currentDirectory());
    other.press("cmd_ok_0");
    QCOMPARE(h.label("lbl_directory")->text(), Shown(h.files.currentDirectory()));
}

QTEST_MAIN(FrmBrowseTest)
#include "frm_browse_test.moc"
