#include "vcard/Utf8Input.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string_view>

namespace kivtal::vcard {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";
const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

// The UTF-16 flavour the first bytes show, or null. Without a byte-order mark an ASCII
// first character gives it away: a zero byte beside it, the same in the next unit.
const char* Utf16Of(std::string_view head, std::size_t& bomSize) {
    bomSize = 0;
    if (head.starts_with("\xFF\xFE") && !head.starts_with(std::string_view("\xFF\xFE\0\0", 4))) {
        bomSize = 2;
        return "UTF-16LE";
    }
    if (head.starts_with("\xFE\xFF")) {
        bomSize = 2;
        return "UTF-16BE";
    }
    if (head.size() < 4) return nullptr;
    const auto zero = [&](std::size_t i) { return head[i] == '\0'; };
    if (!zero(0) && zero(1) && !zero(2) && zero(3)) return "UTF-16LE";
    if (zero(0) && !zero(1) && zero(2) && !zero(3)) return "UTF-16BE";
    return nullptr;
}

}  // namespace

Utf8Input::~Utf8Input() {
    if (cd_ != kNoConverter) iconv_close(cd_);
}

void Utf8Input::Fill() {
    const std::size_t kept = rawEnd_ - rawPos_;
    std::memmove(raw_.data(), raw_.data() + rawPos_, kept);
    rawPos_ = 0;
    rawEnd_ = kept;
    in_.read(raw_.data() + kept, static_cast<std::streamsize>(raw_.size() - kept));
    const auto got = static_cast<std::size_t>(in_.gcount());
    rawEnd_ += got;
    bytesRead_ += got;
    if (got == 0) eof_ = true;
}

void Utf8Input::Start() {
    started_ = true;
    while (!eof_ && rawEnd_ < 4) Fill();
    std::size_t bom = 0;
    const char* flavour = Utf16Of(std::string_view(raw_.data(), rawEnd_), bom);
    if (flavour == nullptr) return;
    cd_ = iconv_open("UTF-8", flavour);
    if (cd_ != kNoConverter) rawPos_ = bom;
}

std::size_t Utf8Input::Read(char* dst, std::size_t size) {
    if (!started_) Start();
    if (cd_ != kNoConverter) return ReadConverted(dst, size);
    if (rawPos_ == rawEnd_ && !eof_) Fill();
    const std::size_t n = std::min(size, rawEnd_ - rawPos_);
    std::memcpy(dst, raw_.data() + rawPos_, n);
    rawPos_ += n;
    return n;
}

std::size_t Utf8Input::ReadConverted(char* dst, std::size_t size) {
    char* out = dst;
    std::size_t outLeft = size;
    while (outLeft >= kReplacement.size()) {
        if (rawPos_ == rawEnd_ || stalled_) {
            if (eof_) {
                if (rawPos_ == rawEnd_) break;
                std::memcpy(out, kReplacement.data(), kReplacement.size());  // a unit cut off at the end
                out += kReplacement.size();
                rawPos_ = rawEnd_;
                break;
            }
            stalled_ = false;
            Fill();
            continue;
        }
        char* in = raw_.data() + rawPos_;
        std::size_t inLeft = rawEnd_ - rawPos_;
        const std::size_t rc = iconv(cd_, &in, &inLeft, &out, &outLeft);
        rawPos_ = static_cast<std::size_t>(in - raw_.data());
        if (rc != static_cast<std::size_t>(-1)) continue;
        if (errno == E2BIG) break;
        if (errno == EINVAL) {
            stalled_ = true;
            continue;
        }
        std::memcpy(out, kReplacement.data(), kReplacement.size());  // EILSEQ: an unpaired surrogate
        out += kReplacement.size();
        outLeft -= kReplacement.size();
        rawPos_ = std::min(rawPos_ + 2, rawEnd_);
    }
    return static_cast<std::size_t>(out - dst);
}

}  // namespace kivtal::vcard
