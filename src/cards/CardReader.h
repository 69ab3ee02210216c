#pragma once
// Reads a business card picture: the recognition engine (simplified Chinese and
// English together) over the prepared picture, then the field reader over its lines.
//
// One reader holds one engine and is used by one thread at a time; a worker thread
// makes its own. Loading the engine takes a moment, so a reader is made once and
// reused for every card.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cards/CardFields.h"
#include "cards/CardImage.h"
#include "cards/CardVotes.h"

namespace tesseract {
class TessBaseAPI;
}

namespace kivtal::cards {

enum class CardStatus {
    kRead,        // at least one field read with confidence
    kNoText,      // nothing readable on the picture (blank, too dark, too blurred)
    kNotACard,    // text, but nothing a card carries (a page of prose, a photo's sign)
    kBadPicture,  // the file is missing or is no picture
    kNoEngine,    // the recognition engine or its language data could not be loaded
};

// A sentence for the user, naming the file: "card.jpg: no readable text".
std::string CardStatusText(CardStatus status);

struct CardScan {
    CardStatus status = CardStatus::kNoText;
    CardReading reading;          // the fields (empty unless kRead)
    std::vector<TextLine> lines;  // what the engine read, in the prepared picture's pixels
    int quarterTurns = 0;         // how far the picture was turned to be read (0-3)
};

struct ReadOptions {
    PrepareOptions prepare;
    bool rereadLargeLines = true;  // read the largest short lines again, each as one line
    bool tryTurns = true;          // try the other three quarter turns when the first reading is poor
};

class CardReader {
public:
    // The engine with its data from TESSDATA_PREFIX or the system's folder; null (with
    // `error` set) when the engine or its Chinese or English data cannot be loaded.
    static std::unique_ptr<CardReader> Create(std::string* error);
    ~CardReader();
    CardReader(const CardReader&) = delete;
    CardReader& operator=(const CardReader&) = delete;

    // Reads the picture at `path`. Never throws; a failure is in the status.
    CardScan ReadFile(const std::string& path, const ReadOptions& options = {});

private:
    CardReader(std::unique_ptr<tesseract::TessBaseAPI> engine, std::unique_ptr<tesseract::TessBaseAPI> chinese,
               std::unique_ptr<tesseract::TessBaseAPI> latin);
    CardScan ReadPrepared(const Pix& pix, const ReadOptions& options);
    // The page pass's lines, and its words in `wordBoxes`.
    std::vector<TextLine> ReadLines(const Pix& pix, std::vector<TextLine>& wordBoxes);
    void RereadLargeLines(const Pix& pix, const Pix& ink, const std::vector<PixBox>& marks,
                          std::vector<TextLine>& lines);
    std::optional<Reading> ReadLargeLine(tesseract::TessBaseAPI& engine, const Pix& pix, const Pix& ink,
                                         const PixBox& region);
    void ReadMissedRows(const Pix& pix, const std::vector<PixBox>& marks, std::vector<TextLine>& lines);
    void RereadEmail(const Pix& pix, const std::vector<TextLine>& words, std::vector<TextLine>& lines);

    std::unique_ptr<tesseract::TessBaseAPI> engine_;   // Chinese and English
    std::unique_ptr<tesseract::TessBaseAPI> chinese_;  // Chinese alone, for large lines on Chinese cards
    std::unique_ptr<tesseract::TessBaseAPI> latin_;    // English alone, held to an address's characters
};

}  // namespace kivtal::cards
