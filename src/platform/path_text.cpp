#include "platform/path_text.h"

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#endif

namespace avelin {

#ifdef _WIN32

std::filesystem::path PathOf(const std::string& text) {
    if (text.empty())
        return {};
    const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
    return std::filesystem::path(wide);
}

std::string TextOf(const std::filesystem::path& path) {
    const std::wstring& wide = path.native();
    if (wide.empty())
        return {};
    const int length = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                           nullptr, nullptr);
    std::string text(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), text.data(), length, nullptr,
                        nullptr);
    return text;
}

#else

std::filesystem::path PathOf(const std::string& text) {
    return std::filesystem::path(text);
}

std::string TextOf(const std::filesystem::path& path) {
    return path.string();
}

#endif

} // namespace avelin
