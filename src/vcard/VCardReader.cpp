#include "vcard/VCardReader.h"

#include <algorithm>
#include <cstring>

#include "vcard/VCardText.h"

namespace kivtal::vcard {
namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

// A card's first line; what stands before the marker on it (a stray byte-order mark,
// a mail program's prefix) is ignored.
bool IsBegin(std::string_view line) {
    line = Trimmed(line);
    constexpr std::string_view kMarker = "BEGIN:VCARD";
    return line.size() >= kMarker.size() && EqualsAscii(line.substr(line.size() - kMarker.size()), kMarker);
}

// Inside a card only a line that is nothing but the marker starts another one.
bool IsBareBegin(std::string_view line) { return EqualsAscii(Trimmed(line), "BEGIN:VCARD"); }

// A card's last line; phones have been seen to write "END:VCARD." and the like.
bool IsEnd(std::string_view line) {
    line = Trimmed(line);
    constexpr std::string_view kMarker = "END:VCARD";
    return line.size() >= kMarker.size() && EqualsAscii(line.substr(0, kMarker.size()), kMarker);
}

// The position of the first ':' outside double quotes, or npos.
std::size_t ValueColon(std::string_view line) {
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '"') quoted = !quoted;
        else if (line[i] == ':' && !quoted) return i;
    }
    return std::string_view::npos;
}

// 2.1 soft breaks only continue a line whose parameters say quoted-printable.
bool IsQuotedPrintableLine(std::string_view line) {
    const std::size_t colon = ValueColon(line);
    return colon != std::string_view::npos && ContainsAscii(line.substr(0, colon), "QUOTED-PRINTABLE");
}

std::vector<std::string_view> SplitOutsideQuotes(std::string_view text, char sep) {
    std::vector<std::string_view> parts;
    bool quoted = false;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '"') quoted = !quoted;
        else if (text[i] == sep && !quoted) {
            parts.push_back(text.substr(start, i - start));
            start = i + 1;
        }
    }
    parts.push_back(text.substr(start));
    return parts;
}

std::string_view Unquoted(std::string_view v) {
    if (v.size() >= 2 && v.front() == '"' && v.back() == '"') return v.substr(1, v.size() - 2);
    return v;
}

void AddParam(std::string_view text, std::vector<VCardParam>& out) {
    const std::size_t eq = text.find('=');
    if (eq == std::string_view::npos) {
        // 2.1 lets a parameter stand without its name.
        std::string bare = UpperAscii(Trimmed(text));
        const bool encoding = bare == "QUOTED-PRINTABLE" || bare == "BASE64" || bare == "8BIT" || bare == "7BIT";
        out.push_back({encoding ? "ENCODING" : "TYPE", std::move(bare)});
        return;
    }
    const std::string name = UpperAscii(Trimmed(text.substr(0, eq)));
    const std::string_view value = Unquoted(Trimmed(text.substr(eq + 1)));
    if (name != "TYPE") {
        out.push_back({name, std::string(value)});
        return;
    }
    // A type list may stand in quotes as a whole ("work,voice") or per item.
    for (std::string_view v : SplitOutsideQuotes(value, ',')) out.push_back({name, std::string(Unquoted(Trimmed(v)))});
}

}  // namespace

bool VCardProperty::hasType(std::string_view type) const {
    return std::any_of(params.begin(), params.end(),
                       [&](const VCardParam& p) { return p.name == "TYPE" && EqualsAscii(p.value, type); });
}

std::string VCardProperty::param(std::string_view wanted) const {
    for (const VCardParam& p : params)
        if (p.name == wanted) return p.value;
    return {};
}

bool ParseProperty(std::string_view line, VCardProperty& out) {
    const std::size_t colon = ValueColon(line);
    if (colon == std::string_view::npos) return false;
    const std::vector<std::string_view> head = SplitOutsideQuotes(line.substr(0, colon), ';');
    std::string_view name = Trimmed(head[0]);
    if (const std::size_t dot = name.rfind('.'); dot != std::string_view::npos) {
        out.group = std::string(name.substr(0, dot));
        name.remove_prefix(dot + 1);
    }
    if (name.empty()) return false;
    out.name = UpperAscii(name);
    for (std::size_t i = 1; i < head.size(); ++i)
        if (!Trimmed(head[i]).empty()) AddParam(head[i], out.params);
    out.value = std::string(line.substr(colon + 1));
    return true;
}

bool VCardReader::Buffered(std::size_t count) {
    while (bufEnd_ - bufPos_ < count && !eof_) {
        const std::size_t kept = bufEnd_ - bufPos_;
        std::memmove(buffer_.data(), buffer_.data() + bufPos_, kept);
        bufPos_ = 0;
        bufEnd_ = kept;
        const std::size_t got = in_.Read(buffer_.data() + kept, buffer_.size() - kept);
        bufEnd_ += got;
        if (got == 0) eof_ = true;
    }
    return bufEnd_ - bufPos_ >= count;
}

// One line end at bufPos_: LF, CR LF, CR CR LF (as one maker's phones write it) or CR
// alone (as old desktop programs do).
void VCardReader::SkipLineEnd() {
    const bool cr = buffer_[bufPos_++] == '\r';
    if (!cr || !Buffered(1)) return;
    if (buffer_[bufPos_] == '\n') ++bufPos_;
    else if (buffer_[bufPos_] == '\r' && Buffered(2) && buffer_[bufPos_ + 1] == '\n') bufPos_ += 2;
}

bool VCardReader::ReadPhysical(Line& line) {
    if (hasPeeked_) {
        line = std::move(peeked_);
        hasPeeked_ = false;
        return true;
    }
    line.text.clear();
    line.overlong = false;
    bool any = false;
    while (Buffered(1)) {
        any = true;
        const char* start = buffer_.data() + bufPos_;
        const char* end = buffer_.data() + bufEnd_;
        const char* stop = std::find_if(start, end, [](char c) { return c == '\n' || c == '\r'; });
        const auto len = static_cast<std::size_t>(stop - start);
        const std::size_t room = kMaxLineBytes - std::min(kMaxLineBytes, line.text.size());
        if (len > room) line.overlong = true;
        line.text.append(start, std::min(len, room));
        bufPos_ += len;
        if (stop != end) {
            SkipLineEnd();
            break;
        }
    }
    if (!any) return false;
    line.number = ++lineNumber_;
    if (line.number == 1 && line.text.starts_with(kBom)) line.text.erase(0, kBom.size());
    return true;
}

bool VCardReader::PeekPhysical(const Line*& line) {
    if (!hasPeeked_) {
        if (!ReadPhysical(peeked_)) return false;
        hasPeeked_ = true;
    }
    line = &peeked_;
    return true;
}

bool VCardReader::ReadLogical(Line& line) {
    if (!ReadPhysical(line)) return false;
    const bool qp = IsQuotedPrintableLine(line.text);
    const Line* next = nullptr;
    while (PeekPhysical(next)) {
        const bool folded = !next->text.empty() && (next->text[0] == ' ' || next->text[0] == '\t');
        const bool soft =
            qp && !line.text.empty() && line.text.back() == '=' && !IsEnd(next->text) && !IsBareBegin(next->text);
        if (!folded && !soft) break;
        Line part;
        ReadPhysical(part);
        if (soft) line.text.pop_back();
        const std::string_view add = soft ? std::string_view(part.text) : std::string_view(part.text).substr(1);
        if (part.overlong || line.text.size() + add.size() > kMaxLineBytes) line.overlong = true;
        if (!line.overlong) line.text.append(add);
    }
    return true;
}

void VCardReader::SkipNestedCard() {
    int depth = 1;
    Line line;
    while (depth > 0 && ReadLogical(line)) {
        if (IsBareBegin(line.text)) ++depth;
        else if (IsEnd(line.text)) --depth;
    }
}

bool VCardReader::Next(RawCard& card) {
    card = RawCard{};
    Line line;
    do {
        if (hasPendingLogical_) {
            line = std::move(pendingLogical_);
            hasPendingLogical_ = false;
        } else if (!ReadLogical(line)) {
            return false;
        }
        if (!IsBegin(line.text) && strayBeginLine_ == 0 && ContainsAscii(line.text, "BEGIN:VCARD"))
            strayBeginLine_ = line.number;
    } while (!IsBegin(line.text));
    ++cardsSeen_;
    card.line = line.number;
    std::size_t bytes = 0;
    bool agentOpen = false;
    while (true) {
        if (!ReadLogical(line)) {
            card.error = "no END:VCARD before the end of the file";
            card.errorLine = card.line;
            return true;
        }
        if (IsEnd(line.text)) return true;
        if (IsBareBegin(line.text)) {
            if (agentOpen) {  // a 2.1 AGENT holds a whole card of its own
                SkipNestedCard();
                agentOpen = false;
                continue;
            }
            pendingLogical_ = std::move(line);
            hasPendingLogical_ = true;
            card.error = "no END:VCARD before the next BEGIN:VCARD";
            card.errorLine = card.line;
            return true;
        }
        VCardProperty prop;
        if (!ParseProperty(line.text, prop)) continue;
        prop.line = line.number;
        agentOpen = prop.name == "AGENT" && Trimmed(prop.value).empty();
        if (line.overlong) {
            card.dropped.emplace_back(line.number, prop.name);
            continue;
        }
        if (!card.error.empty()) continue;
        // What a property costs held, not only its text, so a card of a million tiny
        // lines is cut off as surely as one huge line.
        bytes += line.text.size() + sizeof(VCardProperty) + prop.params.size() * sizeof(VCardParam);
        if (bytes > kMaxCardBytes) {
            card.error = "the card is larger than 4 MiB";
            card.errorLine = line.number;
            std::vector<VCardProperty>().swap(card.properties);
            continue;
        }
        if (prop.name == "VERSION") card.version = std::string(Trimmed(prop.value));
        card.properties.push_back(std::move(prop));
    }
}

}  // namespace kivtal::vcard
