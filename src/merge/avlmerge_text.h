#pragma once
// How the merge window and the folder browser put byte texts (system code
// page) into Qt controls and read them back. A control keeps the bytes it was
// given beside the text it shows, so a name that does not survive the round
// trip through QString (a byte the locale cannot decode) is still handed back
// to the core unchanged.
#include <QByteArray>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <string>
#include <vector>

#include "platform/design_font.h"
#include "platform/display_text.h"

namespace avelin {

inline QByteArray ToByteArray(const std::string& bytes) {
    return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

inline std::string FromByteArray(const QByteArray& b) {
    return std::string(b.constData(), static_cast<std::size_t>(b.size()));
}

inline constexpr char kBytesProperty[] = "avelinBytes";

// Reads back the bytes stored with the shown text, or the shown text itself
// when something else has changed it since.
inline std::string StoredOrShown(const QObject* control, const QString& shown) {
    const QVariant stored = control->property(kBytesProperty);
    if (stored.isValid()) {
        const std::string bytes = FromByteArray(stored.toByteArray());
        if (ToDisplay(bytes) == shown)
            return bytes;
    }
    return FromDisplay(shown);
}

inline void SetCaption(QLabel* label, const std::string& bytes) {
    label->setProperty(kBytesProperty, ToByteArray(bytes));
    label->setText(ToDisplay(bytes));
}

inline std::string CaptionOf(const QLabel* label) {
    return StoredOrShown(label, label->text());
}

inline void SetBoxText(QLineEdit* box, const std::string& bytes) {
    box->setProperty(kBytesProperty, ToByteArray(bytes));
    box->setText(ToDisplay(bytes));
}

inline std::string BoxText(const QLineEdit* box) {
    return StoredOrShown(box, box->text());
}

// List entries hold their bytes in Qt::UserRole.
inline QListWidgetItem* NewEntry(const std::string& bytes) {
    auto* item = new QListWidgetItem(ToDisplay(bytes));
    item->setData(Qt::UserRole, ToByteArray(bytes));
    return item;
}

inline void SetEntryText(QListWidgetItem* item, const std::string& bytes) {
    item->setData(Qt::UserRole, ToByteArray(bytes));
    item->setText(ToDisplay(bytes));
}

inline std::string EntryText(const QListWidgetItem* item) {
    return FromByteArray(item->data(Qt::UserRole).toByteArray());
}

inline std::vector<std::string> Entries(const QListWidget* list) {
    std::vector<std::string> entries;
    entries.reserve(static_cast<std::size_t>(list->count()));
    for (int i = 0; i < list->count(); ++i)
        entries.push_back(EntryText(list->item(i)));
    return entries;
}

// The merge window's design font, 8.25 points.
inline QFont DesignFont(const QString& family) {
    return DesignFont(family, 8.25);
}

// Design positions are twips (1/1440 inch); on screen they scale with the
// screen's logical resolution.
inline int TwipsToPixels(int twips, double dpi) {
    return static_cast<int>(twips * dpi / 1440.0 + 0.5);
}

inline QRect TwipRect(int left, int top, int width, int height, double dpi) {
    return QRect(TwipsToPixels(left, dpi), TwipsToPixels(top, dpi), TwipsToPixels(width, dpi),
                 TwipsToPixels(height, dpi));
}

} // namespace avelin
