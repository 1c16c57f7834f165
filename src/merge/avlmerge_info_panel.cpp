#include "merge/avlmerge_info_panel.h"

#include "merge/avlmerge_text.h"

#include <QPainter>
#include <QStyleOptionFrame>
#include <algorithm>

namespace avelin {

InfoPanel::InfoPanel(QWidget* parent)
    : QWidget(parent), lines_{QStringLiteral("To enable the merge utility to function"),
                              QStringLiteral("correctly files chosen to be merged"),
                              QStringLiteral("must be of the same format, i.e. they must"),
                              QStringLiteral("be from the same meeting design")} {
    setFont(DesignFont(QStringLiteral("MS Sans Serif")));
}

void InfoPanel::setTransparency(int percent) {
    transparency_ = std::clamp(percent, 0, 100);
    update();
}

void InfoPanel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QColor face = palette().color(QPalette::Button); // the button-face colour
    p.fillRect(rect(), face);

    QStyleOptionFrame frame;
    frame.initFrom(this);
    frame.frameShape = QFrame::Panel;
    frame.state |= QStyle::State_Sunken;
    frame.lineWidth = 1;
    style()->drawPrimitive(QStyle::PE_Frame, &frame, &p, this);

    // The title: left-justified lines, the block centred in the panel.
    const QFontMetrics fm(font());
    const int lineHeight = fm.lineSpacing();
    const int blockHeight = lineHeight * static_cast<int>(lines_.size());
    int widest = 0;
    for (const QString& line : lines_)
        widest = std::max(widest, fm.horizontalAdvance(line));
    const QRect block(std::max(4, (width() - widest) / 2), std::max(2, (height() - blockHeight) / 2), widest,
                      blockHeight);
    p.setPen(palette().color(QPalette::WindowText));
    for (int i = 0; i < lines_.size(); ++i)
        p.drawText(QRect(block.left(), block.top() + i * lineHeight, widest, lineHeight),
                   Qt::AlignLeft | Qt::AlignVCenter, lines_[i]);

    // The cover over the text, less opaque at every step.
    QColor cover = face;
    cover.setAlphaF(static_cast<float>(100 - transparency_) / 100.0f);
    p.fillRect(block.adjusted(-2, -2, 2, 2), cover);
}

} // namespace avelin
