// The merge window's selection lists: files move between the available and
// the selected list by double click, each selected file paired by position
// with its group name; and the information panel's fade-in.
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QTimer>

#include "merge/avlmerge.h"
#include "merge/avlmerge_info_panel.h"
#include "merge/avlmerge_text.h"
#include "merge/collation.h"
#include "merge/folder_listing.h"
#include "merge/group_names.h"
#include "merge/merge_run.h"

namespace avelin {

void avlmerge::Lst_InputList_DblClick() {
    // An eleventh file would need a two-digit index, which the merge
    // information line cannot hold: while ten files are selected a double
    // click on the available list is ignored (the caption above the list
    // already reads "Maximum of 10 files merged").
    if (Lst_Files->count() >= kMaxMergeFiles)
        return;
    QListWidgetItem* selected = Lst_InputList->currentItem();
    if (!selected)
        return;
    HideRenameFrame();

    const std::string name = EntryText(selected);
    const std::string dir = CaptionOf(lbl_directory);
    const std::string path = dir + kPathSeparator + name;
    const auto pos = static_cast<int>(SortedInsertPosition(Entries(Lst_Files), path));
    const std::string group = DefaultGroupName(name, dir, Entries(lst_groupnames));
    Lst_Files->insertItem(pos, NewEntry(path));
    lst_groupnames->insertItem(pos, NewEntry(group));
    delete Lst_InputList->takeItem(Lst_InputList->row(selected));

    ShowSelectedCount();
    if (Lst_Files->count() == kMaxMergeFiles)
        SetCaption(lbl_inputlist, "Maximum of 10 files merged");
    FitListCaptions();
    CheckEnabled();
}

void avlmerge::Lst_Files_DblClick() {
    QListWidgetItem* selected = Lst_Files->currentItem();
    if (!selected)
        return;
    HideRenameFrame();

    const std::string path = EntryText(selected);
    const int i = Lst_Files->row(selected);
    // Only a file of the folder on show goes back to the available list
    // (exact comparison, letter case counts); others reappear when their
    // folder is listed again.
    if (GetDirName(path) == CaptionOf(lbl_directory)) {
        const std::string base = LastComponent(path);
        Lst_InputList->insertItem(static_cast<int>(SortedInsertPosition(Entries(Lst_InputList), base)),
                                  NewEntry(base));
    }
    delete lst_groupnames->takeItem(i);
    delete Lst_Files->takeItem(i);

    ShowSelectedCount();
    if (Lst_Files->count() < kMaxMergeFiles)
        SetCaption(lbl_inputlist, "Files available for merging");
    FitListCaptions();
    CheckEnabled();
}

void avlmerge::ShowSelectedCount() {
    const int n = Lst_Files->count();
    SetCaption(lbl_files, n == 1 ? std::string("1 File selected for merging")
                                 : std::to_string(n) + " Files selected for merging");
}

void avlmerge::HideRenameFrame() {
    // An edit in progress is dropped; the prompt keeps its text.
    if (!frm_newname->isHidden())
        frm_newname->hide();
}

void avlmerge::tmrInfoLabel_Timer() {
    TChart1->setTransparency(TChart1->transparency() + 1);
    if (TChart1->transparency() == 100)
        tmrInfoLabel->stop();
}

} // namespace avelin
