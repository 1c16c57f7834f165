#pragma once
// Which characters of a caption a font draws with no ink at all: a face the
// system substitutes may lack a letter or lose it to hinting at small sizes
// (Liberation Sans at 8 points under Wine draws no capital I).
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QString>

namespace avelin::test {

inline QString UndrawnLetters(const QFont& font, const QString& text) {
    QString undrawn;
    for (const QChar c : text) {
        if (c.isSpace() || undrawn.contains(c))
            continue;
        QImage image(48, 48, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(image.rect(), Qt::AlignCenter, QString(c));
        painter.end();
        bool ink = false;
        for (int y = 0; y < image.height() && !ink; ++y)
            for (int x = 0; x < image.width() && !ink; ++x)
                ink = qGray(image.pixel(x, y)) < 160;
        if (!ink)
            undrawn += c;
    }
    return undrawn;
}

} // namespace avelin::test
