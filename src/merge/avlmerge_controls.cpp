// The merge window's controls: names, captions, tool tips and their design
// positions in twips.
#include <QFont>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <cmath>

#include "merge/avlmerge.h"
#include "merge/avlmerge_info_panel.h"
#include "merge/avlmerge_text.h"

namespace avelin {

namespace {

// The client area holds the rightmost and lowest controls with the same
// 120-twip margin as the left and top ones.
constexpr int kClientWidth = 9975;
constexpr int kClientHeight = 4815;

template <class W> W* Named(W* w, const char* name) {
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

QLabel* NewLabel(QWidget* parent, const char* name, const char* caption) {
    auto* label = Named(new QLabel(parent), name);
    label->setTextFormat(Qt::PlainText); // file names may hold "<"
    SetCaption(label, caption);
    return label;
}

// Labels inside frames are opaque, as the design's are, and cover the frame's
// border (and caption) where they lie over it.
QLabel* NewFrameLabel(QWidget* parent, const char* name, const char* caption) {
    QLabel* label = NewLabel(parent, name, caption);
    label->setAutoFillBackground(true);
    return label;
}

QListWidget* NewList(QWidget* parent, const char* name, const char* toolTip) {
    auto* list = Named(new QListWidget(parent), name);
    // Sorted lists insert at the core collation's position; Qt's own sort is
    // case-sensitive and stays off.
    list->setSortingEnabled(false);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setUniformItemSizes(true);
    if (toolTip)
        list->setToolTip(QString::fromLatin1(toolTip));
    return list;
}

QPushButton* NewButton(QWidget* parent, const char* name, const char* caption) {
    auto* button = Named(new QPushButton(QString::fromLatin1(caption), parent), name);
    button->setAutoDefault(true); // Enter presses a focused button
    return button;
}

} // namespace

void avlmerge::buildControls() {
    setObjectName("avlmerge");
    setWindowTitle(QStringLiteral("avelin Merge Voting Data"));
    setFont(DesignFont(QStringLiteral("MS Sans Serif")));

    Label1 = NewLabel(this, "Label1", "Current Source Directory");
    lbl_directory = NewLabel(this, "lbl_directory", "directory");
    lbl_directory->setFont(DesignFont(QStringLiteral("Tahoma")));
    cmd_browseinput = NewButton(this, "cmd_browseinput", "Browse");

    Frame1 = Named(new QGroupBox(this), "Frame1");
    lbl_inputlist = NewFrameLabel(Frame1, "lbl_inputlist", "Files available for merging");
    Lst_InputList = NewList(Frame1, "Lst_InputList", "Double click to add a file to the list");

    Frame2 = Named(new QGroupBox(QStringLiteral("Frame2"), this), "Frame2");
    // The design's caption lies under the frame's labels: it is kept but not
    // drawn (drawn in the window's colour), and the controls inside keep the
    // window's text colour.
    QPalette hidden = Frame2->palette();
    hidden.setColor(QPalette::WindowText, hidden.color(QPalette::Window));
    Frame2->setPalette(hidden);
    lbl_files = NewFrameLabel(Frame2, "lbl_files", "Files selected for merging");
    Lst_Files = NewList(Frame2, "Lst_Files", "Double click to remove a file from the list");
    lblVoteName = NewFrameLabel(Frame2, "lblVoteName", "Vote / Group name");
    lblVoteName->setToolTip(
        QStringLiteral("This is the name given to the subgroup in the merged results file"));
    lst_groupnames = NewList(Frame2, "lst_groupnames", "Double click to edit the name");

    QPalette shown = palette();
    shown.setColor(QPalette::WindowText, palette().color(QPalette::WindowText)); // set, so not inherited
    for (QWidget* inside : Frame2->findChildren<QWidget*>())
        inside->setPalette(shown);

    TChart1 = Named(new InfoPanel(this), "TChart1");
    lblOutputDirectoryTitle = NewLabel(this, "lblOutputDirectoryTitle", "Output Directory");
    lblOutputDirectory = NewLabel(this, "lblOutputDirectory", "Label3");
    cmd_obrowse = NewButton(this, "cmd_obrowse", "&Browse");
    lbl_outfile = NewLabel(this, "lbl_outfile", "Output Filename:");
    lbl_outfile->setWordWrap(true);
    lbl_outfile->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    txt_ofile = Named(new QLineEdit(this), "txt_ofile");
    cmd_go = NewButton(this, "cmd_go", "Need 2 files selected");
    // Its own, since a widget with a style sheet does not take over the list
    // of font families from its window.
    cmd_go->setFont(font());
    SetGoButton(false, 255, "Need 2 files selected"); // the design state, before the first check
    cmd_cancel = NewButton(this, "cmd_cancel", "&Quit");
    lst_temp = NewList(this, "lst_temp", nullptr);
    lst_temp->hide();

    // The rename frame lies over the lists; created last so it is on top.
    frm_newname = Named(new QGroupBox(QStringLiteral("Change Group / Vote Name"), this), "frm_newname");
    Shape1 = Named(new QFrame(frm_newname), "Shape1"); // the frame's background, under its controls
    Shape1->setFrameShape(QFrame::Box);
    Shape1->setAutoFillBackground(true);
    Label3 = NewLabel(frm_newname, "Label3", "Change Group / Vote Name");
    QFont bold = Label3->font();
    bold.setBold(true);
    Label3->setFont(bold);
    lbl_newname = NewLabel(frm_newname, "lbl_newname", "Enter the new name below");
    txt_newname = Named(new QLineEdit(frm_newname), "txt_newname");
    SetBoxText(txt_newname, "Text1");
    // The two buttons form one control array; the index is a property.
    cmd_newname[0] = NewButton(frm_newname, "cmd_newname_0", "OK");
    cmd_newname[1] = NewButton(frm_newname, "cmd_newname_1", "Cancel");
    for (int i = 0; i < 2; ++i)
        cmd_newname[i]->setProperty("Index", i);
    cmd_newname[0]->setDefault(true);
    frm_newname->hide();

    tmrInfoLabel = Named(new QTimer(this), "tmrInfoLabel");
    tmrInfoLabel->setInterval(50);

    // The tab order of the design: source, lists, output, buttons.
    setTabOrder(cmd_browseinput, Lst_InputList);
    setTabOrder(Lst_InputList, Lst_Files);
    setTabOrder(Lst_Files, lst_groupnames);
    setTabOrder(lst_groupnames, cmd_obrowse);
    setTabOrder(cmd_obrowse, txt_ofile);
    setTabOrder(txt_ofile, cmd_go);
    setTabOrder(cmd_go, cmd_cancel);
    setTabOrder(txt_newname, cmd_newname[0]);
    setTabOrder(cmd_newname[0], cmd_newname[1]);
}

void avlmerge::placeControls(double dpi) {
    dpi_ = dpi;
    xScale_ = CaptionScale();
    const auto x = [this](int twips) { return static_cast<int>(std::lround(twips * xScale_)); };
    const auto at = [&](QWidget* w, int left, int top, int width, int height) {
        w->setGeometry(TwipRect(x(left), top, x(left + width) - x(left), height, dpi));
    };
    setFixedSize(TwipsToPixels(x(kClientWidth), dpi), TwipsToPixels(kClientHeight, dpi));

    at(Label1, 120, 240, 1935, 255);
    at(lbl_directory, 2040, 240, 4575, 255);
    at(cmd_browseinput, 6720, 240, 1095, 255);
    at(Frame1, 120, 720, 2655, 2655);
    at(lbl_inputlist, 120, 0, 1935, 255);
    at(Lst_InputList, 120, 240, 2415, 2205);
    at(Frame2, 2880, 720, 6975, 2655);
    at(lbl_files, 120, 0, 1935, 255);
    at(Lst_Files, 120, 240, 4215, 2205);
    at(lblVoteName, 4440, 0, 1455, 255);
    at(lst_groupnames, 4440, 240, 2415, 2205);
    at(frm_newname, 2520, 1080, 5055, 1815);
    // Inside the rename frame (the design gives only the frame's position).
    at(Shape1, 0, 0, 5055, 1815);
    at(Label3, 120, 120, 4815, 255);
    at(lbl_newname, 120, 480, 4815, 255);
    at(txt_newname, 120, 840, 4815, 315);
    at(cmd_newname[0], 2400, 1320, 1215, 375);
    at(cmd_newname[1], 3720, 1320, 1215, 375);
    at(TChart1, 120, 3600, 3135, 975);
    at(lblOutputDirectoryTitle, 3480, 3600, 1335, 255);
    at(lblOutputDirectory, 4800, 3600, 3735, 255);
    at(cmd_obrowse, 8640, 3600, 1215, 255);
    at(lbl_outfile, 3480, 3960, 1335, 735);
    at(txt_ofile, 4800, 3960, 3735, 285);
    at(cmd_go, 4800, 4320, 3735, 375);
    at(cmd_cancel, 8640, 4320, 1215, 375);
    at(lst_temp, 8040, 0, 1335, 450);
    FitListCaptions();
}

// The design's lengths were made for the widths of MS Sans Serif. Where the
// system gives a wider face (DejaVu Sans, say), the captions are measured in
// the font they are drawn in, and all lefts and widths of the window grow by
// the largest ratio of a caption's width to the width the design gives it, so
// that every fixed caption shows whole and the layout keeps its proportions.
double avlmerge::CaptionScale() const {
    const QFontMetrics bold(Label3->font());
    const struct {
        const QWidget* control;
        QString text;
        int twips; // the width the design gives the text
    } captions[] = {
        {Label1, Label1->text(), 1935},
        {lblVoteName, lblVoteName->text(), 1455},
        {lblOutputDirectoryTitle, lblOutputDirectoryTitle->text(), 1335},
        {lbl_outfile, lbl_outfile->text(), 1335},
        {lbl_inputlist, QStringLiteral("Maximum of 10 files merged"), 2415},
        {lbl_files, QStringLiteral("10 Files selected for merging"), 4215},
        {lbl_newname, QStringLiteral("That name already appears in the list, try again."), 4815},
        {cmd_browseinput, cmd_browseinput->text(), 1095 - 120}, // less the button's frame
        {cmd_obrowse, QStringLiteral("Browse"), 1215 - 120},
        {cmd_cancel, QStringLiteral("Quit"), 1215 - 120},
        {cmd_go, QStringLiteral("Need 2 files selected. Need output file. "), 3735 - 120},
    };
    const double designPixels = dpi_ / 1440.0;
    double scale = (bold.horizontalAdvance(Label3->text()) + 4) / (4815 * designPixels);
    for (const auto& c : captions)
        scale = std::max(scale,
                         (c.control->fontMetrics().horizontalAdvance(c.text) + 4) / (c.twips * designPixels));
    for (const QString& line : TChart1->titleLines()) // the panel keeps a margin of 4 pixels a side
        scale =
            std::max(scale, (TChart1->fontMetrics().horizontalAdvance(line) + 12) / (3135 * designPixels));
    return std::clamp(scale, 1.0, 2.0);
}

void avlmerge::FitListCaptions() {
    // The captions above the lists change at run time: a caption widens its
    // label to the right, at most to its list's width, rather than being cut
    // off.
    const auto fit = [this](QLabel* label, int designTwips, int listTwips) {
        const int needed = label->fontMetrics().horizontalAdvance(label->text()) + 4;
        const auto pixels = [this](int twips) {
            return TwipsToPixels(static_cast<int>(twips * xScale_), dpi_);
        };
        label->resize(std::clamp(needed, pixels(designTwips), pixels(listTwips)), label->height());
    };
    fit(lbl_inputlist, 1935, 2415);
    fit(lbl_files, 1935, 4215);
}

void avlmerge::SetGoButton(bool enabled, std::uint32_t colour, const std::string& caption) {
    cmd_go->setEnabled(enabled);
    cmd_go->setText(ToDisplay(caption));
    // Graphical style: the colour (0x00BBGGRR) shows as the background, also
    // while the button is disabled; the caption stays black, as grey does not
    // read on red.
    cmd_go->setProperty("BackColor", static_cast<uint>(colour));
    const int r = static_cast<int>(colour & 0xff), g = static_cast<int>((colour >> 8) & 0xff),
              b = static_cast<int>((colour >> 16) & 0xff);
    cmd_go->setStyleSheet(
        QStringLiteral("QPushButton#cmd_go { background-color: rgb(%1, %2, %3); color: black;"
                       " border: 1px solid #404040; }"
                       " QPushButton#cmd_go:disabled { color: black; }")
            .arg(r)
            .arg(g)
            .arg(b));
}

} // namespace avelin
