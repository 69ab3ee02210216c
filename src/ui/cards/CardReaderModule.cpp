// The card reader module's entry points, over the card reader.
#include "ui/cards/CardReaderModule.h"

#define KIVTAL_MODULE_ENTRY extern "C" __attribute__((visibility("default")))

using kivtal::cards::CardReader;

KIVTAL_MODULE_ENTRY CardReader* kivtal_card_reader_create(std::string* error) {
    return CardReader::Create(error).release();
}

KIVTAL_MODULE_ENTRY void kivtal_card_reader_destroy(CardReader* reader) { delete reader; }

KIVTAL_MODULE_ENTRY void kivtal_card_reader_read(CardReader* reader, const std::string& path,
                                                 kivtal::cards::CardScan* out) {
    *out = reader->ReadFile(path);
}

KIVTAL_MODULE_ENTRY void kivtal_card_status_text(kivtal::cards::CardStatus status, std::string* out) {
    *out = kivtal::cards::CardStatusText(status);
}
