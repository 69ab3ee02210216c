#include "ui/main/TextWidths.h"

#include <QtMath>

namespace kivtal {
namespace {

// Characters whose shaped width is their advance: Latin (with its accented letters),
// the Chinese punctuation, the common Chinese characters and the full-width forms.
bool Simple(char16_t c) {
    return c < 0x0300 || (c >= 0x3000 && c <= 0x303F) || (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xFF00 && c <= 0xFFEF);
}

}  // namespace

qreal TextWidths::Advance(QChar c) {
    float& advance = advances_[c.unicode()];
    if (advance < 0) advance = static_cast<float>(metrics_.horizontalAdvance(c));
    return advance;
}

int TextWidths::Width(const QString& text) {
    qreal width = 0;
    for (const QChar c : text) {
        if (!Simple(c.unicode())) return qCeil(metrics_.horizontalAdvance(text));
        width += Advance(c);
    }
    return qCeil(width);
}

}  // namespace kivtal
