#pragma once
// What the manual data window's tests share: a scripted presentation, a
// desktop holding one PowerPoint window, vote definition files in a temporary
// folder, and the window itself found by its controls' names.
#include <QApplication>
#include <QTableWidget>
#include <QTest>
#include <memory>
#include <string>

#include "manual_entry/definition_text.h"
#include "manual_entry/frmCreate.h"
#include "platform/file_system.h"
#include "platform/qt_window_system.h"
#include "startup/mod_main.h"
#include "support/fake_presentation_app.h"
#include "support/fakes.h"
#include "support/temp_folder.h"

namespace avelin::test {

// The program's own windows plus one PowerPoint window.
class DesktopWithPowerPoint : public QtWindowSystem {
  public:
    static constexpr Hwnd kPowerPoint = 900000;
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
    WindowRect rect(Hwnd h) override {
        return h == kPowerPoint ? WindowRect{0, 0, 1025, 768} : QtWindowSystem::rect(h);
    }
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
    FakePresentationApp app;
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
    QString cell(int row, int col) const { return item(row, col) ? item(row, col)->text() : QString(); }
    void setCell(int row, int col, const QString& text) const { item(row, col)->setText(text); }
    // A row's eleven cells, joined by commas.
    QString row(int r) const {
        QStringList cells;
        for (int col = 1; col <= 11; ++col)
            cells << cell(r, col);
        return cells.join(',');
    }
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
