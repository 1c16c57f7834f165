// The folder browser opened from the merge window's "Browse" button, driven
// through its real controls.
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QtTest/qtestspontaneevent.h>

#include "browse/frm_browse.h"
#include "merge/avlmerge_harness.h"
#include "support/drawn_letters.h"

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
    QListWidget* list() const { return b->findChild<QListWidget*>("lst_folders"); }
    std::string shown() const { return b->findChild<QLabel*>("lbl_newfolder")->text().toStdString(); }
    void press(const char* button) const { MergeHarness::click(b->findChild<QPushButton*>(button)); }
    // The folder list's entry of that name (shown indented).
    QListWidgetItem* entry(const QString& name) const {
        for (int i = 0; i < list()->count(); ++i)
            if (list()->item(i)->text().trimmed() == name)
                return list()->item(i);
        return nullptr;
    }
    bool inView(const QString& name) const {
        return list()->viewport()->rect().contains(list()->visualItemRect(entry(name)));
    }
    // Clicks (or double-clicks) the folder list's entry of that name.
    void open(const QString& name, bool twice = true) const {
        QVERIFY2(entry(name), qPrintable("no folder " + name));
        list()->scrollToItem(entry(name));
        const QPoint at = list()->visualItemRect(entry(name)).center();
        if (twice)
            QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {}, at);
        else
            QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, at);
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
        QVERIFY(b.b && !h.window->isEnabled() && b.b->pos() == h.window->pos());
        QCOMPARE(b.shown(), h.meeting());
        // Folder names may hold any letter: the browser's face draws them all.
        QCOMPARE(UndrawnLetters(b.list()->font(),
                                "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789"),
                 QString());
        // The chain down to the open folder, then its subfolders, in view.
        QCOMPARE(b.list()->item(b.list()->count() - 3), b.entry("Monday Meeting"));
        QVERIFY(b.inView("Monday Meeting") && b.inView("Older") && b.inView("Other"));
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
        QCOMPARE(h.texts("Lst_InputList") + h.texts("Lst_Files"), QStringList({"o", h.inMeeting("a")}));
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

        // The drive list opens a drive's current folder: for the current
        // drive the current directory, which the last listing made the source
        // folder; for another (the drives of Windows played on folders here)
        // the folder that drive was left in. The process stays where it was.
        Browser third(h);
        auto* drives = third.b->findChild<QComboBox*>("lst_drives");
        QVERIFY(third.b->setFolderPath(Join(h.meeting(), "Other")));
        third.b->lst_drives_Change();
        QCOMPARE(third.shown(), h.meeting());
        h.files.drives["D:"] = h.talks();
        drives->addItem("d:", QByteArray("D:\\"));
        drives->setCurrentIndex(drives->count() - 1);
        QCOMPARE(third.shown(), h.talks());
        QVERIFY(std::filesystem::equivalent(h.files.currentDirectory(), h.meeting()));
        QVERIFY(!third.b->setFolderPath(Join(h.meeting(), "gone"))); // not opened
        QCOMPARE(third.b->folderPath(), h.talks());
    }

    // Cancel and the close button change nothing. A source folder that has
    // gone opens on its parent; with nothing of it left, on the current folder.
    void cancelCloseAndFoldersThatHaveGone_data() {
        QTest::addColumn<bool>("cancel"); // else the title bar's close button
        QTest::newRow("Cancel") << true;
        QTest::newRow("the close button") << false;
    }

    void cancelCloseAndFoldersThatHaveGone() {
        QFETCH(bool, cancel);
        MergeHarness h;
        h.writeMeetingFile("a.rec");
        h.writeMeetingFile("addin/dataBank/Monday Meeting/Older/o.rec");
        QVERIFY(h.open());
        {
            Browser b(h);
            QVERIFY(b.b->setFolderPath(Join(h.meeting(), "Older")));
            cancel ? b.press("cmd_ok_1") : void(b.b->close());
            QCOMPARE(h.label("lbl_directory")->text().toStdString() + " " +
                         h.texts("Lst_InputList").join(",").toStdString(),
                     h.meeting() + " a");
            QVERIFY(h.window->isEnabled());
            QTRY_VERIFY(h.window->browser() == nullptr);
        }
        h.window->setDirectoryCaption(Join(h.meeting(), "gone"));
        Browser b(h);
        QCOMPARE(b.shown(), h.meeting());
        b.press("cmd_ok_1");
        QTRY_VERIFY(h.window->browser() == nullptr);
        h.window->setDirectoryCaption(Join("no such", "folder"));
        Browser other(h);
        QCOMPARE(other.b->folderPath(), h.files.currentDirectory());
        other.press("cmd_ok_0");
        QCOMPARE(h.label("lbl_directory")->text().toStdString(), h.files.currentDirectory());

        // Enabled again, the merge window's close button ends the program.
        QCOMPARE(h.process.endCalls, 0);
        CloseButton(h.window.get());
        QCOMPARE(h.process.endCalls, 1);
    }
};

QTEST_MAIN(FrmBrowseTest)
#include "frm_browse_test.moc"
