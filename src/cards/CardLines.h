#pragma once
// The engine's words put back into lines. The engine joins words of very different
// sizes standing side by side ("张伟" in large type, "总经理" small beside it) into one
// line; a change of type size across a gap starts a new line here, so the name and
// the title reach the field reader apart.
#include <vector>

#include "cards/CardFields.h"

namespace kivtal::cards {

struct EngineWord {
    TextLine box;             // the word's text, box and confidence
    bool startsLine = false;  // the engine starts a new line with it
};

std::vector<TextLine> JoinWords(const std::vector<EngineWord>& words);

}  // namespace kivtal::cards
