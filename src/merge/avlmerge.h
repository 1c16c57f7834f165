#pragma once
// The merge window: the user picks results files from a source folder, names
// each file's group and merges them into one results file. Each handler reads
// its controls, calls the merge core and writes the outcome back.
#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <string>

#include "startup/mod_main.h"
#include "startup/window_handle.h"

class QGroupBox;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTimer;

namespace avelin {

class FocusLeaveGuard;
class InfoPanel;
class frm_browse;

class avlmerge : public QWidget, public WorkWindow {
    Q_OBJECT
  public:
    // Builds the controls and runs Form_Load.
    explicit avlmerge(Mod_Main& mod, QWidget* parent = nullptr);
    ~avlmerge() override;

    Hwnd hWnd() override { return HandleOf(this); }
    void showWindow() override;

    // Window fields.
    std::string SourceFolder; // mirrors lbl_directory
    std::string OutputFolder; // mirrors lblOutputDirectory
    std::string OldGroupName; // the name the rename frame was opened with

    // Load and listing.
    void Form_Load();
    void GetFilesInFolder();
    // The selection lists.
    void Lst_InputList_DblClick();
    void Lst_Files_DblClick();
    void tmrInfoLabel_Timer();
    // The rename frame.
    void lst_groupnames_DblClick();
    void cmd_newname_Click(int index);
    void txt_newname_Validate(bool& cancel);
    // Output file and readiness.
    void CheckEnabled();
    void txt_ofile_Change();
    void txt_ofile_LostFocus();
    void txt_ofile_Validate(bool& cancel);
    void cmd_obrowse_Click();
    // The merge run.
    void cmd_go_Click();
    // Source folder browser and quitting.
    void cmd_browseinput_Click();
    void cmd_cancel_Click();

    // The source folder caption, which the folder browser reads and writes.
    std::string directoryCaption() const;
    void setDirectoryCaption(const std::string& folder);
    // The folder browser while it is open, else nullptr.
    frm_browse* browser() const;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void buildControls();
    void placeControls(double dpi);
    void connectHandlers();
    void Form_Unload();
    // The load's failure rule: the add-in's data folder becomes current.
    void UseDataFolder();
    void ShowSelectedCount();
    void HideRenameFrame();
    void SetGoButton(bool enabled, std::uint32_t colour, const std::string& caption);
    void FitListCaptions();
    double CaptionScale() const;

    Mod_Main& mod_;
    double dpi_ = 96.0;
    double xScale_ = 1.0; // lefts and widths of the design, widened for the font

    QLabel* Label1 = nullptr;
    QLabel* lbl_directory = nullptr;
    QPushButton* cmd_browseinput = nullptr;
    QGroupBox* Frame1 = nullptr;
    QLabel* lbl_inputlist = nullptr;
    QListWidget* Lst_InputList = nullptr;
    QGroupBox* Frame2 = nullptr;
    QLabel* lbl_files = nullptr;
    QListWidget* Lst_Files = nullptr;
    QLabel* lblVoteName = nullptr;
    QListWidget* lst_groupnames = nullptr;
    QGroupBox* frm_newname = nullptr;
    QFrame* Shape1 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* lbl_newname = nullptr;
    QLineEdit* txt_newname = nullptr;
    QPushButton* cmd_newname[2] = {nullptr, nullptr};
    InfoPanel* TChart1 = nullptr;
    QLabel* lblOutputDirectoryTitle = nullptr;
    QLabel* lblOutputDirectory = nullptr;
    QPushButton* cmd_obrowse = nullptr;
    QLabel* lbl_outfile = nullptr;
    QLineEdit* txt_ofile = nullptr;
    QPushButton* cmd_go = nullptr;
    QPushButton* cmd_cancel = nullptr;
    QListWidget* lst_temp = nullptr;
    QTimer* tmrInfoLabel = nullptr;

    FocusLeaveGuard* guard_ = nullptr;
    QPointer<frm_browse> browser_;
    // AVELIN_QUIT_WHEN_SHOWN set: once the window has been painted the
    // program prints "merge window shown" and ends, so that the time from
    // start to a shown window can be measured.
    bool quitWhenShown_ = false;
};

} // namespace avelin
