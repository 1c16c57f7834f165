#include "cli/cli_presentation.h"

#include <ostream>

#include "cli/cli_output.h"
#include "platform/pptx_reader.h"

namespace avelin::cli {

LoadedPresentation LoadVotesOf(const std::string& pptxPath, const FileSystem& files, std::ostream& err) {
    RefuseFolderInput(pptxPath, files);
    LoadedPresentation loaded;
    loaded.presentation = ReadPptx(pptxPath);
    loaded.votes = LoadPresentationVotes(loaded.presentation, files);
    for (const std::string& path : loaded.votes.missingDefinitions)
        err << "avelin-rec: " << path << ": no such vote definition file; the vote is skipped\n";
    return loaded;
}

} // namespace avelin::cli
