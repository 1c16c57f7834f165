#pragma once
// Whether the merge may run, and what the merge button says.
#include <cstdint>
#include <string>

namespace avelin {

inline constexpr std::uint32_t kGoReadyColour = 65280;  // 0x00BBGGRR green
inline constexpr std::uint32_t kGoNotReadyColour = 255; // red

struct GoButtonState {
    bool enabled = false;
    std::uint32_t colour = kGoNotReadyColour;
    std::string caption;
};

GoButtonState CheckEnabled(int selectedCount, const std::string& outputName);

// "x" -> "x.rec"; a name already ending in exactly ".rec", or empty, unchanged.
std::string CompleteExtension(const std::string& name);

} // namespace avelin
