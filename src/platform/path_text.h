#pragma once
// Paths as the program keeps them (bytes in the system code page) and as
// std::filesystem keeps them. On Windows both directions go through the ANSI
// code page: libstdc++ of mingw-w64 gives UTF-8 back from path::string(), so
// "Prüfung" would come back as another name that no file has.
#include <filesystem>
#include <string>

namespace avelin {

std::filesystem::path PathOf(const std::string& text);
std::string TextOf(const std::filesystem::path& path);

} // namespace avelin
