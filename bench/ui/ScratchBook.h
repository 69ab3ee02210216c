#pragma once
// A signed-in user's store in a scratch folder that goes with the benchmark, without
// the reference database (the windows measured here never open a picker).
#include <QTemporaryDir>

#include "store/LocalStore.h"
#include "store/StorePaths.h"

namespace kivtal::bench {

struct ScratchBook {
    QTemporaryDir dir;
    LocalStore store{StorePaths{dir.path().toStdString() + "/user/", "/nonexistent/doz2a_v3.db"}};

    ScratchBook() { store.EnsureUserDb("bench"); }
};

}  // namespace kivtal::bench
