#pragma once
// The options of the avelin program that name the files of file mode, taken
// off the front of the command line before start-up reads its mode.
//
//   avelin [--presentation FILE.pptx] [--addin FOLDER] MODE[,SOURCE FOLDER]
//
// Environment variables AVELIN_PRESENTATION and AVELIN_ADDIN stand in for
// options that are not given.
#include <optional>
#include <string>
#include <vector>

namespace avelin {

struct LaunchOptions {
    std::optional<std::string> presentation; // the .pptx that stands for the open presentation
    std::optional<std::string> addin;        // the folder that stands for the add-in's folder
    bool help = false;
    bool version = false;
    std::string error;       // not empty: what is wrong with the options
    std::string commandLine; // the rest: what start-up splits into mode and folder

    // File mode: the presentation application is played by named files.
    bool fileMode() const { return presentation.has_value() || addin.has_value(); }
};

// From the arguments after the program's name (as main receives them): the
// options come first; the remaining arguments are joined by single blanks.
LaunchOptions ParseLaunchArguments(const std::vector<std::string>& args);

// From the raw text after the program's name (Windows): the options come
// first, a value may be in double quotes; the rest is taken as it stands,
// less one pair of quotes around all of it.
LaunchOptions ParseLaunchCommandLine(const std::string& text);

// `text` without one pair of double quotes that encloses all of it and
// holds no other quote.
std::string WithoutEnclosingQuotes(const std::string& text);

// The raw command line without the program's name (in double quotes or not)
// and the one blank after it.
std::string CommandLineAfterProgramName(const std::string& raw);

// Fills the options not given from the environment's values (nullptr or
// empty: not set).
void ApplyLaunchEnvironment(LaunchOptions& options, const char* presentation, const char* addin);

// Takes a relative presentation or add-in folder as relative to
// `startFolder`, the folder the program was started in: start-up changes the
// current folder before it reads them.
void AnchorLaunchPaths(LaunchOptions& options, const std::string& startFolder);

// What `avelin --help` prints (the version is the program's own).
std::string LaunchHelpText();

} // namespace avelin
