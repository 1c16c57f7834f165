#pragma once
// The description a fake PowerPoint serves: one item a line, fields separated
// by tabs, texts in the ANSI code page.
//   addin <TAB> name <TAB> folder
//   presentation <TAB> folder <TAB> file name      (none: no presentation open)
//   slide
//   shape <TAB> name <TAB> program-run text of its click action (or macro name)
// A PresentationInfo written this way is what the backend must read back, so
// the checks compare these texts. Also built natively, to describe a .pptx.
#include <map>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/presentation_app.h"

namespace avelin::wintest {

struct PowerPointScript {
    std::map<std::string, std::string> addins; // name -> folder
    std::optional<PresentationInfo> presentation;
};

inline std::string ScriptLine(const std::vector<std::string>& fields) {
    std::string line;
    for (const std::string& field : fields) {
        if (field.find_first_of("\t\r\n") != std::string::npos)
            throw std::invalid_argument("a tab or line end in \"" + field + "\"");
        line += (line.empty() ? "" : "\t") + field;
    }
    return line + "\n";
}

inline std::string WriteScript(const PresentationInfo& presentation) {
    std::string text = ScriptLine({"presentation", presentation.path, presentation.name});
    for (const SlideInfo& slide : presentation.slides) {
        text += "slide\n";
        for (const ShapeInfo& shape : slide.shapes)
            text += ScriptLine({"shape", shape.name, shape.actionRun});
    }
    return text;
}

inline PowerPointScript ParseScript(const std::string& text) {
    PowerPointScript script;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        std::vector<std::string> f(1);
        for (const char c : line)
            if (c == '\t')
                f.emplace_back();
            else
                f.back() += c;
        f.resize(3);
        if (f[0] == "addin")
            script.addins[f[1]] = f[2];
        else if (f[0] == "presentation")
            script.presentation = PresentationInfo{f[1], f[2], {}};
        else if (f[0] == "slide" && script.presentation)
            script.presentation->slides.emplace_back();
        else if (f[0] == "shape" && script.presentation && !script.presentation->slides.empty())
            script.presentation->slides.back().shapes.push_back({f[1], f[2]});
        else
            throw std::invalid_argument("not a line of a PowerPoint script: " + line);
    }
    return script;
}

} // namespace avelin::wintest
