#include "startup/launch_options.h"

#include <algorithm>

#include "platform/path_text.h"

namespace avelin {

namespace {

// Applies one option (name without value) to `options`; false when unknown.
bool takeValue(LaunchOptions& options, const std::string& name, const std::string& value) {
    if (name == "--presentation")
        options.presentation = value;
    else if (name == "--addin")
        options.addin = value;
    else
        return false;
    return true;
}

bool takesValue(const std::string& name) {
    return name == "--presentation" || name == "--addin";
}

// Splits "--name=value"; false when there is no "=".
bool splitAssignment(const std::string& word, std::string& name, std::string& value) {
    const std::size_t eq = word.find('=');
    if (eq == std::string::npos)
        return false;
    name = word.substr(0, eq);
    value = word.substr(eq + 1);
    return true;
}

// One option word (and its value); false when the words are not an option.
// `nextValue` is asked for the value when the word has none.
template <class NextValue>
bool takeOption(LaunchOptions& options, const std::string& word, NextValue nextValue) {
    if (word == "--help" || word == "-h") {
        options.help = true;
        return true;
    }
    if (word == "--version") {
        options.version = true;
        return true;
    }
    std::string name, value;
    if (splitAssignment(word, name, value)) {
        if (!takeValue(options, name, value))
            options.error = "unknown option " + name;
        return true;
    }
    if (!takesValue(word)) {
        options.error = "unknown option " + word;
        return true;
    }
    const std::optional<std::string> next = nextValue();
    if (!next || next->empty())
        options.error = "option " + word + " needs a value";
    else
        takeValue(options, word, *next);
    return true;
}

// A mode never starts with "--"; a command line that does is an option.
bool isOption(const std::string& word) {
    return word.size() >= 2 && word[0] == '-' && word[1] == '-';
}

} // namespace

LaunchOptions ParseLaunchArguments(const std::vector<std::string>& args) {
    LaunchOptions options;
    std::size_t i = 0;
    while (i < args.size() && options.error.empty()) {
        const std::string& word = args[i];
        if (word == "--") {
            ++i;
            break;
        }
        if (!isOption(word) && word != "-h")
            break;
        ++i;
        takeOption(options, word, [&]() -> std::optional<std::string> {
            if (i >= args.size())
                return std::nullopt;
            return args[i++];
        });
    }
    for (std::size_t k = i; k < args.size(); ++k) {
        if (k > i)
            options.commandLine += ' ';
        options.commandLine += args[k];
    }
    return options;
}

LaunchOptions ParseLaunchCommandLine(const std::string& text) {
    LaunchOptions options;
    std::size_t pos = 0;
    // One word from `pos`: in double quotes (which it loses) or up to a blank.
    auto nextWord = [&]() -> std::optional<std::string> {
        while (pos < text.size() && text[pos] == ' ')
            ++pos;
        if (pos >= text.size())
            return std::nullopt;
        std::string word;
        if (text[pos] == '"') {
            const std::size_t close = text.find('"', pos + 1);
            const std::size_t end = close == std::string::npos ? text.size() : close;
            word = text.substr(pos + 1, end - pos - 1);
            pos = close == std::string::npos ? text.size() : close + 1;
        } else {
            const std::size_t end = std::min(text.find(' ', pos), text.size());
            word = text.substr(pos, end - pos);
            pos = end;
        }
        return word;
    };
    for (;;) {
        const std::size_t start = pos;
        const std::optional<std::string> word = nextWord();
        if (!word || !options.error.empty() || (!isOption(*word) && *word != "-h")) {
            pos = start;
            break;
        }
        const bool end = *word == "--";
        if (!end)
            takeOption(options, *word, nextWord);
        // The one blank after an option belongs to it, as after the program's name.
        if (pos < text.size() && text[pos] == ' ')
            ++pos;
        if (end)
            break;
    }
    if (options.error.empty())
        options.commandLine = WithoutEnclosingQuotes(text.substr(pos));
    return options;
}

std::string WithoutEnclosingQuotes(const std::string& text) {
    // A shortcut, a script or a shell that starts the program with the mode
    // and a folder with a blank as one argument quotes it: "MERGE,D:\My Votes".
    // No mode begins with a quote, so the pair is taken off; a quote anywhere
    // else stays as it stands.
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"' &&
        text.find('"', 1) == text.size() - 1)
        return text.substr(1, text.size() - 2);
    return text;
}

std::string CommandLineAfterProgramName(const std::string& raw) {
    std::size_t pos = 0;
    if (!raw.empty() && raw[0] == '"') {
        const std::size_t close = raw.find('"', 1);
        pos = close == std::string::npos ? raw.size() : close + 1;
    } else {
        pos = std::min(raw.find_first_of(" \t"), raw.size());
    }
    if (pos < raw.size() && (raw[pos] == ' ' || raw[pos] == '\t'))
        ++pos;
    return raw.substr(pos);
}

void ApplyLaunchEnvironment(LaunchOptions& options, const char* presentation, const char* addin) {
    if (!options.presentation && presentation && *presentation)
        options.presentation = presentation;
    if (!options.addin && addin && *addin)
        options.addin = addin;
}

void AnchorLaunchPaths(LaunchOptions& options, const std::string& startFolder) {
    for (std::optional<std::string>* path : {&options.presentation, &options.addin}) {
        // "/" puts the start folder before a relative path and keeps an
        // absolute one; on Windows a path from the root ("\Talks") gets the
        // start folder's drive.
        if (*path && !path->value().empty())
            **path = TextOf(PathOf(startFolder) / PathOf(**path));
    }
}

std::string LaunchHelpText() {
    return "Usage: avelin [--presentation FILE.pptx] [--addin FOLDER] MODE[,SOURCE FOLDER]\n"
           "\n"
           "The avelin add-in starts this program beside PowerPoint with one of two modes:\n"
           "  MERGE[,FOLDER]  merge vote results files (.rec) into one file; FOLDER is the\n"
           "                  folder to offer files from (default: the add-in's dataBank\n"
           "                  folder for the open presentation, else the presentation's folder)\n"
           "  CREATE          type the responses of the open presentation's votes and save\n"
           "                  them as a results file\n"
           "The mode is not case-sensitive; any other mode opens no window.\n"
           "\n"
           "File mode (without PowerPoint; the only mode on systems other than Windows):\n"
           "  --presentation FILE.pptx  the presentation that stands for PowerPoint's open\n"
           "                            presentation (environment: AVELIN_PRESENTATION)\n"
           "  --addin FOLDER            the folder that stands for the avelin add-in's folder,\n"
           "                            holding dataBank and data (environment: AVELIN_ADDIN)\n"
           "  Relative paths are taken from the folder avelin was started in.\n"
           "  In file mode there is no PowerPoint window to require and no keypad controller\n"
           "  to start; windows are centred on the screen.\n"
           "  --help                    this text\n"
           "  --version                 the program's version\n";
}

} // namespace avelin
