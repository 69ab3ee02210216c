#include "ui/dialogs/capture/CardRecognition.h"

#include <QtConcurrent/QtConcurrentRun>

#include "ui/dialogs/capture/CardReaderLoader.h"

namespace kivtal {
namespace {

// The reader of the pool's one thread, loaded on its first picture.
cards::CardScan ReadOnPoolThread(const std::string& path) {
    thread_local std::unique_ptr<ModuleCardReader> reader;
    thread_local std::string loadError;
    if (!reader && loadError.empty()) reader = ModuleCardReader::Create(&loadError);
    if (!reader) return {cards::CardStatus::kNoEngine, {}, {}, 0};
    return reader->ReadFile(path);
}

}  // namespace

CardRecognition::CardRecognition(Done done, QObject* parent) : QObject(parent), done_(std::move(done)) {
    pool_.setMaxThreadCount(1);
    pool_.setExpiryTimeout(-1);  // the thread keeps its loaded engine
}

CardRecognition::~CardRecognition() { pool_.waitForDone(); }

void CardRecognition::Read(const QString& path) {
    auto* watcher = new QFutureWatcher<cards::CardScan>(this);
    connect(watcher, &QFutureWatcher<cards::CardScan>::finished, this, [this, watcher, path] {
        --running_;
        watcher->deleteLater();
        done_(path, watcher->result());
    });
    ++running_;
    watcher->setFuture(QtConcurrent::run(&pool_, ReadOnPoolThread, path.toStdString()));
}

}  // namespace kivtal
