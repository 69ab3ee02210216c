#pragma once
// Name pinyin: each GB2312 character of a GBK text replaced by its Mandarin syllable in
// capital letters, without separators. It orders the contact list and builds its letter
// index; it is never shown nor turned back into a name.
#include <string>
#include <string_view>

namespace kivtal {

class ChsToPinyin {
public:
    virtual ~ChsToPinyin();

    // The process-wide converter, created on first use. The class holds no state, so
    // any instance behaves alike.
    static const ChsToPinyin& Instance();

    // gbk: code page 936 bytes. ASCII is copied as is (letters keep their case), each
    // GB2312 character becomes its syllable or "?", any other GBK double-byte character
    // becomes "?", and a byte that starts no double-byte character is dropped. The
    // result is ASCII except for the GBK bytes of ü and ǖ in two rare syllables.
    std::string ToPinyin(std::string_view gbk) const;

    // code: zone × 100 + position. Never empty: "?" for every code without a syllable.
    std::string_view SyllableOf(unsigned code) const;
};

}  // namespace kivtal
