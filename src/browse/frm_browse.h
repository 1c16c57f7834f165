#pragma once
// The folder browser: picks the merge window's source folder from a drive
// list and a folder list. It lives only while the merge window has it open,
// with the merge window disabled meanwhile.
#include <QWidget>
#include <string>

#include "platform/dialogs.h"
#include "platform/file_system.h"

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace avelin {

class avlmerge;

class frm_browse : public QWidget {
    Q_OBJECT
  public:
    // Builds the controls and runs Form_Load. A top-level window that deletes
    // itself when closed.
    frm_browse(avlmerge& merge, FileSystem& files, Dialogs& dialogs);

    void Form_Load();
    void lst_drives_Change();
    void lst_folders_Change();
    void cmd_ok_Click(int index);

    // The folder list's open folder (its Path).
    const std::string& folderPath() const { return path_; }
    // Opens `folder` in the folder list; a folder that does not exist leaves
    // the list as it is. Returns whether it was opened.
    bool setFolderPath(const std::string& folder);

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void Form_Unload();
    void fillDrives();
    void fillFolders();
    void showDriveOf(const std::string& folder);

    avlmerge& merge_;
    FileSystem& files_;
    Dialogs& dialogs_;
    std::string path_;

    QComboBox* lst_drives = nullptr;
    QListWidget* lst_folders = nullptr;
    QLabel* lbl_newfolder = nullptr;
    QPushButton* cmd_ok[2] = {nullptr, nullptr};
};

} // namespace avelin
