#pragma once
// The merge engine: the prepared inputs become one results file whose keypads
// form one block per input, closed by the merge information line.
#include <string>
#include <vector>

#include "formats/vote_line.h"
#include "platform/clock.h"
#include "platform/file_system.h"

namespace avelin {

struct InputFile {
    std::vector<VoteLine> votes; // distinct vote names
    std::int16_t maxKeypads = 0; // set by MergeFiles
};

// Pads uneven files, builds one line per name of `lst_temp` (in that order)
// and the merge information line; returns the whole output text. The date and
// time are read from `clock` afresh for every record.
std::string MergeFiles(std::vector<InputFile>& inputFiles, const std::vector<std::string>& lst_temp,
                       const Clock& clock);

// The number of keypad positions the merged file will have: the sum over the
// files of their largest keypad count. Above 32767 it does not fit a line.
int KeypadTotal(const std::vector<InputFile>& inputFiles);
// The largest keypad count of one file's votes (0 without votes).
int LargestKeypadCount(const InputFile& file);

// The path the output is written to: ".rec" appended unless the name ends in
// exactly ".rec"; a name without a folder separator goes into `outputFolder`.
std::string OutputPath(const std::string& outputName, const std::string& outputFolder);

// Reads the whole file `filename` + ".rec"; `filename` keeps the extension
// afterwards. Throws FileError.
std::string ReadTextFileContents(std::string& filename, const FileSystem& files);

} // namespace avelin
