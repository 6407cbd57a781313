#include "platform/qt/QtFontMetrics.h"

#include "platform/qt/QtText.h"

#include <QFont>
#include <QFontInfo>
#include <QFontMetrics>

namespace platform {

namespace {

QFont qtFont(const FontDescription& font) {
    QFont qt(toQt(font.spec.name));
    qt.setPointSize(font.spec.size);
    qt.setBold(font.spec.bold);
    qt.setItalic(font.spec.italic);
    qt.setUnderline(font.spec.underline);
    qt.setStrikeOut(font.strikeOut);
    return qt;
}

} // namespace

int QtFontMetrics::textWidth(const FontDescription& font, std::string_view text) {
    return QFontMetrics(qtFont(font)).horizontalAdvance(toQt(text));
}

int QtFontMetrics::fontHeight(const FontDescription& font) {
    return QFontInfo(qtFont(font)).pixelSize();
}

} // namespace platform
