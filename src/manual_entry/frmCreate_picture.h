#pragma once
// The still picture shown while the manual data window loads its votes.
#include <QLabel>
#include <QPixmap>

namespace avelin {

inline constexpr int kLoadingPictureWidth = 294; // pixels, whatever the screen's resolution
inline constexpr int kLoadingPictureHeight = 143;

// A bar chart of vote results in the colours of the key, drawn at run time so
// the program ships no picture file.
QPixmap LoadingPicture();

// A label that draws its picture as it is, also while its window is disabled
// (a plain label draws it greyed then).
class StillPicture : public QLabel {
  public:
    using QLabel::QLabel;

  protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace avelin
