#include "cards/CardLines.h"

#include <algorithm>

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

}  // namespace

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

}  // namespace kivtal::cards
