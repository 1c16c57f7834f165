#pragma once
// The presentation application in file mode: the presentation is a .pptx file
// the user names and the add-in's folder a folder the user names. Nothing
// named stands for "no presentation open" and "no add-in folder".
#include <string>

#include "platform/file_system.h"
#include "platform/presentation_app.h"

namespace avelin {

class FilePresentationApp : public PresentationApp {
  public:
    // Empty texts: not named. A relative presentation path is made absolute
    // here, because the windows change the current directory later.
    FilePresentationApp(const FileSystem& files, std::string presentationFile, std::string addinFolder);

    // Throws FileError when a presentation is named but is not a file.
    void attach() override;
    // The named folder without trailing separators, whatever the add-in's
    // name; empty when none is named (the add-in's folders then do not exist
    // and the windows take their fallbacks). Throws std::runtime_error when
    // the named folder does not exist.
    std::string addinPath(const std::string& addinName) override;
    // ReadPptx of the named file; NoActivePresentation when none is named.
    PresentationInfo activePresentation() override;
    // The named file's folder and name, the file itself not read.
    PresentationInfo activePresentationFile() override;

    const std::string& presentationFile() const { return presentationFile_; }

  private:
    const FileSystem& files_;
    std::string presentationFile_;
    std::string addinFolder_;
};

} // namespace avelin
