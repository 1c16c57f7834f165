#include "manual_entry/presentation_votes.h"

#include "platform/errors.h"

namespace avelin {

namespace {

// ASCII letters only: the other bytes of the system code page stay as they are.
std::string upperAscii(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return s;
}

bool endsWithAvl(const std::string& name) {
    return name.size() >= 4 && upperAscii(name.substr(name.size() - 4)) == ".AVL";
}

RowLabel rowLabel(const VoteEntry& vote, int m) {
    if (vote.Kind == "SERIES")
        return {vote.Name + "   [Iteration " + std::to_string(m) + "]", kSeriesColour};
    if (vote.Kind == "RANK")
        return {vote.Name + "   [Item " + std::to_string(m) + "]", kRankColour};
    return {vote.Name, kStandardColour};
}

} // namespace

std::string VoteNameFromAction(const std::string& actionRun) {
    // Positions count from 1: E is that of ".EXE" (0 when absent), the name
    // starts at E + 5 and runs up to the first comma.
    const std::size_t exe = upperAscii(actionRun).find(".EXE");
    const std::size_t e = exe == std::string::npos ? 0 : exe + 1;
    const std::size_t start = e + 5;
    const std::size_t comma = actionRun.find(',');
    if (comma != std::string::npos && comma + 1 <= start)
        return {};
    if (start - 1 >= actionRun.size())
        return {};
    const std::size_t end = comma == std::string::npos ? actionRun.size() : comma;
    return actionRun.substr(start - 1, end - (start - 1));
}

PresentationVotes LoadPresentationVotes(const PresentationInfo& presentation, const FileSystem& files,
                                        const std::function<void()>& onSlide) {
    PresentationVotes result;
    std::size_t rowBase = 0;
    for (const SlideInfo& slide : presentation.slides) {
        if (onSlide)
            onSlide();
        for (const ShapeInfo& shape : slide.shapes) {
            if (!IsVoteShape(shape.name))
                continue;
            const std::string name = VoteNameFromAction(shape.actionRun);
            if (!endsWithAvl(name))
                continue;
            // The entry is allocated before the file is read; when the file is
            // missing it stays empty and the next vote reuses it.
            const auto index = static_cast<std::size_t>(result.voteCount);
            if (result.votes.size() <= index)
                result.votes.resize(index + 1);
            VoteEntry& vote = result.votes[index];
            if (!ReadVoteDefinition(name, vote, presentation.path, files)) {
                result.missingDefinitions.push_back(VoteDefinitionPath(name, presentation.path));
                continue;
            }
            const auto rows = static_cast<std::size_t>(vote.RowCount);
            if (rowBase + rows > kMaxAnswerRows)
                throw FormatError(VoteDefinitionPath(name, presentation.path), 0,
                                  "with this vote the presentation's votes come to " +
                                      std::to_string(rowBase + rows) + " answer rows, more than the " +
                                      std::to_string(kMaxAnswerRows) + " the grid takes");
            if (result.rows.size() < rowBase + rows)
                result.rows.resize(rowBase + rows);
            for (std::size_t k = 0; k < rows; ++k) {
                vote.Name = name;
                result.rows[rowBase + k] = rowLabel(vote, static_cast<int>(k) + 1);
            }
            rowBase += rows;
            ++result.voteCount;
        }
    }
    return result;
}

std::string NextLoadingCaption(const std::string& caption) {
    std::string next = caption + ".";
    if (next.size() >= 5 && next.compare(next.size() - 5, 5, ".....") == 0)
        next = "Please Wait";
    return next;
}

} // namespace avelin
