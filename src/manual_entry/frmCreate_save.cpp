// Saving the counts of the manual data window as a results file.
#include <QPushButton>

#include "formats/windows_names.h"
#include "manual_entry/frmCreate.h"
#include "manual_entry/frmCreate_grid.h"
#include "manual_entry/manual_results.h"
#include "platform/errors.h"

namespace avelin {

void frmCreate::cmdSave_Click() {
    // Pressed by its access key the button does not take the focus: the edit
    // is finished here as a click on the button finishes it, before the
    // writer moves the current cell.
    LeaveCellEditor(cmdSave);
    Services& services = mod_.services;
    cdSave.initialFolder = PresentationFolder;
    cdSave.fileName = "Manual Votes.rec";
    std::string path;
    for (;;) {
        const std::optional<std::string> chosen = services.dialogs.saveFileName(cdSave);
        if (!chosen)
            return; // cancelled: nothing written, no message
        path = *chosen;
        // A name Windows cannot create: why, and the dialog again with it,
        // as after declining to overwrite.
        if (const auto problem = ChosenPathProblem(path)) {
            services.dialogs.messageBox("The file " + path + " cannot be saved." + "\r\n\r\n" + *problem,
                                        mb::OkOnly + mb::Exclamation, "avelin Create Manual Data");
            cdSave.fileName = path;
            continue;
        }
        if (!services.files.fileExists(path))
            break;
        const int answer = services.dialogs.messageBox(
            "The file " + path + " already exists." + "\r\n\r\n" + "Do you wish to overwrite it?",
            mb::YesNoCancel + mb::Question, "Confirm File Replace");
        if (answer == mb::Yes)
            break;
        if (answer != mb::No)
            return;
        // The dialog comes back holding the name just chosen.
        cdSave.fileName = path;
    }
    WriteManualResults(path);
}

// The file is written whole through a temporary file, so a failure leaves an
// existing file as it was; the failure is reported instead of ending the
// program, and the counts stay in the grid for another try.
void frmCreate::WriteManualResults(const std::string& path) {
    setCurrentCell(1, std::max(1, currentCol()));
    grdVotes->hide();
    try {
        const std::string text =
            ManualResultsText(votes, gridCounts(), PresentationFolder, mod_.services.clock);
        mod_.services.files.writeFile(path, text);
    } catch (const Error& e) {
        // A file error's path is the file named already: its reason alone.
        const auto* file = dynamic_cast<const FileError*>(&e);
        mod_.services.dialogs.messageBox("The file " + path + " could not be saved." + "\r\n\r\n" +
                                             (file ? file->reason() : std::string(e.what())),
                                         mb::OkOnly + mb::Critical, "avelin Create Manual Data");
    }
    // The writer walks the answer rows down to the last one, where the
    // current row stays.
    setCurrentCell(lastRow(), std::max(1, currentCol()));
    grdVotes->show();
}

} // namespace avelin
