#include "cards/CardReader.h"

#include <leptonica/allheaders.h>
#include <omp.h>
#include <tesseract/baseapi.h>
#include <tesseract/resultiterator.h>

#include <algorithm>

#include "cards/CardLines.h"
#include "cards/CardShapes.h"
#include "cards/CardText.h"

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
// Large type read alone is first brought down to this line height (px): measured over
// the card set, 32-36 px read names best (63% exact against 50% unscaled, 53% at 64).
constexpr int kRereadHeight = 34;

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

// A second reading of a line replaces the first when it has a name's shape and the
// first has not, or else when the engine is surer of it.
bool Better(const std::string& read, int confidence, const TextLine& first) {
    const bool nameNow = NameShapeScore(NormaliseLineText(read)) > 0;
    const bool nameBefore = NameShapeScore(NormaliseLineText(first.text)) > 0;
    if (nameNow != nameBefore) return nameNow;
    return confidence > first.confidence;
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
    if (!chinese) return nullptr;
    return std::unique_ptr<CardReader>(new CardReader(std::move(engine), std::move(chinese)));
}

CardReader::CardReader(std::unique_ptr<tesseract::TessBaseAPI> engine, std::unique_ptr<tesseract::TessBaseAPI> chinese)
    : engine_(std::move(engine)), chinese_(std::move(chinese)) {}

CardReader::~CardReader() {
    engine_->End();
    chinese_->End();
}

CardScan CardReader::ReadFile(const std::string& path, const ReadOptions& options) {
    ReadOnThisThreadOnly();
    const PixPtr grey = LoadGrey(path);
    if (!grey) return {CardStatus::kBadPicture, {}, {}, 0};
    const PixPtr prepared = PrepareForReading(*grey, options.prepare);
    if (!prepared) return {CardStatus::kBadPicture, {}, {}, 0};
    CardScan best = ReadPrepared(*prepared, options);
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
    scan.lines = WithWords(ReadLines(pix));
    if (options.rereadLargeLines && !scan.lines.empty()) RereadLargeLines(pix, scan.lines);
    scan.lines = Believed(std::move(scan.lines));
    scan.reading = ReadCardFields(scan.lines);
    return scan;
}

std::vector<TextLine> CardReader::ReadLines(const Pix& pix) {
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
    return JoinWords(words);
}

void CardReader::RereadLargeLines(const Pix& pix, std::vector<TextLine>& lines) {
    const int median = std::max(1, MedianLineHeight(lines));
    std::vector<TextLine*> large;
    for (TextLine& l : lines) {
        const bool tall = l.height * 100 >= median * kLargeLinePercent;
        if (tall && CountChars(NormaliseLineText(l.text)) <= kLargeLineChars) large.push_back(&l);
    }
    std::sort(large.begin(), large.end(), [](const TextLine* a, const TextLine* b) { return a->height > b->height; });
    if (large.size() > kLargeLinesReread) large.resize(kLargeLinesReread);
    // The mixed engine reads large Chinese type as Latin junk: on a card whose small
    // print is Chinese, large lines are read by the Chinese engine alone.
    tesseract::TessBaseAPI& engine = ChineseCard(lines) ? *chinese_ : *engine_;
    engine.SetPageSegMode(tesseract::PSM_SINGLE_LINE);
    for (TextLine* line : large) {
        PixPtr cut = CutOut(pix, line->left, line->top, line->width, line->height, line->height / 3);
        if (cut) cut = Scaled(*cut, static_cast<float>(kRereadHeight) / line->height);
        if (!cut) continue;
        engine.SetImage(cut.get());
        const EngineText text(engine.GetUTF8Text());
        if (!text) continue;
        const std::string read = Trim(std::string(text.get()).substr(0, std::string(text.get()).find('\n')));
        const int confidence = engine.MeanTextConf();
        if (Better(read, confidence, *line)) {
            line->text = read;
            line->confidence = confidence;
        }
    }
}

}  // namespace kivtal::cards
