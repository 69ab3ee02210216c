#pragma once
// The widths of many short texts in one font, for sizing a list's columns to their
// widest text. Shaping a text (what QFontMetrics does) costs microseconds, and a column
// of ten thousand contacts holds ten thousand texts; so a text of Chinese characters,
// Latin letters, digits and their punctuation is measured as the sum of its
// characters' advances, kept per character. That is the shaped width up to kerning,
// which only narrows Latin pairs by a pixel or so: the sum never falls short of it.
// A text of any other script (combining marks, surrogate pairs, right-to-left...) is
// shaped whole.
#include <QFontMetricsF>
#include <QString>
#include <vector>

namespace kivtal {

class TextWidths {
public:
    explicit TextWidths(const QFont& font) : metrics_(font) {}

    // Pixels the text takes drawn in the font, rounded up.
    int Width(const QString& text);

private:
    qreal Advance(QChar c);

    QFontMetricsF metrics_;
    std::vector<float> advances_ = std::vector<float>(0x10000, -1);  // by UTF-16 unit, -1 until measured
};

}  // namespace kivtal
