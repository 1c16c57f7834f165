#pragma once
// The facts of a presentation read from its .pptx file: slides in order, each
// slide's top-level shapes in order, their names and click actions.
#include <string>

#include "platform/presentation_app.h"

namespace avelin {

// Throws FormatError naming the file when it is not a readable presentation
// (not a zip, parts missing, broken XML, an entry far too large), FileError
// when it cannot be opened.
// The presentation's folder is that of the file's absolute path. A shape's
// click action gives its program-run text for "run program" actions, the
// macro's name for "run macro" actions and nothing otherwise. Texts are
// converted from the XML's UTF-8 to the system code page.
PresentationInfo ReadPptx(const std::string& path);
// The same from the bytes of a .pptx file already in memory; `path` names the
// file in errors and gives the presentation's folder and name.
PresentationInfo ReadPptxBytes(const std::string& bytes, const std::string& path);

// The folder (absolute, without a trailing separator: a drive's root "C:\"
// gives "C:") and the file name of the presentation file at `path`.
PresentationInfo PresentationLocation(const std::string& path);

// The program-run text stored as the URL of a "run program" action.
std::string ProgramRunFromUrl(const std::string& url);

} // namespace avelin
