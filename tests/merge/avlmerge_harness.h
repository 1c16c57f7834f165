#pragma once
// A merge window on real folders with scripted dialogs, a fixed clock and a
// recorded end of program; plus helpers that click and type on its controls
// through the window system, as a user does.
#define QTEST_QPA_MOUSE_HANDLING // mouse events go through the platform window
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "merge/avlmerge.h"
#include "platform/file_system.h"
#include "startup/mod_main.h"
#include "support/fake_presentation_app.h"
#include "support/fake_window_system.h"
#include "support/fakes.h"
#include "support/temp_folder.h"

namespace avelin::test {

// A line of a meeting's results file for `vote`, answered by `responses`.
inline std::string MeetingLine(const std::string& vote, const std::string& responses) {
    return "\"C:\\Talks\\" + vote + "\",4," + std::to_string(responses.size() / 2) + ",\"" + responses +
           "\",\"14:05:09\",\"04/12/2026\"\r\n";
}

inline std::string Join(const std::string& folder, const std::string& name) {
    return folder + kPathSeparator + name;
}

// Every path below `folder` with its size, to prove that nothing was written.
inline std::string Tree(const std::string& folder) {
    std::vector<std::string> all;
    for (const auto& e : std::filesystem::recursive_directory_iterator(folder))
        all.push_back(e.path().string() + (e.is_regular_file() ? " " + std::to_string(e.file_size()) : ""));
    std::sort(all.begin(), all.end());
    std::string text;
    for (const std::string& line : all)
        text += line + "\n";
    return text;
}

// The machine's file system with the drives of Windows played on folders: a
// drive named in `drives` ("D:") is entered at its folder, as Windows enters a
// drive's current folder.
struct DrivesOnFolders : LocalFileSystem {
    std::map<std::string, std::string> drives;
    void changeDrive(const std::string& path) override {
        const auto drive = drives.find(path.substr(0, 2));
        drive == drives.end() ? LocalFileSystem::changeDrive(path) : setCurrentDirectory(drive->second);
    }
};

struct MergeHarness {
    TempFolder root; // add-in folder, presentation folder and meeting folders
    DrivesOnFolders files;
    FixedClock clock;
    FakeProcess process;
    ScriptedDialogs dialogs;
    FakeWindowSystem windows; // no other program's windows
    Services services{files, clock, process, dialogs, windows};
    FakePresentationApp app;
    Mod_Main mod{services, &app};
    std::unique_ptr<avlmerge> window;

    // An add-in folder with its data folder, and a presentation "Monday
    // Meeting.ppt" in talks/ whose meeting folder is dataBank/Monday Meeting.
    MergeHarness() {
        root.write("addin/data/.keep", "");
        root.write("talks/Monday Meeting.ppt", "");
        mod.AddinPath = app.addin = root.at("addin");
        app.presentation = PresentationInfo{talks(), "Monday Meeting.ppt", {}};
    }
    ~MergeHarness() {
        window.reset();
        // The folders go; the process must not stay in one of them.
        files.setCurrentDirectory(std::filesystem::temp_directory_path().string());
    }

    std::string talks() const { return root.at("talks"); }
    std::string meeting() const { return root.at("addin/dataBank/Monday Meeting"); }
    QString inMeeting(const char* name) const { return QString::fromStdString(Join(meeting(), name)); }

    // Writes a results file with two votes answered by `keypads` keypads;
    // a bare name goes into the meeting folder.
    void writeMeetingFile(const std::string& path, int keypads = 2) {
        std::string responses;
        for (int k = 0; k < keypads; ++k)
            responses += std::to_string((k % 4) + 1) + ";";
        root.write(path.find('/') == std::string::npos ? "addin/dataBank/Monday Meeting/" + path : path,
                   MeetingLine("Vote 1.avl", responses) + MeetingLine("Vote 2.avl", responses));
    }

    // Creates the window (its load runs), shows it and waits until it has the focus.
    bool open() {
        window = std::make_unique<avlmerge>(mod);
        window->show();
        return QTest::qWaitForWindowActive(window.get());
    }

    template <class T> T* control(const char* name) const { return window->findChild<T*>(name); }
    QListWidget* list(const char* name) const { return control<QListWidget>(name); }
    QLabel* label(const char* name) const { return control<QLabel>(name); }
    QPushButton* button(const char* name) const { return control<QPushButton>(name); }
    QLineEdit* box(const char* name) const { return control<QLineEdit>(name); }
    static QStringList texts(const QListWidget* list) {
        QStringList all;
        for (int i = 0; i < list->count(); ++i)
            all << list->item(i)->text();
        return all;
    }
    QStringList texts(const char* name) const { return texts(list(name)); }

    static void click(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton); }
    void click(const char* button) const { click(control<QWidget>(button)); }

    void doubleClick(const char* listName, const QString& entry) const {
        QListWidget* list = this->list(listName);
        const auto found = list->findItems(entry, Qt::MatchExactly);
        QVERIFY2(!found.isEmpty(), qPrintable("no entry " + entry));
        list->scrollToItem(found.first());
        const QPoint at = list->visualItemRect(found.first()).center();
        // A user can only double-click what no other control covers.
        QWidget* top = list->window();
        QVERIFY2(list->isAncestorOf(top->childAt(list->viewport()->mapTo(top, at))),
                 qPrintable("entry " + entry + " is covered"));
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    }
    // Adds available files by double click, in the order given.
    void select(const QStringList& names) const {
        for (const QString& name : names)
            doubleClick("Lst_InputList", name);
    }

    // Clicks into a text box and replaces its text by typing.
    void retype(const char* name, const QString& text) const {
        click(box(name));
        box(name)->selectAll();
        QTest::keyClick(box(name), Qt::Key_Delete);
        QTest::keyClicks(box(name), text);
    }
};

} // namespace avelin::test
