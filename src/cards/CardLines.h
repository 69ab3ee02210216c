#pragma once
// The engine's words put back into lines. The engine joins words of very different
// sizes standing side by side ("张伟" in large type, "总经理" small beside it) into one
// line; a change of type size across a gap starts a new line here, so the name and
// the title reach the field reader apart.
#include <optional>
#include <string>
#include <vector>

#include "cards/CardFields.h"
#include "cards/CardImage.h"

namespace kivtal::cards {

struct EngineWord {
    TextLine box;             // the word's text, box and confidence
    bool startsLine = false;  // the engine starts a new line with it
};

std::vector<TextLine> JoinWords(const std::vector<EngineWord>& words);

struct RowShape {
    int minHeight = 0, maxHeight = 0;  // the marks a row is started and continued by
    int gapPercent = 150;              // the widest gap in a row, in its marks' height
};

// The rows of type among the marks on a card: marks of the shape's height (no rules,
// borders or specks) that stand side by side at one height, each row as the box round
// its marks and the smaller parts of its characters. A name set large stands out here
// even when the engine's page layout took it for a picture and read nothing there.
std::vector<PixBox> TypeRows(std::vector<PixBox> marks, const RowShape& shape);

// The text before the e-mail address on a line with an @, or with an e-mail label whose
// address the page pass read without its @ (found by the engine's words on the line);
// none on other lines.
std::optional<std::string> AddressLabel(const TextLine& line, const std::vector<TextLine>& words);

}  // namespace kivtal::cards
