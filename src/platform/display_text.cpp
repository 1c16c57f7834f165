#include "platform/display_text.h"

#include <QByteArray>

namespace avelin {

QString ToDisplay(const std::string& bytes) {
    return QString::fromLocal8Bit(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::string FromDisplay(const QString& text) {
    const QByteArray b = text.toLocal8Bit();
    return std::string(b.constData(), static_cast<std::size_t>(b.size()));
}

} // namespace avelin
