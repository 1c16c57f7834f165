#pragma once
// The windows' design font, one list of faces for every window.
#include <QFont>
#include <QString>

namespace avelin {

// A design font: the named face where the system has it, else a face of
// about the same widths, else DejaVu Sans, which every Debian machine has (a
// font configuration without generic aliases would otherwise give a serif
// face); a window widens for a wider face. MS Sans Serif is a bitmap face,
// which Qt does not draw: Windows gives Microsoft Sans Serif, Wine its Tahoma
// (Liberation Sans loses its capital I at 8 points there).
inline QFont DesignFont(const QString& family, double points) {
    QFont font;
    font.setFamilies({family, QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Tahoma"),
                      QStringLiteral("Arial"), QStringLiteral("Liberation Sans"),
                      QStringLiteral("Nimbus Sans"), QStringLiteral("Helvetica"),
                      QStringLiteral("DejaVu Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    return font;
}

} // namespace avelin
