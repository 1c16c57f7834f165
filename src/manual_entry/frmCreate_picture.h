#pragma once
// The still picture shown while the manual data window loads its votes.
#include <QPixmap>

namespace avelin {

inline constexpr int kLoadingPictureWidth = 294; // pixels, whatever the screen's resolution
inline constexpr int kLoadingPictureHeight = 143;

// A bar chart of vote results in the colours of the key, drawn at run time so
// the program ships no picture file.
QPixmap LoadingPicture();

} // namespace avelin
