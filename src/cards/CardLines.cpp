#include "cards/CardLines.h"

#include <algorithm>

#include "cards/CardLabels.h"
#include "cards/CardText.h"

namespace kivtal::cards {
namespace {

// A new size after a clear gap: the words belong to different lines of the card.
bool SizeBreak(const TextLine& line, const TextLine& word) {
    const int gap = word.left - (line.left + line.width);
    const int small = std::min(line.height, word.height), large = std::max(line.height, word.height);
    return small > 0 && large * 10 > small * 14 && gap * 2 > large;
}

void Extend(TextLine& line, const TextLine& word, int& words) {
    const int right = std::max(line.left + line.width, word.left + word.width);
    const int bottom = std::max(line.top + line.height, word.top + word.height);
    line.left = std::min(line.left, word.left);
    line.top = std::min(line.top, word.top);
    line.width = right - line.left;
    line.height = bottom - line.top;
    line.text += " " + word.text;
    line.confidence = (line.confidence * words + word.confidence) / (words + 1);
    ++words;
}

int Bottom(const PixBox& b) { return b.top + b.height; }
int Right(const PixBox& b) { return b.left + b.width; }

// A mark continues a row when most of it stands at the row's height and the gap to
// the row is no wider than `gapPercent` of the taller's height.
bool Continues(const PixBox& row, const PixBox& mark, int gapPercent) {
    const int overlap = std::min(Bottom(row), Bottom(mark)) - std::max(row.top, mark.top);
    const int gap = mark.left - Right(row);
    return overlap * 2 >= std::min(row.height, mark.height) &&
           gap * 100 <= gapPercent * std::max(row.height, mark.height);
}

PixBox Union(const PixBox& a, const PixBox& b) {
    const int left = std::min(a.left, b.left), top = std::min(a.top, b.top);
    return {left, top, std::max(Right(a), Right(b)) - left, std::max(Bottom(a), Bottom(b)) - top};
}

// A mark beside the row: mostly inside the row's height, close beside it. The gap is
// kept well below the one before a title set small beside a name.
bool Beside(const PixBox& row, const PixBox& m) {
    const int centre = m.top + m.height / 2;
    const bool inside =
        centre > row.top && centre < Bottom(row) && m.height * 5 >= row.height && m.height <= row.height * 5 / 4;
    const int gap = std::max(m.left - Right(row), row.left - Right(m));
    return inside && gap * 3 <= row.height && (m.left < row.left || Right(m) > Right(row));
}

// A part of the row's characters standing over or under the rest (the top of 范 or 霞
// is a mark of its own): within the row's width, all but touching it, and leaving the
// row less than twice as tall as the marks that started it. The line above or below
// stands further off.
bool Stacked(const PixBox& row, const PixBox& m, int charHeight) {
    const int gap = std::max(row.top - Bottom(m), m.top - Bottom(row));
    const bool within = m.left >= row.left && Right(m) <= Right(row);
    const bool extends = m.top < row.top || Bottom(m) > Bottom(row);
    return within && extends && gap * 6 <= charHeight && Union(row, m).height * 4 <= charHeight * 7;
}

// Takes in the smaller marks of the row's characters (the parts of one that has no
// tall stroke): beside the row or stacked over or under it.
void Grow(PixBox& row, const std::vector<PixBox>& marks) {
    const int charHeight = row.height;
    for (bool grown = true; grown;) {
        grown = false;
        for (const PixBox& m : marks) {
            if (Beside(row, m) || Stacked(row, m, charHeight)) {
                row = Union(row, m);
                grown = true;
            }
        }
    }
}

bool IsEmailLabel(const LineSegment& s) { return s.label == CardField::kEmail; }

bool OnLine(const TextLine& word, const TextLine& line) {
    const int x = word.left + word.width / 2, y = word.top + word.height / 2;
    return x > line.left && x < line.left + line.width && y > line.top && y < line.top + line.height;
}

}  // namespace

std::vector<PixBox> TypeRows(std::vector<PixBox> marks, const RowShape& shape) {
    std::sort(marks.begin(), marks.end(), [](const PixBox& a, const PixBox& b) { return a.left < b.left; });
    std::vector<PixBox> rows;
    for (const PixBox& m : marks) {
        if (m.height < shape.minHeight || m.height > shape.maxHeight || m.width > 3 * m.height) continue;
        auto row =
            std::find_if(rows.begin(), rows.end(), [&](const PixBox& r) { return Continues(r, m, shape.gapPercent); });
        if (row != rows.end()) *row = Union(*row, m);
        else rows.push_back(m);
    }
    for (PixBox& row : rows) Grow(row, marks);
    return rows;
}

std::vector<TextLine> JoinWords(const std::vector<EngineWord>& words) {
    std::vector<TextLine> lines;
    int count = 0;
    for (const EngineWord& w : words) {
        if (lines.empty() || w.startsLine || SizeBreak(lines.back(), w.box)) {
            lines.push_back(w.box);
            count = 1;
        } else {
            Extend(lines.back(), w.box, count);
        }
    }
    return lines;
}

std::optional<std::string> AddressLabel(const TextLine& line, const std::vector<TextLine>& words) {
    if (const std::size_t at = line.text.find('@'); at != std::string::npos) {
        const std::size_t start = line.text.find_last_of(" :", at);
        return line.text.substr(0, start == std::string::npos ? 0 : start + 1);
    }
    std::string label;
    bool labelSeen = false;
    for (const TextLine& w : words) {
        if (!OnLine(w, line)) continue;
        for (const LineSegment& s : SplitLabelled(NormaliseLineText(w.text))) {
            const bool holdsAddress = HasLatinLetter(s.value) || HasDigit(s.value);
            if (holdsAddress && (labelSeen || IsEmailLabel(s))) return label;
            labelSeen = labelSeen || IsEmailLabel(s);
        }
        label += w.text + " ";
    }
    return std::nullopt;
}

}  // namespace kivtal::cards
