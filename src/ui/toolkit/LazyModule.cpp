#include "ui/toolkit/LazyModule.h"

#include <QCoreApplication>
#include <QLibrary>

#include "model/Diagnostics.h"

namespace kivtal {

LazyModule::LazyModule(QString installed, QString built) : installed_(std::move(installed)), built_(std::move(built)) {}

void (*LazyModule::Address(const char* name))() {
    std::call_once(loaded_, [this] {
        for (const QString& path : {QCoreApplication::applicationDirPath() + u'/' + installed_, built_}) {
            auto* library = new QLibrary(path);
            if (library->load()) {
                library_ = library;
                return;
            }
            DebugLine("module: " + library->errorString().toStdString());
            delete library;
        }
    });
    return library_ ? library_->resolve(name) : nullptr;
}

}  // namespace kivtal
