#include "cards/CardReader.h"

#include <leptonica/allheaders.h>
#include <omp.h>
#include <tesseract/baseapi.h>
#include <tesseract/resultiterator.h>

#include <algorithm>
#include <optional>
#include <span>

#include "cards/CardLines.h"
#include "cards/CardShapes.h"
#include "cards/CardText.h"
#include "cards/CardVotes.h"

namespace kivtal::cards {
namespace {

// The engine runs its line recogniser in parallel loops of a fixed team of threads.
// On small card pictures they cost more in waiting than they win, several times over
// when other programs share the two cores (measured: 0.35 s a card on one thread,
// 1.4 s with the team). The team's size is fixed in the engine, so the reading thread
// allows no parallel level at all instead.
void ReadOnThisThreadOnly() { omp_set_max_active_levels(0); }

constexpr const char* kLanguages = "chi_sim+eng";
// Lines at least this much taller than the card's usual line, and this short, are
// read again on their own: names and company names in large type.
constexpr int kLargeLinePercent = 140;
constexpr int kLargeLineChars = 16;
constexpr int kLargeLinesReread = 3;
// Marks this much taller than the card's usual line are large type, even where the
// engine read nothing.
constexpr int kLargeMarkPercent = 130;
// Large type read alone is brought to these line heights (px), and the likelier
// reading kept: measured over the card set, 32-36 px read names best (63% exact
// against 50% unscaled, 53% at 64).
constexpr int kRereadHeights[] = {34, 46};
constexpr int kAgreedConfidence = 80;
// A name is read at more sizes, and from the ink picture as well, and voted on
// character by character: each reading slips on other strokes.
constexpr int kNameHeights[] = {30};
constexpr int kNameInkHeights[] = {34, 42};
// Rows of marks the page pass left without any line (small print on low-resolution
// pictures, mostly) are read alone at this line height; marks below kSmallestMark px
// are specks.
constexpr int kMissedRowHeights[] = {32};
constexpr int kSmallestMark = 8;
constexpr int kWordGapPercent = 300;  // small print's rows run on across word gaps
constexpr std::size_t kMissedRowsRead = 8;
// A row the page pass read less than this share of (percent) was missed: a line
// begun and given up.
constexpr int kReadSharePercent = 60;
// An e-mail line is read again alone by the English engine, held to the characters an
// address and its label are written in, enlarged to this line height (px): the mixed
// engine takes letters of a made-up name for Chinese-looking shapes.
constexpr const char* kAddressCharacters = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789@.-_:";
constexpr int kEmailRereadHeights[] = {40, 48, 56};

struct CharDeleter {
    void operator()(char* text) const { delete[] text; }
};
using EngineText = std::unique_ptr<char, CharDeleter>;

int ConfidentFields(const CardReading& reading) {
    return static_cast<int>(std::count_if(reading.fields.begin(), reading.fields.end(),
                                          [](const FieldReading& f) { return f.confidence >= kConfidentReading; }));
}

int MeanConfidence(const std::vector<TextLine>& lines) {
    if (lines.empty()) return 0;
    int sum = 0;
    for (const TextLine& l : lines) sum += l.confidence;
    return sum / static_cast<int>(lines.size());
}

// How good a reading is, to choose between the turns of a picture.
int Score(const CardScan& scan) { return ConfidentFields(scan.reading) * 100 + MeanConfidence(scan.lines); }

bool Poor(const CardScan& scan) { return ConfidentFields(scan.reading) < 3; }

int MedianLineHeight(std::vector<TextLine> lines) {
    std::nth_element(lines.begin(), lines.begin() + lines.size() / 2, lines.end(),
                     [](const TextLine& a, const TextLine& b) { return a.height < b.height; });
    return lines[lines.size() / 2].height;
}

// Drops what the engine read from specks and borders: lines with nothing but marks.
std::vector<TextLine> WithWords(std::vector<TextLine> lines) {
    std::erase_if(lines, [](const TextLine& l) {
        const std::string text = NormaliseLineText(l.text);
        return CountCjk(text) == 0 && !HasDigit(text) && !HasLatinLetter(text);
    });
    return lines;
}

// Drops the lines the engine barely believes itself.
std::vector<TextLine> Believed(std::vector<TextLine> lines) {
    std::erase_if(lines, [](const TextLine& l) { return l.confidence < 25; });
    return lines;
}

bool ChineseCard(const std::vector<TextLine>& lines) {
    int cjk = 0;
    for (const TextLine& l : lines) cjk += CountCjk(l.text);
    return cjk >= 4;
}

// Two boxes over the same type: most of the smaller's height shared, and side by side
// or overlapping.
bool SameType(const PixBox& a, const PixBox& b) {
    const int overlap = std::min(a.top + a.height, b.top + b.height) - std::max(a.top, b.top);
    const bool across = a.left < b.left + b.width && b.left < a.left + a.width;
    return across && overlap * 2 >= std::min(a.height, b.height);
}

bool Touches(const TextLine& line, const PixBox& box) {
    return line.left < box.left + box.width && box.left < line.left + line.width && line.top < box.top + box.height &&
           box.top < line.top + line.height;
}

// Most of the line's width lies within the box.
bool Inside(const TextLine& line, const PixBox& box) {
    const int shared = std::min(line.left + line.width, box.left + box.width) - std::max(line.left, box.left);
    return shared * 2 >= line.width;
}

// How much of the row's width the lines over it cover, in percent.
int ReadShare(const std::vector<TextLine>& lines, const PixBox& row) {
    int covered = 0;
    for (const TextLine& l : lines)
        if (Touches(l, row)) covered += std::min(l.left + l.width, row.left + row.width) - std::max(l.left, row.left);
    return covered * 100 / std::max(1, row.width);
}

// A reading of large type is likelier than another when it has more of a name's shape
// (a common surname first most of all), or else when the engine is surer of it.
bool Likelier(const Reading& a, const Reading& b) {
    const int nameA = NameShapeScore(NormaliseLineText(a.text));
    const int nameB = NameShapeScore(NormaliseLineText(b.text));
    if (nameA != nameB) return nameA > nameB;
    return a.confidence > b.confidence;
}

// The first line of what the engine read of the picture it was last given.
std::string FirstLine(tesseract::TessBaseAPI& engine) {
    const EngineText text(engine.GetUTF8Text());
    const std::string all(text ? text.get() : "");
    return Trim(all.substr(0, all.find('\n')));
}

// The engine took this character for the @ beside it as well: the wide @ read twice,
// once as a letter. Only the English engine gives the other characters it weighed.
bool AlsoTheAt(tesseract::ResultIterator& symbol) {
    tesseract::ChoiceIterator choice(symbol);
    const float best = choice.Confidence();
    do {
        const char* text = choice.GetUTF8Text();
        if (text && std::string_view(text) == "@") return choice.Confidence() * 2 >= best;
    } while (choice.Next());
    return false;
}

// What the English engine read of an address, character by character, without an @
// it read twice.
std::string AddressText(tesseract::TessBaseAPI& engine) {
    if (engine.Recognize(nullptr) != 0) return {};
    const std::unique_ptr<tesseract::ResultIterator> it(engine.GetIterator());
    if (!it) return {};
    struct Symbol {
        std::string text;
        bool startsWord = false;
        bool alsoAt = false;
    };
    constexpr auto kSymbol = tesseract::RIL_SYMBOL;
    std::vector<Symbol> symbols;
    do {
        if (it->Empty(kSymbol)) continue;
        const EngineText text(it->GetUTF8Text(kSymbol));
        symbols.push_back({text ? text.get() : "", it->IsAtBeginningOf(tesseract::RIL_WORD), AlsoTheAt(*it)});
    } while (it->Next(kSymbol));
    const auto isAt = [&](std::size_t i) { return i < symbols.size() && symbols[i].text == "@"; };
    std::string out;
    for (std::size_t i = 0; i < symbols.size(); ++i) {
        const bool twice = !isAt(i) && symbols[i].alsoAt && (isAt(i + 1) || (i > 0 && isAt(i - 1)));
        if (symbols[i].startsWord && !out.empty()) out += ' ';
        if (!twice) out += symbols[i].text;
    }
    return out;
}

using TextOf = std::string (*)(tesseract::TessBaseAPI&);

// The box read on its own as one line at each of the heights, in their order.
std::vector<Reading> ReadAlone(tesseract::TessBaseAPI& engine, const Pix& pix, const PixBox& box,
                               std::span<const int> heights, TextOf textOf = FirstLine) {
    const PixPtr cut = CutOut(pix, box.left, box.top, box.width, box.height, box.height / 3);
    std::vector<Reading> readings;
    for (int height : heights) {
        const PixPtr scaled = cut ? Scaled(*cut, static_cast<float>(height) / static_cast<float>(box.height)) : nullptr;
        if (scaled) engine.SetImage(scaled.get());
        readings.push_back({scaled ? textOf(engine) : std::string(), engine.MeanTextConf()});
    }
    return readings;
}

// The likeliest of the box's readings at each of the heights. Readings at different
// sizes that agree are believed more than the engine's doubt about large type says.
std::optional<Reading> Likeliest(const std::vector<Reading>& reads) {
    std::optional<Reading> best;
    for (const Reading& read : reads)
        if (!read.text.empty() && (!best || Likelier(read, *best))) best = read;
    const auto agrees = [&](const Reading& r) { return NormaliseLineText(r.text) == NormaliseLineText(best->text); };
    if (best && reads.size() > 1 && std::all_of(reads.begin(), reads.end(), agrees))
        best->confidence = std::max(best->confidence, kAgreedConfidence);
    return best;
}

std::optional<Reading> ReadLikeliest(tesseract::TessBaseAPI& engine, const Pix& pix, const PixBox& box,
                                     std::span<const int> heights) {
    return Likeliest(ReadAlone(engine, pix, box, heights));
}

CardStatus StatusOf(const CardScan& scan) {
    if (ConfidentFields(scan.reading) > 0) return CardStatus::kRead;
    return scan.lines.empty() ? CardStatus::kNoText : CardStatus::kNotACard;
}

}  // namespace

std::string CardStatusText(CardStatus status) {
    switch (status) {
        case CardStatus::kRead: return "read";
        case CardStatus::kNoText: return "no readable text";
        case CardStatus::kNotACard: return "text, but nothing a business card carries";
        case CardStatus::kBadPicture: return "not a picture that can be opened";
        case CardStatus::kNoEngine: return "the recognition data is not installed";
    }
    return "unknown";
}

std::unique_ptr<tesseract::TessBaseAPI> LoadEngine(const char* languages, std::string* error) {
    auto engine = std::make_unique<tesseract::TessBaseAPI>();
    if (engine->Init(nullptr, languages, tesseract::OEM_LSTM_ONLY) != 0) {
        if (error) *error = std::string("cannot load the recognition data for ") + languages;
        return nullptr;
    }
    engine->SetVariable("debug_file", "/dev/null");
    return engine;
}

std::unique_ptr<CardReader> CardReader::Create(std::string* error) {
    setMsgSeverity(L_SEVERITY_NONE);  // a picture that cannot be read is reported in the status
    auto engine = LoadEngine(kLanguages, error);
    auto chinese = engine ? LoadEngine("chi_sim", error) : nullptr;
    auto latin = chinese ? LoadEngine("eng", error) : nullptr;
    if (!latin) return nullptr;
    latin->SetVariable("tessedit_char_whitelist", kAddressCharacters);
    latin->SetVariable("lstm_choice_mode", "2");  // the characters weighed, for an @ read twice
    return std::unique_ptr<CardReader>(new CardReader(std::move(engine), std::move(chinese), std::move(latin)));
}

CardReader::CardReader(std::unique_ptr<tesseract::TessBaseAPI> engine, std::unique_ptr<tesseract::TessBaseAPI> chinese,
                       std::unique_ptr<tesseract::TessBaseAPI> latin)
    : engine_(std::move(engine)), chinese_(std::move(chinese)), latin_(std::move(latin)) {}

CardReader::~CardReader() {
    engine_->End();
    chinese_->End();
    latin_->End();
}

CardScan CardReader::ReadFile(const std::string& path, const ReadOptions& options) {
    ReadOnThisThreadOnly();
    const PixPtr grey = LoadGrey(path);
    if (!grey) return {CardStatus::kBadPicture, {}, {}, 0};
    PixPtr prepared = PrepareForReading(*grey, options.prepare);
    if (!prepared) return {CardStatus::kBadPicture, {}, {}, 0};
    CardScan best = ReadPrepared(*prepared, options);
    if (Poor(best) && !options.prepare.evenLight) {
        // Light falling off across the card defeats the engine's own threshold: the
        // page pass then reads a line or two of junk. Evened, the card reads.
        PrepareOptions evened = options.prepare;
        evened.evenLight = true;
        if (PixPtr again = PrepareForReading(*grey, evened)) {
            CardScan scan = ReadPrepared(*again, options);
            if (Score(scan) > Score(best)) {
                best = std::move(scan);
                prepared = std::move(again);
            }
        }
    }
    for (int turns = 1; options.tryTurns && Poor(best) && turns < 4; ++turns) {
        const PixPtr turned = Turned(*prepared, turns);
        if (!turned) break;
        CardScan scan = ReadPrepared(*turned, options);
        scan.quarterTurns = turns;
        if (Score(scan) > Score(best)) best = std::move(scan);
    }
    best.status = StatusOf(best);
    if (best.status != CardStatus::kRead) best.reading = {};  // nothing filled from noise
    return best;
}

CardScan CardReader::ReadPrepared(const Pix& pix, const ReadOptions& options) {
    CardScan scan;
    // Large type the page pass reads as junk is read again before junk is dropped.
    std::vector<TextLine> words;
    scan.lines = WithWords(ReadLines(pix, words));
    if (options.rereadLargeLines && !scan.lines.empty()) {
        const PixPtr ink = InkPicture(pix);
        const std::vector<PixBox> marks = ink ? InkBoxes(*ink) : std::vector<PixBox>{};
        RereadLargeLines(pix, ink ? *ink : pix, marks, scan.lines);
        ReadMissedRows(pix, marks, scan.lines);
        RereadEmail(pix, words, scan.lines);
    }
    scan.lines = Believed(std::move(scan.lines));
    scan.reading = ReadCardFields(scan.lines);
    return scan;
}

std::vector<TextLine> CardReader::ReadLines(const Pix& pix, std::vector<TextLine>& wordBoxes) {
    engine_->SetPageSegMode(tesseract::PSM_AUTO);
    engine_->SetImage(const_cast<Pix*>(&pix));
    if (engine_->Recognize(nullptr) != 0) return {};
    const std::unique_ptr<tesseract::ResultIterator> it(engine_->GetIterator());
    if (!it) return {};
    std::vector<EngineWord> words;
    constexpr auto kWord = tesseract::RIL_WORD;
    do {
        if (it->Empty(kWord)) continue;
        const EngineText text(it->GetUTF8Text(kWord));
        int left = 0, top = 0, right = 0, bottom = 0;
        if (!text || !it->BoundingBox(kWord, &left, &top, &right, &bottom)) continue;
        const TextLine box{text.get(), left, top, right - left, bottom - top, static_cast<int>(it->Confidence(kWord))};
        words.push_back({box, it->IsAtBeginningOf(tesseract::RIL_TEXTLINE)});
    } while (it->Next(kWord));
    for (const EngineWord& w : words) wordBoxes.push_back(w.box);
    return JoinWords(words);
}

void CardReader::RereadLargeLines(const Pix& pix, const Pix& ink, const std::vector<PixBox>& marks,
                                  std::vector<TextLine>& lines) {
    const int median = std::max(1, MedianLineHeight(lines));
    std::vector<PixBox> regions = TypeRows(marks, {median * kLargeMarkPercent / 100, PixHeight(pix) / 3});
    for (const TextLine& l : lines) {
        const bool tall = l.height * 100 >= median * kLargeLinePercent;
        const PixBox box{l.left, l.top, l.width, l.height};
        if (tall && CountChars(NormaliseLineText(l.text)) <= kLargeLineChars &&
            std::none_of(regions.begin(), regions.end(), [&](const PixBox& r) { return SameType(r, box); }))
            regions.push_back(box);
    }
    std::sort(regions.begin(), regions.end(), [](const PixBox& a, const PixBox& b) { return a.height > b.height; });
    if (regions.size() > kLargeLinesReread) regions.resize(kLargeLinesReread);
    // The mixed engine reads large Chinese type as Latin junk: on a card whose small
    // print is Chinese, large lines are read by the Chinese engine alone.
    tesseract::TessBaseAPI& engine = ChineseCard(lines) ? *chinese_ : *engine_;
    for (const PixBox& region : regions) {
        const std::optional<Reading> read = ReadLargeLine(engine, pix, ink, region);
        if (!read) continue;
        // What the page pass read of the region alone gives way to a likelier reading;
        // a line running on beyond it (a title beside the name) stays as well.
        const auto within = [&](const TextLine& l) {
            return SameType(region, {l.left, l.top, l.width, l.height}) && Inside(l, region);
        };
        const bool likelier = std::all_of(lines.begin(), lines.end(), [&](const TextLine& l) {
            return !within(l) || Likelier(*read, {l.text, l.confidence});
        });
        if (!likelier) continue;
        std::erase_if(lines, within);
        lines.push_back({read->text, region.left, region.top, region.width, region.height, read->confidence});
    }
}

std::optional<Reading> CardReader::ReadLargeLine(tesseract::TessBaseAPI& engine, const Pix& pix, const Pix& ink,
                                                 const PixBox& region) {
    engine.SetPageSegMode(tesseract::PSM_SINGLE_LINE);
    std::vector<Reading> reads = ReadAlone(engine, pix, region, kRereadHeights);
    std::optional<Reading> likeliest = Likeliest(reads);
    if (!likeliest) {
        // The line finder can take a short line of large bold type for a picture and
        // read nothing; read as a raw line, without the finder, it reads.
        engine.SetPageSegMode(tesseract::PSM_RAW_LINE);
        reads = ReadAlone(engine, pix, region, kRereadHeights);
        likeliest = Likeliest(reads);
    }
    const bool chineseName =
        likeliest && NameShapeScore(NormaliseLineText(likeliest->text)) > 0 && CountCjk(likeliest->text) > 0;
    // Large type read as nothing at both sizes is read on: a name lost at those sizes
    // reads at others.
    if (likeliest && !chineseName) return likeliest;
    for (const std::vector<Reading>& more :
         {ReadAlone(engine, pix, region, kNameHeights), ReadAlone(engine, ink, region, kNameInkHeights)})
        reads.insert(reads.end(), more.begin(), more.end());
    const std::optional<Reading> name = VoteName(reads, kAgreedConfidence);
    return name ? name : Likeliest(reads);
}

void CardReader::ReadMissedRows(const Pix& pix, const std::vector<PixBox>& marks, std::vector<TextLine>& lines) {
    // Large type is RereadLargeLines' to read: only rows of the card's usual size here.
    const int largest = std::max(1, MedianLineHeight(lines)) * kLargeMarkPercent / 100;
    std::vector<PixBox> missed;
    for (const PixBox& row : TypeRows(marks, {kSmallestMark, PixHeight(pix) / 3, kWordGapPercent})) {
        const bool small = row.height < largest && row.width >= 2 * row.height;
        if (small && ReadShare(lines, row) < kReadSharePercent) missed.push_back(row);
    }
    if (missed.size() > kMissedRowsRead) return;  // no card's lines: a photo or a pattern
    engine_->SetPageSegMode(tesseract::PSM_SINGLE_LINE);
    for (const PixBox& row : missed) {
        const std::optional<Reading> read = ReadLikeliest(*engine_, pix, row, kMissedRowHeights);
        if (!read) continue;
        std::erase_if(lines, [&](const TextLine& l) { return Touches(l, row); });  // what was read of it
        lines.push_back({read->text, row.left, row.top, row.width, row.height, read->confidence});
    }
}

void CardReader::RereadEmail(const Pix& pix, const std::vector<TextLine>& words, std::vector<TextLine>& lines) {
    latin_->SetPageSegMode(tesseract::PSM_SINGLE_LINE);
    for (TextLine& line : lines) {
        const std::optional<std::string> label = AddressLabel(line, words);
        if (!label) continue;
        std::vector<std::optional<std::string>> votes{EmailAddress(line.text)};
        for (const Reading& r :
             ReadAlone(*latin_, pix, {line.left, line.top, line.width, line.height}, kEmailRereadHeights, AddressText))
            votes.push_back(EmailAddress(r.text));
        const std::optional<std::string> chosen = MostVoted(votes);
        // The address is replaced; the label before it stays as the page pass read it.
        if (chosen) line.text = *label + *chosen;
    }
}

}  // namespace kivtal::cards
