#pragma once
// A zero character cuts a text short wherever it is read as a C string (the reply
// parser, SQLite's text functions, the other devices), so texts coming in from the
// user or from a file lose theirs before they are stored: an editor's fields, an
// imported card's values. The command line cannot be handed one.
#include <cstddef>
#include <string>

namespace kivtal {

// Removes every zero byte (U+0000 in UTF-8) from text; returns how many there were.
std::size_t DropZeroCharacters(std::string& text);

}  // namespace kivtal
