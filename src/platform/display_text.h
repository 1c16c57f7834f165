#pragma once
// The one conversion between the texts the core keeps (bytes in the system's
// code page) and the text Qt shows: the ANSI code page on Windows, the
// locale's encoding elsewhere.
#include <QString>

#include <string>

namespace avelin {

QString ToDisplay(const std::string& bytes);
std::string FromDisplay(const QString& text);

} // namespace avelin
