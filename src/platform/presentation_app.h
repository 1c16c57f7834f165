#pragma once
// What the program reads of the presentation application: the add-in's folder
// and the open presentation with its slides, shapes and click actions.
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace avelin {

// Whether a shape of this name carries a vote: "VOTE" in any letter case.
// Only such shapes have their click action read: nothing else needs it, and
// each read is several calls into the presentation application.
inline bool IsVoteShape(std::string_view name) {
    constexpr std::string_view kVote = "VOTE";
    if (name.size() != kVote.size())
        return false;
    for (std::size_t i = 0; i < name.size(); ++i)
        if ((name[i] >= 'a' && name[i] <= 'z' ? name[i] - 'a' + 'A' : name[i]) != kVote[i])
            return false;
    return true;
}

struct ShapeInfo {
    std::string name;      // the shape's name ("VOTE" for a vote)
    std::string actionRun; // a vote shape's program-run text of its mouse-click action, else empty
};

struct SlideInfo {
    std::vector<ShapeInfo> shapes; // in the Shapes collection's order
};

struct PresentationInfo {
    std::string path; // folder, no trailing separator; empty when never saved
    std::string name; // file name with extension
    std::vector<SlideInfo> slides;
};

// The presentation application reports that no presentation is open
// (automation error 0x80048240).
class NoActivePresentation : public std::runtime_error {
public:
    static constexpr long kErrorNumber = static_cast<long>(0x80048240);
    NoActivePresentation() : std::runtime_error("There is no active presentation.") {}
};

class PresentationApp {
public:
    virtual ~PresentationApp() = default;
    // Reaches the running application (start-up's "get the running
    // application"); throws std::runtime_error, with a text for the user, when
    // it cannot. The other calls may attach on their own.
    virtual void attach() {}
    // Folder of the add-in of that name, no trailing separator. Throws
    // std::runtime_error when there is no such add-in.
    virtual std::string addinPath(const std::string& addinName) = 0;
    // The open presentation. Throws NoActivePresentation when none is open;
    // FileError or FormatError when its file cannot be read.
    virtual PresentationInfo activePresentation() = 0;
    // The open presentation's folder and file name only, no slides: all the
    // merge window asks, read without walking every shape of a large (or
    // damaged) presentation. Throws NoActivePresentation when none is open.
    virtual PresentationInfo activePresentationFile() {
        PresentationInfo info = activePresentation();
        info.slides.clear();
        return info;
    }
};

} // namespace avelin
