#include "manual_entry/frmCreate.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <cmath>

#include "manual_entry/frmCreate_grid.h"
#include "manual_entry/frmCreate_picture.h"
#include "manual_entry/frmCreate_units.h"
#include "manual_entry/grid_rules.h"
#include "manual_entry/presentation_votes.h"
#include "platform/design_font.h"
#include "platform/display_text.h"
#include "platform/errors.h"

namespace avelin {

namespace {

const char* const kCaption = "avelin Create Manual Data";
const char* const kLoadingCaption = "Please Wait....";

// Design lengths, in twips.
constexpr int kClientWidth = 10650;
constexpr int kClientHeight = 4290;
constexpr int kLabelColumnWidth = 2000;
constexpr int kValueColumnWidth = 600;
// The row height is not given by the design: 330 twips (22 pixels at 96 dots
// per inch) fits a line of the default font, and leaves the cell editor (row
// height - 100) tall enough for one once its frame is a thin line.
constexpr int kRowHeight = 330;
constexpr int kKeyWidth = 1575;
constexpr int kKeyHeight = 2055;
constexpr int kKeyTop = 120;
constexpr int kKeyLabelLeft = 240;
constexpr std::array<int, 3> kKeyLabelTops{360, 720, 1080};
constexpr int kKeyLabelWidth = 1215;
constexpr int kKeyLabelHeight = 255;
constexpr int kSaveTop = 1680;
constexpr int kSaveWidth = 1095;
constexpr int kSaveHeight = 315;

} // namespace

frmCreate::frmCreate(Mod_Main& mod, QWidget* parent) : QWidget(parent, Qt::Window), mod_(mod) {
    CreateControls();
    Form_Load();
}

frmCreate::~frmCreate() {
    RestorePointer();
}

void frmCreate::showWindow() {
    if (!ended_)
        show();
}

int frmCreate::twipsToX(double twips) const {
    return TwipsToPixels(twips, logicalDpiX());
}
int frmCreate::twipsToY(double twips) const {
    return TwipsToPixels(twips, logicalDpiY());
}
double frmCreate::xToTwips(int pixels) const {
    return PixelsToTwips(pixels, logicalDpiX());
}
double frmCreate::yToTwips(int pixels) const {
    return PixelsToTwips(pixels, logicalDpiY());
}

// The controls as the window's design has them: the grid and the key hidden
// until the votes are loaded, the loading label and picture showing.
void frmCreate::CreateControls() {
    setObjectName("frmCreate");
    setWindowTitle(QLatin1String(kCaption));
    // The twips of the design were laid out for MS Sans Serif at 8 points.
    setFont(DesignFont(QStringLiteral("MS Sans Serif"), 8));
    resize(twipsToX(kClientWidth), twipsToY(kClientHeight));

    grdVotes = new VoteGrid(this);
    grdVotes->setObjectName("grdVotes");
    grdVotes->setColumnCount(kGridColumns - 1);
    grdVotes->setRowCount(1); // the grid's 2 rows: the header and one answer row
    grdVotes->setHorizontalHeaderLabels(QStringList(kGridColumns - 1, QString()));
    grdVotes->setVerticalHeaderItem(0, new QTableWidgetItem(QString()));
    grdVotes->verticalHeader()->setFixedWidth(twipsToX(kLabelColumnWidth));
    grdVotes->verticalHeader()->setDefaultSectionSize(twipsToY(kRowHeight));
    grdVotes->move(0, 0);
    grdVotes->hide();
    grdVotes->onKeyDown = [this](QKeyEvent& event) { return grdVotes_KeyDown(event); };
    grdVotes->onScrolled = [this] { grdVotes_Scroll(); };
    connect(grdVotes, &QTableWidget::cellDoubleClicked, this, [this] { grdVotes_DblClick(); });

    txtInput = new QLineEdit(this);
    txtInput->setObjectName("txtInput");
    txtInput->setAlignment(Qt::AlignCenter);
    txtInput->setStyleSheet(
        QStringLiteral("QLineEdit { border: 1px solid palette(highlight); padding: 0px; }"));
    txtInput->hide();
    txtInput->installEventFilter(this);
    connect(txtInput, &QLineEdit::textChanged, this, [this] { txtInput_Change(); });

    fraKey = new QGroupBox(this);
    fraKey->setObjectName("fraKey");
    fraKey->setGeometry(0, twipsToY(kKeyTop), twipsToX(kKeyWidth), twipsToY(kKeyHeight));
    fraKey->hide();

    lblKey = new QLabel(QStringLiteral("Key:"), fraKey);
    lblKey->setObjectName("lblKey");
    lblKey->setGeometry(twipsToX(120), twipsToY(120), twipsToX(kKeyLabelWidth), twipsToY(kKeyLabelHeight));

    // The label array of the design: one name per index, the index also kept
    // as the property "index".
    for (int i = 0; i < 3; ++i) {
        QLabel* label = new QLabel(QStringLiteral("Standard Vote"), fraKey);
        label->setObjectName(QStringLiteral("lblKeyVoteType_%1").arg(i));
        label->setProperty("index", i);
        label->setGeometry(twipsToX(kKeyLabelLeft), twipsToY(kKeyLabelTops[static_cast<std::size_t>(i)]),
                           twipsToX(kKeyLabelWidth), twipsToY(kKeyLabelHeight));
        lblKeyVoteType[static_cast<std::size_t>(i)] = label;
    }

    cmdSave = new QPushButton(QStringLiteral("&Save"), fraKey);
    cmdSave->setObjectName("cmdSave");
    cmdSave->setGeometry(twipsToX((kKeyWidth - kSaveWidth) / 2), twipsToY(kSaveTop), twipsToX(kSaveWidth),
                         twipsToY(kSaveHeight));
    connect(cmdSave, &QPushButton::clicked, this, [this] { cmdSave_Click(); });

    // The loading indicator sits in the middle of the client area.
    imgLoading = new StillPicture(this);
    imgLoading->setObjectName("imgLoading");
    imgLoading->setPixmap(LoadingPicture());
    imgLoading->setFixedSize(kLoadingPictureWidth, kLoadingPictureHeight);
    imgLoading->move((width() - kLoadingPictureWidth) / 2, (height() - kLoadingPictureHeight) / 2 - 12);

    lblLoading = new QLabel(QLatin1String(kLoadingCaption), this);
    lblLoading->setObjectName("lblLoading");
    lblLoading->setGeometry(imgLoading->x(), imgLoading->y() + kLoadingPictureHeight + 4,
                            kLoadingPictureWidth, twipsToY(kKeyLabelHeight));
    // Left-aligned under the picture's left edge, so the growing dots do not
    // shift the words.
    lblLoading->setIndent(kLoadingPictureWidth / 2 -
                          lblLoading->fontMetrics().horizontalAdvance(QStringLiteral("Please Wait")) / 2);
    // The window is disabled while it loads; the caption keeps the colour of
    // enabled text, so the loading state is not drawn washed out.
    QPalette loading = lblLoading->palette();
    loading.setColor(QPalette::Disabled, QPalette::WindowText,
                     loading.color(QPalette::Active, QPalette::WindowText));
    lblLoading->setPalette(loading);

    cdSave.fileName = "Manual Votes.rec";
    cdSave.filter = "avelin Results Files (*.rec)|*.rec";
}

void frmCreate::Form_Load() {
    Services& services = mod_.services;

    // The active presentation and its folder.
    try {
        if (mod_.PowerPointApp == nullptr)
            throw NoActivePresentation();
        mod_.CurrentPresentation = mod_.PowerPointApp->activePresentation();
    } catch (const NoActivePresentation&) {
        services.dialogs.messageBox(
            "There are no presentations open.  Please open a voting presentation before "
            "attempting to create manual data.",
            mb::OkOnly + mb::Exclamation, "avelin");
        EndProgram();
        return;
    } catch (const Error& e) {
        // In file mode the presentation is a .pptx file that may be damaged.
        ShowFileProblem(std::string("The presentation could not be read.\r\n\r\n") + e.what());
        EndProgram();
        return;
    }
    PresentationFolder = mod_.CurrentPresentation->path;
    if (PresentationFolder.empty()) { // never saved
        EndProgram();
        return;
    }

    QApplication::setOverrideCursor(Qt::WaitCursor);
    busyPointer_ = true;
    create(); // the native window, so that the centring sees the window's frame
    mod_.CentreOnPowerPoint(hWnd());
    show();
    setEnabled(false); // no input while loading
    services.process.processEvents();

    // The file-system object of the window is the services' file system.
    PresentationVotes found;
    try {
        found = LoadPresentationVotes(*mod_.CurrentPresentation, services.files, [this, &services] {
            lblLoading->setText(ToDisplay(NextLoadingCaption(FromDisplay(lblLoading->text()))));
            services.process.processEvents();
        });
    } catch (const Error& e) {
        // A damaged vote definition file: named in a message instead of a
        // crash report.
        RestorePointer();
        hide();
        ShowFileProblem(std::string("A vote definition file could not be read.\r\n\r\n") + e.what());
        EndProgram();
        return;
    }
    votes = std::move(found.votes);
    grdVotes->setRowCount(std::max<int>(1, static_cast<int>(found.rows.size())));
    for (std::size_t r = 0; r < found.rows.size(); ++r) {
        auto* label = new QTableWidgetItem(ToDisplay(found.rows[r].text));
        label->setForeground(ColourFromBgr(found.rows[r].colour));
        label->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        label->setToolTip(label->text()); // long names are cut off in the label column
        grdVotes->setVerticalHeaderItem(static_cast<int>(r), label);
    }
    if (found.voteCount == 0) {
        RestorePointer();
        hide();
        services.dialogs.messageBox("The current presentation does not contain any votes.",
                                    mb::OkOnly + mb::Information, kCaption);
        EndProgram();
        return;
    }
    FormatGrid();

    RestorePointer();
    lblLoading->hide();
    imgLoading->hide();
    setEnabled(true);
    fraKey->show();
    grdVotes->show();
    grdVotes->setFocus(Qt::OtherFocusReason); // a count can be typed at once

    const std::array<QString, 3> keyTexts{QStringLiteral("Standard Vote"), QStringLiteral("Series Vote"),
                                          QStringLiteral("Rating Scale")};
    const std::array<std::uint32_t, 3> keyColours{kStandardColour, kSeriesColour, kRankColour};
    for (std::size_t i = 0; i < 3; ++i) {
        lblKeyVoteType[i]->setText(keyTexts[i]);
        // A wider face than the design's widens the label, within the frame.
        lblKeyVoteType[i]->resize(std::clamp(lblKeyVoteType[i]->sizeHint().width(), twipsToX(kKeyLabelWidth),
                                             fraKey->width() - lblKeyVoteType[i]->x() - twipsToX(60)),
                                  lblKeyVoteType[i]->height());
        QPalette palette = lblKeyVoteType[i]->palette();
        palette.setColor(QPalette::WindowText, ColourFromBgr(keyColours[i]));
        lblKeyVoteType[i]->setPalette(palette);
    }
}

void frmCreate::FormatGrid() {
    grdVotes->verticalHeader()->setFixedWidth(twipsToX(kLabelColumnWidth));
    for (int n = 1; n < kGridColumns; ++n) {
        grdVotes->setColumnWidth(n - 1, twipsToX(kValueColumnWidth));
        auto* header = new QTableWidgetItem(QString::number(n - 1));
        header->setTextAlignment(Qt::AlignCenter);
        grdVotes->setHorizontalHeaderItem(n - 1, header);
        for (int r = 1; r <= lastRow(); ++r) {
            QTableWidgetItem* cell = grdVotes->item(r - 1, n - 1);
            if (cell == nullptr) {
                cell = new QTableWidgetItem;
                grdVotes->setItem(r - 1, n - 1, cell);
            }
            cell->setTextAlignment(Qt::AlignCenter);
        }
    }

    const QColor greyed = GreyedColour();
    int row = 1;
    for (const VoteEntry& vote : votes) {
        for (int k = 0; k < vote.RowCount; ++k, ++row) {
            for (int n = 1; n < kGridColumns; ++n)
                if (IsUnavailableColumn(vote, n))
                    grdVotes->item(row - 1, n - 1)->setBackground(greyed);
        }
    }
    setCurrentCell(1, 1);
}

// W and H are the outer size, as the layout rules were made for a window
// with borders and a title bar; P is one pixel in twips.
void frmCreate::Form_Resize() {
    const QRect outer = frameGeometry();
    const double width = xToTwips(outer.width());
    const double height = yToTwips(outer.height());
    const double gridWidth = std::max(0.0, width - 4 * xToTwips(1) - 1900);
    const double gridHeight = std::max(0.0, height - 28 * yToTwips(1));
    const double keyLeft = std::max(0.0, std::nearbyint(width - kKeyWidth - 200));
    grdVotes->setGeometry(0, 0, twipsToX(gridWidth), twipsToY(gridHeight));
    fraKey->move(twipsToX(keyLeft), fraKey->y());
}

void frmCreate::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Form_Resize();
}

// The outer size may change without a resize of the client area (the window
// manager adding its frame), so the layout follows moves too.
void frmCreate::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    Form_Resize();
}

// No closing logic: the counts are discarded and the program ends.
void frmCreate::closeEvent(QCloseEvent* event) {
    event->accept();
    EndProgram();
}

void frmCreate::EndProgram() {
    ended_ = true;
    RestorePointer();
    mod_.services.process.endProgram();
}

void frmCreate::RestorePointer() {
    if (busyPointer_) {
        QApplication::restoreOverrideCursor();
        busyPointer_ = false;
    }
}

void frmCreate::ShowFileProblem(const std::string& text) {
    mod_.services.dialogs.messageBox(text, mb::OkOnly + mb::Critical, kCaption);
}

} // namespace avelin
