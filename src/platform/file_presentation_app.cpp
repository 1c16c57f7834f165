#include "platform/file_presentation_app.h"

#include <filesystem>
#include <stdexcept>

#include "platform/errors.h"
#include "platform/path_text.h"
#include "platform/pptx_reader.h"

namespace avelin {

namespace {

std::string absolutePath(const std::string& path) {
    if (path.empty())
        return path;
    std::error_code ec;
    const std::filesystem::path full = std::filesystem::absolute(PathOf(path), ec);
    return ec ? path : TextOf(full.lexically_normal().make_preferred());
}

bool isSeparator(char c) {
    return c == kPathSeparator || c == '/';
}

std::string withoutTrailingSeparators(std::string folder) {
    // A root ("/" or "C:\") keeps its separator: without it, it names another folder.
    while (folder.size() > 1 && isSeparator(folder.back()) && !(folder.size() == 3 && folder[1] == ':'))
        folder.pop_back();
    return folder;
}

} // namespace

FilePresentationApp::FilePresentationApp(const FileSystem& files, std::string presentationFile,
                                         std::string addinFolder)
    : files_(files), presentationFile_(absolutePath(presentationFile)),
      addinFolder_(withoutTrailingSeparators(std::move(addinFolder))) {}

void FilePresentationApp::attach() {
    if (!presentationFile_.empty() && !files_.fileExists(presentationFile_))
        throw FileError(presentationFile_, "the presentation file does not exist");
}

std::string FilePresentationApp::addinPath(const std::string&) {
    if (!addinFolder_.empty() && !files_.folderExists(addinFolder_))
        throw std::runtime_error("the add-in folder " + addinFolder_ + " does not exist");
    return addinFolder_;
}

PresentationInfo FilePresentationApp::activePresentation() {
    if (presentationFile_.empty())
        throw NoActivePresentation();
    return ReadPptx(presentationFile_);
}

PresentationInfo FilePresentationApp::activePresentationFile() {
    if (presentationFile_.empty())
        throw NoActivePresentation();
    return PresentationLocation(presentationFile_);
}

} // namespace avelin
