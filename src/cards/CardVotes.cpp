#include "cards/CardVotes.h"

#include <algorithm>
#include <tuple>

#include "cards/CardFields.h"
#include "cards/CardShapes.h"
#include "cards/CardText.h"
#include "text/TextConv.h"

namespace kivtal::cards {
namespace {

// A value one reading gives, and how sure the engine was of that reading.
template <typename T>
struct Vote {
    T value;
    int confidence = 0;
};

// The value most votes give; of those given equally often the one the engine was surer
// of in sum, unless `preferred` picks one given less often.
template <typename T, typename Preferred>
T Commonest(const std::vector<Vote<T>>& votes, Preferred preferred) {
    std::tuple<bool, int, int> best{false, 0, -1};
    T chosen = votes.front().value;
    for (const Vote<T>& v : votes) {
        int count = 0, sum = 0;
        for (const Vote<T>& w : votes) {
            if (w.value != v.value) continue;
            ++count;
            sum += w.confidence;
        }
        const std::tuple<bool, int, int> score{preferred(v.value), count, sum};
        if (score > best) {
            best = score;
            chosen = v.value;
        }
    }
    return chosen;
}

bool ChineseName(const std::string& text) { return NameShapeScore(text) > 0 && CountCjk(text) == CountChars(text); }

std::vector<Vote<std::u16string>> ChineseNames(const std::vector<Reading>& readings) {
    std::vector<Vote<std::u16string>> names;
    for (const Reading& r : readings) {
        const std::string text = NormaliseLineText(r.text);
        if (ChineseName(text)) names.push_back({Utf8ToWide(text), r.confidence});
    }
    return names;
}

}  // namespace

std::optional<std::string> MostVoted(const std::vector<std::optional<std::string>>& votes) {
    // Equal confidences leave a tie to the first vote.
    std::vector<Vote<std::string>> cast;
    for (const std::optional<std::string>& v : votes)
        if (v) cast.push_back({*v, 0});
    if (cast.empty()) return std::nullopt;
    return Commonest(cast, [](const std::string&) { return false; });
}

std::optional<Reading> VoteName(const std::vector<Reading>& readings, int agreed) {
    std::vector<Vote<std::u16string>> names = ChineseNames(readings);
    if (names.empty()) return std::nullopt;
    const int nameReadings = static_cast<int>(names.size());
    std::vector<Vote<std::size_t>> lengths;
    for (const auto& n : names) lengths.push_back({n.value.size(), n.confidence});
    const std::size_t length = Commonest(lengths, [](std::size_t) { return false; });
    std::erase_if(names, [&](const auto& n) { return n.value.size() != length; });
    std::u16string voted;
    for (std::size_t at = 0; at < length; ++at) {
        std::vector<Vote<char16_t>> column;
        for (const auto& n : names) column.push_back({n.value[at], n.confidence});
        voted += Commonest(column, [&](char16_t c) { return at == 0 && IsCommonSurname(c); });
    }
    // A name put together from several readings is as sure as the readings of its length.
    Reading chosen{WideToUtf8(voted), 0};
    int saying = 0, sameLength = 0, sum = 0;
    for (const Reading& r : readings) {
        const std::string text = NormaliseLineText(r.text);
        if (text == chosen.text) {
            chosen.confidence = std::max(chosen.confidence, r.confidence);
            ++saying;
        }
        if (ChineseName(text) && Utf8ToWide(text).size() == length) {
            sum += r.confidence;
            ++sameLength;
        }
    }
    if (saying == 0) chosen.confidence = sum / std::max(1, sameLength);
    if (saying >= 2 && saying * 2 > nameReadings) chosen.confidence = std::max(chosen.confidence, agreed);
    return chosen;
}

}  // namespace kivtal::cards
