#pragma once
// The presentation application on Windows: the running PowerPoint, through
// its automation interface (late bound, read only).
#include <memory>

#include "platform/presentation_app.h"

namespace avelin {

class ComPresentationApp : public PresentationApp {
  public:
    ComPresentationApp();
    ~ComPresentationApp() override;

    // The running "PowerPoint.Application" object; throws std::runtime_error
    // with the system's text when PowerPoint is not registered or not running.
    void attach() override;
    std::string addinPath(const std::string& addinName) override;
    PresentationInfo activePresentation() override;
    PresentationInfo activePresentationFile() override;

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace avelin
