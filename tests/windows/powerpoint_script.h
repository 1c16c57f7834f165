#pragma once
// What a fake PowerPoint serves, one item a line, fields separated by tabs,
// texts in the ANSI code page: "addin", name, folder; "presentation", folder,
// file name (none: no presentation open); "slide"; "shape", name, program-run
// text of its click action (or macro name). The checks compare what the
// backend reads as this text. Also built natively, to describe a .pptx.
#include <map>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>

#include "platform/presentation_app.h"

namespace avelin::wintest {

struct PowerPointScript {
    std::map<std::string, std::string> addins; // name -> folder
    std::optional<PresentationInfo> presentation;
};

inline std::string WriteScript(const PresentationInfo& presentation) {
    std::string text = "presentation\t" + presentation.path + "\t" + presentation.name + "\n";
    for (const SlideInfo& slide : presentation.slides) {
        text += "slide\n";
        for (const ShapeInfo& shape : slide.shapes)
            text += "shape\t" + shape.name + "\t" + shape.actionRun + "\n";
    }
    return text;
}

inline PowerPointScript ParseScript(const std::string& text) {
    PowerPointScript script;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        std::istringstream fields(line);
        std::string f[3];
        for (std::string& field : f)
            std::getline(fields, field, '\t');
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
