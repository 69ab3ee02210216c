#pragma once
// The card reader through its module (ui/cards/CardReaderModule.h), loaded on the first
// reader made or sentence asked for. Without the module a reader cannot be made and
// every picture is read as kNoEngine.
#include <memory>
#include <string>

#include "cards/CardReader.h"

namespace kivtal {

class ModuleCardReader {
public:
    // Null (with `error` set) when the module or the engine cannot be loaded.
    static std::unique_ptr<ModuleCardReader> Create(std::string* error);
    ~ModuleCardReader();
    ModuleCardReader(const ModuleCardReader&) = delete;
    ModuleCardReader& operator=(const ModuleCardReader&) = delete;

    cards::CardScan ReadFile(const std::string& path);

private:
    explicit ModuleCardReader(cards::CardReader* reader) : reader_(reader) {}
    cards::CardReader* reader_;
};

// cards::CardStatusText, for the user.
std::string CardStatusSentence(cards::CardStatus status);

}  // namespace kivtal
