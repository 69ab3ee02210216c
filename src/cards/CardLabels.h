#pragma once
// The labels printed before a card's values (手机, Tel, 传真, E-mail, 地址, QQ ...) and
// the splitting of a line into labelled pieces.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cards/CardFields.h"

namespace kivtal::cards {

struct LineSegment {
    std::optional<CardField> label;  // the field its label names; none when unlabelled
    std::string value;               // the text after the label, trimmed
};

// Splits a normalised line at each label: a line's first label may stand without a
// colon ("手机 138..."), a later one needs a space before it and, for a one-letter
// Latin label, a colon after it ("Tel: 010-... Fax: 010-..."). Text before the first
// label is an unlabelled segment of its own.
std::vector<LineSegment> SplitLabelled(std::string_view line);

}  // namespace kivtal::cards
