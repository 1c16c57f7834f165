#pragma once
// The manual data window (CREATE mode): the votes of the open presentation as
// a grid of response counts, a colour key and the save button.
//
// Grid numbers: the window counts rows and columns with row 0 the header and
// column 0 the labels. The
// table's own headers are that fixed row and column, so grid row r is table
// row r - 1 and grid column n is table column n - 1; the label of grid row r
// is the table's vertical header item r - 1.
#include <QWidget>
#include <array>
#include <string>
#include <vector>

#include "manual_entry/manual_results.h"
#include "manual_entry/vote_definition.h"
#include "platform/dialogs.h"
#include "startup/mod_main.h"
#include "startup/window_handle.h"

class QColor;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QKeyEvent;

namespace avelin {

class VoteGrid;

class frmCreate : public QWidget, public WorkWindow {
    Q_OBJECT

  public:
    // Builds the controls and runs the opening sequence, which may end the
    // program (then ended() is true and the window stays hidden).
    explicit frmCreate(Mod_Main& mod, QWidget* parent = nullptr);
    ~frmCreate() override;

    Hwnd hWnd() override { return HandleOf(this); }
    void showWindow() override;
    bool ended() const { return ended_; }

    // Window state.
    std::string PresentationFolder;
    std::vector<VoteEntry> votes;

    void FormatGrid();
    void ShowCellEditor();
    void WriteManualResults(const std::string& path);

    // The grid in grid numbers (see above).
    int currentRow() const;
    int currentCol() const;
    void setCurrentCell(int row, int col);
    int lastRow() const; // the grid's last row (the answer row count)
    std::string cellText(int row, int col) const;
    void setCellText(int row, int col, const std::string& text);
    bool isGreyed(int row, int col) const;
    // The background of greyed cells: the button-face colour, darker where
    // the style's is too close to the white of the cells to tell them apart.
    static QColor GreyedColour();
    // The counts in grid order, for the results writer.
    GridCounts gridCounts() const;

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void CreateControls();
    void Form_Load();
    void Form_Resize();
    void EndProgram();
    void RestorePointer();
    void ShowFileProblem(const std::string& text);

    bool grdVotes_KeyDown(QKeyEvent& event);
    void grdVotes_DblClick();
    void txtInput_Change();
    bool txtInput_KeyDown(int keyCode);
    void txtInput_LostFocus();
    void grdVotes_Scroll();
    void cmdSave_Click();
    // Puts the open editor over its cell as the grid shows it.
    void PlaceCellEditor();
    // Closes the editor by giving `next` the focus, as a click on it does.
    void LeaveCellEditor(QWidget* next);

    // Twips to pixels along each axis, at the screen's logical resolution.
    int twipsToX(double twips) const;
    int twipsToY(double twips) const;
    double xToTwips(int pixels) const;
    double yToTwips(int pixels) const;

    Mod_Main& mod_;
    bool ended_ = false;
    bool busyPointer_ = false;
    SaveDialogRequest cdSave;
    // The cell the editor was opened on: the only cell it writes to.
    int editRow_ = 0;
    int editCol_ = 0;

    VoteGrid* grdVotes = nullptr;
    QLineEdit* txtInput = nullptr;
    QGroupBox* fraKey = nullptr;
    QLabel* lblKey = nullptr;
    std::array<QLabel*, 3> lblKeyVoteType{};
    QPushButton* cmdSave = nullptr;
    QLabel* lblLoading = nullptr;
    QLabel* imgLoading = nullptr;
};

} // namespace avelin
