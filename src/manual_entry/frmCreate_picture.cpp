#include "manual_entry/frmCreate_picture.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <array>

#include "manual_entry/frmCreate_units.h"
#include "manual_entry/presentation_votes.h"

namespace avelin {

QPixmap LoadingPicture() {
    QPixmap picture(kLoadingPictureWidth, kLoadingPictureHeight);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);

    // Card
    QLinearGradient card(0, 0, 0, kLoadingPictureHeight);
    card.setColorAt(0, QColor(250, 250, 252));
    card.setColorAt(1, QColor(226, 230, 238));
    p.setPen(QPen(QColor(160, 166, 180), 1));
    p.setBrush(card);
    p.drawRoundedRect(QRectF(0.5, 0.5, kLoadingPictureWidth - 1, kLoadingPictureHeight - 1), 10, 10);

    // Axis
    const int left = 34, baseline = 118, right = kLoadingPictureWidth - 34;
    p.setPen(QPen(QColor(90, 96, 110), 2));
    p.drawLine(left, baseline, right, baseline);
    p.drawLine(left, baseline, left, 22);

    // Bars: response counts of an imaginary vote, in the key's colours.
    const std::array<int, 7> heights{38, 70, 52, 88, 60, 30, 46};
    const std::array<std::uint32_t, 3> colours{kStandardColour, kSeriesColour, kRankColour};
    const int slot = (right - left - 8) / static_cast<int>(heights.size());
    for (std::size_t i = 0; i < heights.size(); ++i) {
        const QColor colour = ColourFromBgr(colours[i % colours.size()]);
        QLinearGradient bar(0, baseline - heights[i], 0, baseline);
        bar.setColorAt(0, colour.lighter(150));
        bar.setColorAt(1, colour);
        p.setPen(Qt::NoPen);
        p.setBrush(bar);
        const int x = left + 8 + static_cast<int>(i) * slot;
        QPainterPath path;
        path.addRoundedRect(QRectF(x, baseline - heights[i], slot - 10, heights[i] - 1), 3, 3);
        p.drawPath(path);
    }
    return picture;
}

void StillPicture::paintEvent(QPaintEvent*) {
    QPainter(this).drawPixmap(0, 0, pixmap());
}

} // namespace avelin
