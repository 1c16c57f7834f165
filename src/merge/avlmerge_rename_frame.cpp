// The rename frame of the merge window: a group name is edited in place,
// refused when it clashes with another group, cannot be part of a file name
// or names a file that Windows cannot create.
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

#include "formats/windows_names.h"
#include "merge/avlmerge.h"
#include "merge/avlmerge_text.h"
#include "merge/collation.h"
#include "merge/group_names.h"

namespace avelin {

namespace {
constexpr char kPrompt[] = "Enter the new name below";
constexpr char kClash[] = "That name already appears in the list, try again.";
constexpr char kIllegal[] = "Filename cannot contain illegal characters";
} // namespace

void avlmerge::lst_groupnames_DblClick() {
    QListWidgetItem* selected = lst_groupnames->currentItem();
    if (!selected)
        return;
    frm_newname->hide();
    frm_newname->show();
    frm_newname->raise();
    OldGroupName = EntryText(selected);
    SetBoxText(txt_newname, OldGroupName);
    txt_newname->setFocus(Qt::OtherFocusReason);
    txt_newname->selectAll();
}

void avlmerge::txt_newname_Validate(bool& cancel) {
    const std::string name = BoxText(txt_newname);
    if (CheckForInvalidChars(name)) {
        cancel = true;
        SetCaption(lbl_newname, kIllegal);
        SetBoxText(txt_newname, OldGroupName);
        return;
    }
    // A name Windows cannot give the group file is refused the same way, with
    // its reason. The name the frame opened with is let through unchanged
    // (a default name from a file "con.rec"): refusing it would trap the focus
    // in the box, since it is also the name put back; the merge names the
    // problem instead.
    if (name == OldGroupName)
        return;
    if (const auto problem = FileNameProblem(OutputFolder, name, ".grp")) {
        cancel = true;
        SetCaption(lbl_newname, *problem);
        SetBoxText(txt_newname, OldGroupName);
    }
}

void avlmerge::cmd_newname_Click(int index) {
    if (index == 0) {
        const std::string newName = BoxText(txt_newname);
        QListWidgetItem* selected = lst_groupnames->currentItem();
        if (newName != OldGroupName) {
            // The selected entry takes part too: a change of letter case only
            // is refused.
            for (const std::string& entry : Entries(lst_groupnames)) {
                if (SameNameAnyCase(newName, entry)) {
                    SetCaption(lbl_newname, kClash);
                    if (selected)
                        SetBoxText(txt_newname, EntryText(selected));
                    return;
                }
            }
            if (selected)
                SetEntryText(selected, newName);
        }
    }
    frm_newname->hide();
    SetCaption(lbl_newname, kPrompt);
}

} // namespace avelin
