// The merge button: the overwrite question, then the merge through the core,
// then the success text; pressed again it ends the program.
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "merge/avlmerge.h"
#include "merge/avlmerge_text.h"
#include "merge/merge_run.h"
#include "platform/errors.h"

namespace avelin {

void avlmerge::cmd_go_Click() {
    if (cmd_go->text() == QLatin1String("OK")) {
        mod_.services.process.endProgram();
        return;
    }
    Dialogs& dialogs = mod_.services.dialogs;
    const std::string name = BoxText(txt_ofile);
    if (mod_.services.files.fileExists(OutputFolder + kPathSeparator + name)) {
        const int answer = dialogs.messageBox("The output file, " + name + ", already exists." + "\r\n" +
                                                  "Do you want to overwrite this file?",
                                              mb::YesNo + mb::Information, "Confrim File Replace");
        if (answer != mb::Yes)
            return;
    }

    MergeRequest request;
    request.files = Entries(Lst_Files);
    request.groupNames = Entries(lst_groupnames);
    request.outputName = name;
    request.outputFolder = OutputFolder;
    MergeResult result;
    // The core reads and checks every input before it writes anything; a
    // failure is reported with the file and the reason, and the window stays
    // as it was.
    try {
        result = RunMerge(request, mod_.services.files, mod_.services.clock);
    } catch (const Error& e) {
        dialogs.messageBox(std::string("The files were not merged.\r\n") + e.what(),
                           mb::OkOnly + mb::Critical, "avelin Merge Voting Data");
        return;
    }

    lst_temp->clear();
    for (const std::string& vote : result.voteOrder)
        lst_temp->addItem(NewEntry(vote));
    SetBoxText(txt_ofile, std::to_string(Lst_Files->count()) + " vote files successfully merged.");
    cmd_go->setText(QStringLiteral("OK"));
}

} // namespace avelin
