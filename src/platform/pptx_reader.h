#pragma once
// The facts of a presentation read from its .pptx file: slides in order, each
// slide's top-level shapes in order, their names and click actions.
#include <string>

#include "platform/presentation_app.h"

namespace avelin {

// Throws FormatError naming the file when it is not a readable presentation
// (not a zip, parts missing, broken XML, an entry far too large), FileError
// when it cannot be opened.
PresentationInfo ReadPptx(const std::string& path);

} // namespace avelin
