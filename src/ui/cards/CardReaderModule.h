#pragma once
// The line between the program and its card reader module (kivtal_card_reader): the
// recognition engine and its image libraries (a tenth of the program's start) are
// loaded the first time a kept picture is read. Both sides are built from one tree, so
// C++ types cross.
#include <string>

#include "cards/CardReader.h"

namespace kivtal::cards::module {

inline constexpr char kCreateName[] = "kivtal_card_reader_create";
inline constexpr char kDestroyName[] = "kivtal_card_reader_destroy";
inline constexpr char kReadName[] = "kivtal_card_reader_read";
inline constexpr char kStatusTextName[] = "kivtal_card_status_text";

// Null with `error` set when the engine cannot be loaded.
using CreateFunction = CardReader* (*)(std::string* error);
using DestroyFunction = void (*)(CardReader* reader);
using ReadFunction = void (*)(CardReader* reader, const std::string& path, CardScan* out);
using StatusTextFunction = void (*)(CardStatus status, std::string* out);

}  // namespace kivtal::cards::module
