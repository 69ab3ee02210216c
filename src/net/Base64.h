#pragma once
// Base64 in the standard alphabet with "=" fill and no line breaks, as the card upload
// sends pictures.
#include <string>
#include <string_view>

namespace kivtal {

// Encodes the whole file into `out`. The file is read in chunks whose size is a
// multiple of 3, so the chunk-wise text equals the whole-file text. False (and `out`
// untouched) when the file is missing, empty or cannot be read to its end.
bool Base64EncodeFile(const std::string& path, std::string& out);

}  // namespace kivtal
