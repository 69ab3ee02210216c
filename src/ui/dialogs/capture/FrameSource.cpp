#include "ui/dialogs/capture/FrameSource.h"

#include <cstdlib>
#include <cstring>

#include "ui/dialogs/capture/CameraFrameSource.h"
#include "ui/dialogs/capture/FakeFrameSource.h"

namespace kivtal {
namespace {

FrameSourceFactory& InstalledFactory() {
    static FrameSourceFactory factory;
    return factory;
}

}  // namespace

std::unique_ptr<FrameSource> MakeFrameSource() {
    if (InstalledFactory()) return InstalledFactory()();
    const char* fake = std::getenv("KIVTAL_FAKE_SCANNER");
    if (fake && std::strcmp(fake, "1") == 0) return std::make_unique<FakeFrameSource>();
    return std::make_unique<CameraFrameSource>();
}

void SetFrameSourceFactory(FrameSourceFactory factory) { InstalledFactory() = std::move(factory); }

}  // namespace kivtal
