// The merge window as a whole: its load, the listing of the source folder,
// the hand-over to the folder browser and the end of the program.
#include "merge/avlmerge.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <optional>

#include "browse/frm_browse.h"
#include "merge/avlmerge_focus_guard.h"
#include "merge/avlmerge_info_panel.h"
#include "merge/avlmerge_text.h"
#include "merge/collation.h"
#include "merge/folder_listing.h"
#include "platform/errors.h"

namespace avelin {

namespace {

std::string RemoveEvery(std::string text, const std::string& part) {
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at))
        text.erase(at, part.size());
    return text;
}

} // namespace

avlmerge::avlmerge(Mod_Main& mod, QWidget* parent)
    : QWidget(parent), mod_(mod), quitWhenShown_(qEnvironmentVariableIsSet("AVELIN_QUIT_WHEN_SHOWN")) {
    buildControls();
    placeControls(logicalDpiX());
    connectHandlers();
    // The panel fades in from the moment the window exists.
    tmrInfoLabel->start();
    Form_Load();
}

avlmerge::~avlmerge() {
    delete browser_.data();
}

void avlmerge::showWindow() {
    show();
    activateWindow();
}

void avlmerge::connectHandlers() {
    connect(Lst_InputList, &QListWidget::itemDoubleClicked, this, [this] { Lst_InputList_DblClick(); });
    connect(Lst_Files, &QListWidget::itemDoubleClicked, this, [this] { Lst_Files_DblClick(); });
    connect(lst_groupnames, &QListWidget::itemDoubleClicked, this, [this] { lst_groupnames_DblClick(); });
    for (int i = 0; i < 2; ++i)
        connect(cmd_newname[i], &QPushButton::clicked, this, [this, i] { cmd_newname_Click(i); });
    connect(txt_ofile, &QLineEdit::textChanged, this, [this] { txt_ofile_Change(); });
    connect(cmd_obrowse, &QPushButton::clicked, this, [this] { cmd_obrowse_Click(); });
    connect(cmd_go, &QPushButton::clicked, this, [this] { cmd_go_Click(); });
    connect(cmd_browseinput, &QPushButton::clicked, this, [this] { cmd_browseinput_Click(); });
    connect(cmd_cancel, &QPushButton::clicked, this, [this] { cmd_cancel_Click(); });
    connect(tmrInfoLabel, &QTimer::timeout, this, [this] { tmrInfoLabel_Timer(); });

    guard_ = new FocusLeaveGuard(this);
    guard_->addField(txt_ofile, [this] {
        bool cancel = false;
        txt_ofile_Validate(cancel);
        return !cancel;
    });
    guard_->addField(
        txt_newname,
        [this] {
            bool cancel = false;
            txt_newname_Validate(cancel);
            return !cancel;
        },
        [this] { cmd_newname_Click(0); }); // OK is the rename frame's default button
    guard_->watchControls();
    // The extension is completed when the focus really leaves the box for
    // another control; a switch to another window is no such move.
    txt_ofile->installEventFilter(this);
}

void avlmerge::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    guard_->watchWindowHandle();
}

void avlmerge::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    if (quitWhenShown_) {
        quitWhenShown_ = false;
        // After this paint has reached the screen.
        QTimer::singleShot(0, this, [this] {
            std::fputs("merge window shown\n", stdout);
            mod_.services.process.endProgram();
        });
    }
}

bool avlmerge::eventFilter(QObject* watched, QEvent* event) {
    if (watched == txt_ofile && event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            txt_ofile_LostFocus();
    }
    return QWidget::eventFilter(watched, event);
}

// OK is the rename frame's default button: while the frame is open, Enter
// presses it wherever the focus is, after the check of the box that holds
// the focus. A focused button takes Enter itself, and never passes it on.
void avlmerge::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && !frm_newname->isHidden()) {
        if (guard_->mayLeaveFor(cmd_newname[0]))
            cmd_newname_Click(0);
        return;
    }
    QWidget::keyPressEvent(event);
}

void avlmerge::UseDataFolder() {
    if (mod_.AddinPath.empty())
        return;
    // A failure here (no data folder) ends the load; start-up reports it.
    const std::string data = mod_.AddinPath + kPathSeparator + "data";
    mod_.services.files.setCurrentDirectory(data);
    mod_.services.files.changeDrive(data.substr(0, 2));
}

void avlmerge::Form_Load() {
    FileSystem& files = mod_.services.files;
    // The presentation is asked for once; while none is open every step that
    // needs it fails again, as each would ask the application anew.
    std::optional<PresentationInfo> presentation;
    const auto active = [&]() -> const PresentationInfo& {
        if (!presentation) {
            if (!mod_.PowerPointApp)
                throw NoActivePresentation();
            presentation = mod_.PowerPointApp->activePresentationFile();
        }
        return *presentation;
    };
    // The load's failure rule: no presentation, or a path not found, sends
    // the current directory to the add-in's data folder and the load goes on
    // with its next step. Any other failure ends the load.
    const auto step = [&](auto&& action) {
        try {
            action();
        } catch (const NoActivePresentation&) {
            UseDataFolder();
        } catch (const FileError&) {
            UseDataFolder();
        }
    };

    step([&] { files.setCurrentDirectory(active().path); });
    step([&] { files.changeDrive(active().path.substr(0, 2)); });
    std::string PresentationName;
    // Exact letter case: a name ending in .PPT keeps its extension.
    step([&] { PresentationName = RemoveEvery(active().name, ".ppt"); });
    mod_.PowerPointApp = nullptr; // nothing later uses the presentation application

    TChart1->setTransparency(0); // the cover hides the panel's text at first

    if (!mod_.SourceFolderArg.empty())
        SourceFolder = mod_.SourceFolderArg;
    else
        SourceFolder = mod_.AddinPath + kPathSeparator + "dataBank" + kPathSeparator + PresentationName;
    if (!mod_.FolderExists(SourceFolder))
        SourceFolder = files.currentDirectory();
    OutputFolder = files.currentDirectory();
    SetCaption(lbl_directory, SourceFolder);
    SetCaption(lblOutputDirectory, OutputFolder);

    step([&] { GetFilesInFolder(); });
    SetBoxText(txt_ofile, "merged votes.rec");
}

void avlmerge::GetFilesInFolder() {
    FileSystem& files = mod_.services.files;
    Lst_InputList->clear();
    // The labels are the authority for both folders.
    SourceFolder = CaptionOf(lbl_directory);
    OutputFolder = CaptionOf(lblOutputDirectory);
    files.changeDrive(SourceFolder.substr(0, 2));
    files.setCurrentDirectory(SourceFolder);

    std::vector<std::string> offered = OfferedFiles(SourceFolder, SourceFolder, Entries(Lst_Files), files);
    // Adding one by one after every equal entry, as the sorted list does, is a
    // stable sort of the names in the order the folder gave them.
    std::stable_sort(offered.begin(), offered.end(),
                     [](const std::string& a, const std::string& b) { return CompareNoCase(a, b) < 0; });
    Lst_InputList->setUpdatesEnabled(false);
    for (const std::string& base : offered)
        Lst_InputList->addItem(NewEntry(base));
    Lst_InputList->setUpdatesEnabled(true);
}

std::string avlmerge::directoryCaption() const {
    return CaptionOf(lbl_directory);
}

void avlmerge::setDirectoryCaption(const std::string& folder) {
    SetCaption(lbl_directory, folder);
}

frm_browse* avlmerge::browser() const {
    return browser_.data();
}

void avlmerge::cmd_browseinput_Click() {
    setEnabled(false);
    // The browser is a window of its own (not a child, which the disabled
    // merge window would disable too), created afresh for every opening.
    delete browser_.data();
    browser_ = new frm_browse(*this, mod_.services.files, mod_.services.dialogs);
    browser_->move(pos()); // top-left corner on the merge window's
    browser_->show();
}

void avlmerge::cmd_cancel_Click() {
    close();
}

void avlmerge::closeEvent(QCloseEvent* event) {
    // While the folder browser is open the window takes no input, its close
    // button included, so it cannot be quit meanwhile.
    if (event->spontaneous() && !isEnabled()) {
        event->ignore();
        return;
    }
    // Asking before closing does nothing: the close button quits like "&Quit".
    event->accept();
    Form_Unload();
}

void avlmerge::Form_Unload() {
    tmrInfoLabel->stop();
    if (browser_)
        browser_->hide();
    mod_.services.process.endProgram();
}

} // namespace avelin
