#include "cards/CardImage.h"

#include <leptonica/allheaders.h>

#include <algorithm>

namespace kivtal::cards {
namespace {

Pix* Mutable(const Pix& pix) { return const_cast<Pix*>(&pix); }  // Leptonica takes no const

PixPtr Binarised(Pix* grey) {
    Pix* binary = nullptr;
    const int tileW = std::max(16, static_cast<int>(pixGetWidth(grey)) / 4);
    const int tileH = std::max(16, static_cast<int>(pixGetHeight(grey)) / 4);
    if (pixOtsuAdaptiveThreshold(grey, tileW, tileH, 0, 0, 0.1f, nullptr, &binary) != 0) return nullptr;
    return PixPtr(binary);
}

}  // namespace

void PixDeleter::operator()(Pix* pix) const { pixDestroy(&pix); }

PixPtr LoadGrey(const std::string& path) {
    PixPtr raw(pixRead(path.c_str()));
    if (!raw) return nullptr;
    return PixPtr(pixConvertTo8(raw.get(), 0));
}

PixPtr PrepareForReading(const Pix& grey, const PrepareOptions& options) {
    PixPtr pix(pixCopy(nullptr, Mutable(grey)));
    if (pix && options.enlargeBelow > 0 && PixWidth(*pix) < options.enlargeBelow)
        pix.reset(pixScaleGrayLI(pix.get(), 2.0f, 2.0f));
    if (pix && options.deskew) pix.reset(pixDeskew(pix.get(), 0));
    if (pix && options.evenLight) pix.reset(pixBackgroundNormSimple(pix.get(), nullptr, nullptr));
    if (pix && options.binarise) pix = Binarised(pix.get());
    return pix;
}

PixPtr Turned(const Pix& pix, int quarters) { return PixPtr(pixRotateOrth(Mutable(pix), quarters)); }

PixPtr CutOut(const Pix& pix, int left, int top, int width, int height, int margin) {
    const int w = PixWidth(pix), h = static_cast<int>(pixGetHeight(Mutable(pix)));
    const int x0 = std::max(0, left - margin), y0 = std::max(0, top - margin);
    const int x1 = std::min(w, left + width + margin), y1 = std::min(h, top + height + margin);
    if (x1 <= x0 || y1 <= y0) return nullptr;
    const std::unique_ptr<Box, void (*)(Box*)> box(boxCreate(x0, y0, x1 - x0, y1 - y0), [](Box* b) { boxDestroy(&b); });
    return PixPtr(pixClipRectangle(Mutable(pix), box.get(), nullptr));
}

PixPtr Scaled(const Pix& pix, float factor) { return PixPtr(pixScale(Mutable(pix), factor, factor)); }

int PixWidth(const Pix& pix) { return static_cast<int>(pixGetWidth(Mutable(pix))); }

}  // namespace kivtal::cards
