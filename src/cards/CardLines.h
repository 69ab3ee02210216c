#pragma once
// The engine's words put back into lines. The engine joins words of very different
// sizes standing side by side ("张伟" in large type, "总经理" small beside it) into one
// line; a change of type size across a gap starts a new line here, so the name and
// the title reach the field reader apart.
#include <vector>

#include "cards/CardFields.h"
#include "cards/CardImage.h"

namespace kivtal::cards {

struct EngineWord {
    TextLine box;             // the word's text, box and confidence
    bool startsLine = false;  // the engine starts a new line with it
};

std::vector<TextLine> JoinWords(const std::vector<EngineWord>& words);

// The rows of large type among the marks on a card: marks between `minHeight` and
// `maxHeight` tall (no rules, borders or specks) that stand side by side at one height,
// each row as the box round its marks. A name set large stands out here even when the
// engine's page layout took it for a picture and read nothing there.
std::vector<PixBox> LargeTypeRows(std::vector<PixBox> marks, int minHeight, int maxHeight);

}  // namespace kivtal::cards
