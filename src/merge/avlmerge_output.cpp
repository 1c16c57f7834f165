// The merge window's output file: its name box, its checks, the save dialog
// and the readiness check that sets the merge button.
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "formats/windows_names.h"
#include "merge/avlmerge.h"
#include "merge/avlmerge_text.h"
#include "merge/folder_listing.h"
#include "merge/group_names.h"
#include "merge/readiness.h"

namespace avelin {

void avlmerge::CheckEnabled() {
    const std::string t = BoxText(txt_ofile);
    const GoButtonState state = avelin::CheckEnabled(Lst_Files->count(), t);
    SetGoButton(state.enabled, state.colour, state.caption);
    // A bare name resolves against the current directory, which the last
    // listing made the source folder.
    if (!t.empty() && !mod_.services.files.fileExists(CompleteExtension(t)))
        SetCaption(lbl_outfile, "Output Filename:");
}

void avlmerge::txt_ofile_Change() {
    CheckEnabled();
}

void avlmerge::txt_ofile_LostFocus() {
    const std::string t = BoxText(txt_ofile);
    const std::string completed = CompleteExtension(t);
    if (completed != t)
        SetBoxText(txt_ofile, completed); // the change runs the readiness check
}

void avlmerge::txt_ofile_Validate(bool& cancel) {
    // After a merge the box holds the success text, which names no file; any
    // change of it runs the readiness check, which takes the "OK" away.
    if (cmd_go->text() == QLatin1String("OK"))
        return;
    const std::string t = BoxText(txt_ofile);
    if (CheckForInvalidChars(t)) {
        cancel = true;
        SetCaption(lbl_outfile, "Filename cannot contain illegal characters");
        return;
    }
    // A name Windows cannot create: its reason, and the focus stays as for
    // the characters above. An empty name is the readiness check's concern.
    if (t.empty())
        return;
    if (const auto problem = FileNameProblem(OutputFolder, t, CompleteExtension(t).substr(t.size()))) {
        cancel = true;
        SetCaption(lbl_outfile, *problem);
    }
}

void avlmerge::cmd_obrowse_Click() {
    HideRenameFrame();
    SaveDialogRequest request;
    request.filter = "avelin results files (*.rec)|*.rec";
    request.initialFolder = OutputFolder;
    request.fileName = BoxText(txt_ofile);
    request.hideReadOnly = true;
    const std::optional<std::string> chosen = mod_.services.dialogs.saveFileName(request);
    if (!chosen)
        return; // cancelled: nothing changes, no check runs
    if (!chosen->empty()) {
        OutputFolder = GetDirName(*chosen);
        SetBoxText(txt_ofile, LastComponent(*chosen));
        SetCaption(lblOutputDirectory, OutputFolder);
    }
    CheckEnabled();
}

} // namespace avelin
