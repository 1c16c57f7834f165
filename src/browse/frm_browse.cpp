#include "browse/frm_browse.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyle>

#include "browse/folder_chain.h"
#include "merge/avlmerge.h"
#include "merge/avlmerge_text.h"
#include "merge/collation.h"

namespace avelin {

namespace {

constexpr int kClientWidth = 4335;
constexpr int kClientHeight = 3495;

// A drive as the drive list shows it: "c:" for C:\, "/" for the one root
// of other systems.
QString DriveCaption(const std::string& root) {
    if (root.size() >= 2 && root[1] == ':')
        return ToDisplay(root.substr(0, 2)).toLower();
    return ToDisplay(root);
}

} // namespace

frm_browse::frm_browse(avlmerge& merge, FileSystem& files, Dialogs& dialogs)
    : QWidget(nullptr, Qt::Window), merge_(merge), files_(files), dialogs_(dialogs) {
    setObjectName("frm_browse");
    setWindowTitle(QStringLiteral("Select Source Folder"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFont(merge.font());

    lst_drives = new QComboBox(this);
    lst_drives->setObjectName("lst_drives");
    lst_folders = new QListWidget(this);
    lst_folders->setObjectName("lst_folders");
    lst_folders->setSelectionMode(QAbstractItemView::SingleSelection);
    lst_folders->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lbl_newfolder = new QLabel(this);
    lbl_newfolder->setObjectName("lbl_newfolder");
    lbl_newfolder->setTextFormat(Qt::PlainText);
    lbl_newfolder->setWordWrap(true);
    lbl_newfolder->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // One control array with one click handler; the index is a property.
    const QString captions[2] = {QStringLiteral("OK"), QStringLiteral("Cancel")};
    for (int i = 0; i < 2; ++i) {
        cmd_ok[i] = new QPushButton(captions[i], this);
        cmd_ok[i]->setObjectName(QStringLiteral("cmd_ok_%1").arg(i));
        cmd_ok[i]->setProperty("Index", i);
        cmd_ok[i]->setAutoDefault(true);
        connect(cmd_ok[i], &QPushButton::clicked, this, [this, i] { cmd_ok_Click(i); });
    }

    const double dpi = logicalDpiX();
    setFixedSize(TwipsToPixels(kClientWidth, dpi), TwipsToPixels(kClientHeight, dpi));
    lst_drives->setGeometry(TwipRect(120, 120, 4095, 315, dpi));
    lst_folders->setGeometry(TwipRect(120, 600, 4095, 1665, dpi));
    lbl_newfolder->setGeometry(TwipRect(120, 2400, 4095, 495, dpi));
    cmd_ok[0]->setGeometry(TwipRect(1560, 3000, 1215, 375, dpi));
    cmd_ok[1]->setGeometry(TwipRect(2880, 3000, 1335, 375, dpi));

    connect(lst_drives, &QComboBox::currentIndexChanged, this, [this] { lst_drives_Change(); });
    // Opening a folder takes a double click; a single click only highlights,
    // and a highlighted folder is not what "OK" hands over.
    connect(lst_folders, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { setFolderPath(EntryText(item)); });

    fillDrives();
    Form_Load();
}

void frm_browse::fillDrives() {
    const QSignalBlocker quiet(lst_drives);
    lst_drives->clear();
    for (const QFileInfo& drive : QDir::drives()) {
        const std::string root = FromDisplay(QDir::toNativeSeparators(drive.absoluteFilePath()));
        lst_drives->addItem(DriveCaption(root), ToByteArray(root));
    }
}

void frm_browse::showDriveOf(const std::string& folder) {
    const std::string root = RootOf(folder);
    const QSignalBlocker quiet(lst_drives);
    for (int i = 0; i < lst_drives->count(); ++i) {
        if (EqualNoCase(FromByteArray(lst_drives->itemData(i).toByteArray()), root)) {
            lst_drives->setCurrentIndex(i);
            return;
        }
    }
}

void frm_browse::Form_Load() {
    // A source folder that has gone since its listing cannot be opened: the
    // browser starts on its nearest existing parent folder instead, or on the
    // current directory when none of them exists.
    setFolderPath(ExistingFolderFor(merge_.directoryCaption(), files_));
    SetCaption(lbl_newfolder, path_);
    showDriveOf(path_);
    raise();
}

bool frm_browse::setFolderPath(const std::string& folder) {
    if (!files_.folderExists(folder))
        return false;
    path_ = NormalFolder(folder);
    fillFolders();
    lst_folders_Change();
    return true;
}

void frm_browse::fillFolders() {
    lst_folders->clear();
    const QIcon opened = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);
    const std::vector<std::string> chain = FolderChain(path_);
    QString indent;
    for (const std::string& folder : chain) {
        QListWidgetItem* item = NewEntry(folder);
        item->setText(indent + ToDisplay(FolderName(folder)));
        item->setIcon(opened);
        lst_folders->addItem(item);
        indent += QStringLiteral("   ");
    }
    QListWidgetItem* open = lst_folders->item(lst_folders->count() - 1);
    lst_folders->setCurrentItem(open);
    std::vector<std::string> subfolders;
    try {
        subfolders = files_.listFolders(path_);
    } catch (const FileError&) {
        // A folder that cannot be read shows no subfolders; it can still be chosen.
    }
    for (const std::string& name : subfolders) {
        QListWidgetItem* item = NewEntry(ChildFolder(path_, name));
        item->setText(indent + ToDisplay(name));
        item->setIcon(closed);
        lst_folders->addItem(item);
    }
    // The open folder goes to the top of the list's view (as far as the list
    // scrolls), with its subfolders in view below it.
    lst_folders->scrollToItem(open, QAbstractItemView::PositionAtTop);
}

void frm_browse::lst_drives_Change() {
    // A drive that is not ready (an empty removable drive) cannot be opened:
    // the drive list goes back to the open folder's drive and the folder
    // list keeps its folder.
    const std::optional<std::string> folder =
        DriveCurrentFolder(FromByteArray(lst_drives->currentData().toByteArray()), files_);
    if (!folder || !setFolderPath(*folder))
        showDriveOf(path_);
}

void frm_browse::lst_folders_Change() {
    SetCaption(lbl_newfolder, path_);
}

void frm_browse::cmd_ok_Click(int index) {
    if (index == 0) {
        merge_.setDirectoryCaption(CaptionOf(lbl_newfolder));
        try {
            merge_.GetFilesInFolder();
        } catch (const FileError& e) {
            // The folder went or became unreadable after it was opened here.
            dialogs_.messageBox("The folder cannot be listed.\r\n" + e.path() + ": " + e.reason(),
                                mb::OkOnly + mb::Critical, "Select Source Folder");
        }
    }
    close();
}

void frm_browse::closeEvent(QCloseEvent* event) {
    event->accept();
    Form_Unload();
}

void frm_browse::Form_Unload() {
    hide();
    merge_.setEnabled(true);
    merge_.raise();
    merge_.activateWindow();
}

} // namespace avelin
