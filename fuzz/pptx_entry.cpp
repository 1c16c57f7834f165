// The .pptx reader under arbitrary bytes.
#include <string>
#include <utility>
#include <vector>

#include "fuzz_entries.h"
#include "manual_entry/presentation_votes.h"
#include "platform/errors.h"
#include "platform/pptx_reader.h"
#include "stored_zip.h"

namespace avelin::fuzz {

namespace {

// Parts of the archive: name, NUL, content, NUL, and so on; a name without
// content gets an empty one.
std::vector<std::pair<std::string, std::string>> Parts(std::string_view data) {
    std::vector<std::pair<std::string, std::string>> parts;
    std::size_t start = 0;
    while (start < data.size()) {
        const std::size_t nameEnd = std::min(data.find('\0', start), data.size());
        const std::size_t contentStart = std::min(nameEnd + 1, data.size());
        const std::size_t contentEnd = std::min(data.find('\0', contentStart), data.size());
        parts.emplace_back(data.substr(start, nameEnd - start),
                           data.substr(contentStart, contentEnd - contentStart));
        start = contentEnd + 1;
    }
    return parts;
}

} // namespace

Outcome Pptx(std::string_view data) {
    const std::string bytes = data.substr(0, 2) == "PK" ? std::string(data) : StoredZip(Parts(data));
    PresentationInfo info;
    try {
        info = ReadPptxBytes(bytes, "fuzz.pptx");
    } catch (const FormatError&) {
        return Outcome::Refused;
    } catch (const FileError&) {
        return Outcome::Refused;
    }
    Require(info.name == "fuzz.pptx", "the presentation is named after its file");
    for (const SlideInfo& slide : info.slides)
        for (const ShapeInfo& shape : slide.shapes)
            VoteNameFromAction(shape.actionRun);
    return Outcome::Accepted;
}

} // namespace avelin::fuzz
