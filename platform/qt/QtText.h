#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace platform {

// The program's text is bytes. Valid UTF-8 shows as such; anything else byte for byte.
inline QString toQt(std::string_view bytes) {
    QString s = QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
    if (s.contains(QChar::ReplacementCharacter))
        return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
    return s;
}

inline std::string fromQt(const QString& text) {
    return text.toUtf8().toStdString();
}

} // namespace platform
