#pragma once
// What the manual data window's tests share: a presentation answered from a
// script, a desktop holding one PowerPoint window, vote definition files in a
// temporary folder, and the window itself found by its controls' names.
#include <QApplication>
#include <QTableWidget>
#include <QTest>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "manual_entry/frmCreate.h"
#include "platform/file_system.h"
#include "platform/qt_window_system.h"
#include "startup/mod_main.h"
#include "support/fakes.h"
#include "support/temp_folder.h"

namespace avelin::test {

// The text of a version-2 vote definition file: kind "" (standard), "TEXT",
// "SERIES" or "RANK"; `rows` is the iterations or items.
inline std::string AvlText(const std::string& kind, int options, int firstOption, int rows = 1) {
    const int type = kind == "RANK" ? 7 : kind == "TEXT" ? 6 : 1;
    const int subType = kind == "SERIES" ? 2 : 0;
    std::vector<std::string> f{"2",
                               std::to_string(options),
                               std::to_string(type),
                               "\"Pick one, please\"",
                               "0",
                               "0",
                               "0",
                               std::to_string(subType),
                               "0"};
    const auto filler = [&f](int n) { f.insert(f.end(), static_cast<std::size_t>(n), "9"); };
    const std::string first = std::to_string(firstOption);
    if (kind == "RANK") {
        f.push_back(std::to_string(rows));
        filler(4 * rows + 16);
        f.push_back(first);
    } else if (kind == "SERIES") {
        filler(3 * options + 20);
        f.push_back(first);
        filler(2);
        f.push_back(std::to_string(rows));
    } else {
        filler((kind == "TEXT" ? 2 : 3) * options + 20);
        f.push_back(first);
    }
    std::string text;
    for (std::size_t i = 0; i < f.size(); ++i)
        text += f[i] + (i + 1 == f.size() ? "\r\n" : ",");
    return text;
}

class ScriptedPresentation : public PresentationApp {
  public:
    std::optional<PresentationInfo> presentation; // nullopt: none open
    std::function<void()> failure;                // throws, when set
    std::string addinPath(const std::string&) override { return {}; }
    PresentationInfo activePresentation() override {
        if (failure)
            failure();
        if (!presentation)
            throw NoActivePresentation();
        return *presentation;
    }
};

// The program's own windows plus one PowerPoint window.
class DesktopWithPowerPoint : public QtWindowSystem {
  public:
    static constexpr Hwnd kPowerPoint = 900000;
    WindowRect powerPointRect{0, 0, 1025, 768};

    void enumWindows(const std::function<bool(Hwnd)>& visit) override {
        if (visit(kPowerPoint))
            QtWindowSystem::enumWindows(visit);
    }
    bool isVisible(Hwnd h) override { return h == kPowerPoint || QtWindowSystem::isVisible(h); }
    Hwnd parent(Hwnd h) override { return h == kPowerPoint ? 0 : QtWindowSystem::parent(h); }
    std::string title(Hwnd h, int maxChars) override {
        return h == kPowerPoint ? "Microsoft PowerPoint - [Talk.pptx]" : QtWindowSystem::title(h, maxChars);
    }
    bool isMinimised(Hwnd h) override { return h != kPowerPoint && QtWindowSystem::isMinimised(h); }
    WindowRect rect(Hwnd h) override { return h == kPowerPoint ? powerPointRect : QtWindowSystem::rect(h); }
};

class CreateWindowFixture {
  public:
    TempFolder folder;
    LocalFileSystem files;
    FixedClock clock;
    FakeProcess process;
    ScriptedDialogs dialogs;
    DesktopWithPowerPoint windows;
    Services services{files, clock, process, dialogs, windows};
    ScriptedPresentation app;
    Mod_Main mod{services, &app};
    std::unique_ptr<frmCreate> window; // destroyed first

    CreateWindowFixture() { app.presentation = PresentationInfo{folder.path(), "Talk.pptx", {}}; }

    // One more slide holding a title and a vote shape whose click action
    // names `name`; the definition file is written beside the presentation.
    void addVote(const std::string& name, const std::string& definition) {
        folder.write(name, definition);
        app.presentation->slides.push_back(
            SlideInfo{{{"Title 1", ""}, {"VOTE", "C:\\Program Files\\avelin\\VOTER.EXE " + name + ",1"}}});
    }

    // Opens the window; a window that did not end its program is made the
    // active window, so that focus changes happen as on a desktop.
    frmCreate& open() {
        window = std::make_unique<frmCreate>(mod);
        if (!window->ended()) {
            window->activateWindow();
            if (!QTest::qWaitForWindowActive(window.get()))
                qWarning("the manual data window did not become active");
        }
        return *window;
    }

    template <class T> T* find(const char* name) const { return window->findChild<T*>(name); }
    QTableWidget* grid() const { return find<QTableWidget>("grdVotes"); }

    // Cells in grid numbers: the table's headers are grid row 0 and column 0.
    QTableWidgetItem* item(int row, int col) const { return grid()->item(row - 1, col - 1); }
    QString cell(int row, int col) const {
        const QTableWidgetItem* i = item(row, col);
        return i ? i->text() : QString();
    }
    void setCell(int row, int col, const QString& text) const { item(row, col)->setText(text); }
    QPoint cellCentre(int row, int col) const { return grid()->visualItemRect(item(row, col)).center(); }
    void click(int row, int col, Qt::KeyboardModifiers modifiers = {}) const {
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, modifiers, cellCentre(row, col));
    }
    // As a mouse does it: press and release, then the second press arrives
    // as the double click.
    void doubleClick(int row, int col) const {
        const QPoint at = cellCentre(row, col);
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(grid()->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(grid()->viewport(), Qt::LeftButton, {}, at);
    }
    bool greyed(int row, int col) const {
        return item(row, col)->background().color() == QApplication::palette().color(QPalette::Button) &&
               item(row, col)->background().style() != Qt::NoBrush;
    }
};

} // namespace avelin::test
