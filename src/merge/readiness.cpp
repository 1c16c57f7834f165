#include "merge/readiness.h"

namespace avelin {

GoButtonState CheckEnabled(int selectedCount, const std::string& outputName) {
    GoButtonState state;
    if (selectedCount > 1 && !outputName.empty()) {
        state.enabled = true;
        state.colour = kGoReadyColour;
        state.caption = "GO.";
        return state;
    }
    if (selectedCount < 2)
        state.caption += "Need 2 files selected. ";
    if (outputName.empty())
        state.caption += "Need output file. ";
    return state;
}

std::string CompleteExtension(const std::string& name) {
    if (name.empty() || name.ends_with(".rec"))
        return name;
    return name + ".rec";
}

} // namespace avelin
