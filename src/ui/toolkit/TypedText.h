#pragma once
// What the user typed or pasted into a control, as the store keeps it.
#include <QString>
#include <string>

#include "text/ZeroCharacters.h"

namespace kivtal {

// UTF-8 without zero characters (a paste can carry one; it would cut the text short
// on the other devices).
inline std::string TypedUtf8(const QString& text) {
    std::string utf8 = text.toStdString();
    DropZeroCharacters(utf8);
    return utf8;
}

}  // namespace kivtal
