#pragma once
// The presentation application with one presentation open, or none, and the
// add-in's folder; a failure hook throws what a presentation whose slides
// cannot be read would.
#include <functional>
#include <optional>
#include <string>

#include "platform/presentation_app.h"

namespace avelin::test {

class FakePresentationApp : public PresentationApp {
  public:
    std::optional<PresentationInfo> presentation; // nullopt: none open
    std::string addin;
    std::function<void()> failure; // throws, when set
    std::string addinPath(const std::string&) override { return addin; }
    PresentationInfo activePresentation() override {
        if (failure)
            failure();
        if (!presentation)
            throw NoActivePresentation();
        return *presentation;
    }
    // Folder and name are there even when the slides cannot be read.
    PresentationInfo activePresentationFile() override {
        if (!presentation)
            throw NoActivePresentation();
        return {presentation->path, presentation->name, {}};
    }
};

} // namespace avelin::test
