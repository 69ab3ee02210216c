#pragma once
// The bytes of a vCard file as UTF-8. A UTF-16 file (with a byte-order mark, or without
// one when it starts with an ASCII character, as "BEGIN" does) is converted on the way
// through, a chunk at a time, so memory stays bounded whatever the file's size; any
// other file passes unchanged.
#include <iconv.h>

#include <cstdint>
#include <istream>
#include <vector>

namespace kivtal::vcard {

class Utf8Input {
public:
    explicit Utf8Input(std::istream& in) : in_(in) {}
    ~Utf8Input();
    Utf8Input(const Utf8Input&) = delete;
    Utf8Input& operator=(const Utf8Input&) = delete;

    // Up to size bytes (size at least 4) into dst; 0 at the end of the input. An
    // unpaired surrogate, or a code unit cut off at the end, becomes U+FFFD.
    std::size_t Read(char* dst, std::size_t size);

    // Of the input, before any conversion.
    std::uint64_t bytesRead() const { return bytesRead_; }

private:
    void Start();
    void Fill();
    std::size_t ReadConverted(char* dst, std::size_t size);

    std::istream& in_;
    std::vector<char> raw_ = std::vector<char>(1 << 16);
    std::size_t rawPos_ = 0;
    std::size_t rawEnd_ = 0;
    bool started_ = false;
    bool eof_ = false;
    bool stalled_ = false;  // the chunk ends inside a character: read on before converting
    iconv_t cd_ = reinterpret_cast<iconv_t>(-1);
    std::uint64_t bytesRead_ = 0;
};

}  // namespace kivtal::vcard
