#include "ui/toolkit/SkinValues.h"

#include <QStringList>
#include <array>
#include <functional>

namespace kivtal {
namespace {

// Four comma-separated integers, as corner and dest carry them.
std::optional<std::array<int, 4>> ParseFourInts(const QString& text) {
    const QStringList parts = text.split(u',');
    if (parts.size() != 4) return std::nullopt;
    std::array<int, 4> values{};
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        values[i] = parts[i].trimmed().toInt(&ok);
        if (!ok) return std::nullopt;
    }
    return values;
}

// Reads key='value' pairs; false on an unterminated quote or a key without a value.
bool ForEachPair(const QString& text, const std::function<bool(const QString&, const QString&)>& take) {
    qsizetype pos = 0;
    while (pos < text.size()) {
        const qsizetype eq = text.indexOf(u'=', pos);
        if (eq < 0) return text.mid(pos).trimmed().isEmpty();
        const QString key = text.mid(pos, eq - pos).trimmed();
        if (eq + 1 >= text.size() || text[eq + 1] != u'\'') return false;
        const qsizetype close = text.indexOf(u'\'', eq + 2);
        if (close < 0) return false;
        if (!take(key, text.mid(eq + 2, close - eq - 2))) return false;
        pos = close + 1;
    }
    return true;
}

}  // namespace

std::optional<ImageSpec> ParseImageSpec(const QString& text) {
    ImageSpec spec;
    const QString trimmed = text.trimmed();
    if (!trimmed.contains(u'=')) {
        spec.file = trimmed;
        return spec;
    }
    const bool ok = ForEachPair(trimmed, [&spec](const QString& key, const QString& value) {
        if (key == u"file") {
            spec.file = value;
        } else if (key == u"corner") {
            const auto v = ParseFourInts(value);
            if (!v) return false;
            spec.corner = QMargins((*v)[0], (*v)[1], (*v)[2], (*v)[3]);
        } else if (key == u"dest") {
            const auto v = ParseFourInts(value);
            if (!v) return false;
            spec.dest = QRect(QPoint((*v)[0], (*v)[1]), QPoint((*v)[2] - 1, (*v)[3] - 1));
        }
        // Other keys (source, fade, mask) change nothing on this platform.
        return true;
    });
    if (!ok) return std::nullopt;
    return spec;
}

std::optional<QColor> ParseSkinColor(const QString& text) {
    QString hex = text.trimmed();
    if (hex.startsWith(u"0x", Qt::CaseInsensitive)) hex = hex.mid(2);
    else if (hex.startsWith(u'#')) hex = hex.mid(1);
    if (hex.size() != 8 && hex.size() != 6) return std::nullopt;
    bool ok = false;
    const uint value = hex.toUInt(&ok, 16);
    if (!ok) return std::nullopt;
    QColor color = QColor::fromRgba(value);
    if (hex.size() == 6) color.setAlpha(255);
    return color;
}

QString SkinImagePath(const QString& file) {
    if (file.startsWith(u':') || file.startsWith(u'/')) return file;
    return QStringLiteral(":/skin/images/") + file;
}

}  // namespace kivtal
