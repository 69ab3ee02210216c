#include "ui/dialogs/capture/CardReaderLoader.h"

#include "ui/cards/CardReaderModule.h"
#include "ui/toolkit/LazyModule.h"

namespace kivtal {
namespace {

namespace entry = cards::module;

LazyModule& Module() {
    static LazyModule module(QStringLiteral("../" KIVTAL_CARD_READER_MODULE_INSTALLED),
                             QStringLiteral(KIVTAL_CARD_READER_MODULE_BUILT));
    return module;
}

}  // namespace

std::unique_ptr<ModuleCardReader> ModuleCardReader::Create(std::string* error) {
    const auto create = Module().Resolve<entry::CreateFunction>(entry::kCreateName);
    if (!create || !Module().Resolve<entry::ReadFunction>(entry::kReadName) ||
        !Module().Resolve<entry::DestroyFunction>(entry::kDestroyName)) {
        if (error) *error = "the card reader module cannot be loaded";
        return nullptr;
    }
    cards::CardReader* reader = create(error);
    return reader ? std::unique_ptr<ModuleCardReader>(new ModuleCardReader(reader)) : nullptr;
}

ModuleCardReader::~ModuleCardReader() { Module().Resolve<entry::DestroyFunction>(entry::kDestroyName)(reader_); }

cards::CardScan ModuleCardReader::ReadFile(const std::string& path) {
    cards::CardScan scan;
    Module().Resolve<entry::ReadFunction>(entry::kReadName)(reader_, path, &scan);
    return scan;
}

std::string CardStatusSentence(cards::CardStatus status) {
    std::string text;
    if (const auto say = Module().Resolve<entry::StatusTextFunction>(entry::kStatusTextName)) say(status, &text);
    else text = "the card reader module cannot be loaded";
    return text;
}

}  // namespace kivtal
