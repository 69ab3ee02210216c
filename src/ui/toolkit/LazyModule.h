#pragma once
// A module of the program: a shared library the program does not link, loaded the
// first time one of its entry points is asked for, so that its libraries cost nothing
// at start. It is looked for in the installed program's library folder, else where
// this build made it. Never unloaded: what it made may live until the program ends.
// Any thread may ask.
#include <QString>
#include <mutex>

class QLibrary;

namespace kivtal {

class LazyModule {
public:
    // installed: the module's path from the program's folder ("../lib/kivtal/x.so");
    // built: its absolute path in the build.
    LazyModule(QString installed, QString built);
    LazyModule(const LazyModule&) = delete;
    LazyModule& operator=(const LazyModule&) = delete;

    // The entry point, null when the module cannot be loaded (the diagnostics say why)
    // or has no such entry.
    template <class Function>
    Function Resolve(const char* name) {
        return reinterpret_cast<Function>(Address(name));
    }

private:
    void (*Address(const char* name))();

    const QString installed_;
    const QString built_;
    std::once_flag loaded_;
    QLibrary* library_ = nullptr;
};

}  // namespace kivtal
