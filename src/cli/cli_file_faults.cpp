#include "cli/cli_file_faults.h"

#include <cstdlib>

namespace avelin::cli {

FileFaults CliFileFaults() {
    const char* text = std::getenv("AVELIN_FILE_FAULTS");
    return text ? ParseFileFaults(text) : FileFaults();
}

} // namespace avelin::cli
