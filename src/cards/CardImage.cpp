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
    const int w = PixWidth(pix), h = PixHeight(pix);
    const int x0 = std::max(0, left - margin), y0 = std::max(0, top - margin);
    const int x1 = std::min(w, left + width + margin), y1 = std::min(h, top + height + margin);
    if (x1 <= x0 || y1 <= y0) return nullptr;
    const std::unique_ptr<Box, void (*)(Box*)> box(boxCreate(x0, y0, x1 - x0, y1 - y0), [](Box* b) { boxDestroy(&b); });
    return PixPtr(pixClipRectangle(Mutable(pix), box.get(), nullptr));
}

PixPtr InkPicture(const Pix& grey) {
    // Evened, the paper is near 200 and type well below it, whatever the light was.
    constexpr int kInk = 140;
    const PixPtr even(pixBackgroundNormSimple(Mutable(grey), nullptr, nullptr));
    const PixPtr binary(even ? pixThresholdToBinary(even.get(), kInk) : nullptr);
    return PixPtr(binary ? pixConvertTo8(binary.get(), 0) : nullptr);
}

std::vector<PixBox> InkBoxes(const Pix& ink) {
    const PixPtr binary(pixThresholdToBinary(Mutable(ink), 128));
    if (!binary) return {};
    const std::unique_ptr<Boxa, void (*)(Boxa*)> boxes(pixConnCompBB(binary.get(), 8),
                                                       [](Boxa* b) { boxaDestroy(&b); });
    if (!boxes) return {};
    std::vector<PixBox> out;
    const int n = boxaGetCount(boxes.get());
    out.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        PixBox b;
        if (boxaGetBoxGeometry(boxes.get(), i, &b.left, &b.top, &b.width, &b.height) == 0) out.push_back(b);
    }
    return out;
}

PixPtr Scaled(const Pix& pix, float factor) { return PixPtr(pixScale(Mutable(pix), factor, factor)); }

int PixWidth(const Pix& pix) { return static_cast<int>(pixGetWidth(Mutable(pix))); }

int PixHeight(const Pix& pix) { return static_cast<int>(pixGetHeight(Mutable(pix))); }

}  // namespace kivtal::cards
