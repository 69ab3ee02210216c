#pragma once
// The picture side of reading a card (Leptonica): loading, straightening, evening the
// light, binarising, enlarging, turning and cutting out a line.
#include <memory>
#include <string>
#include <vector>

struct Pix;

namespace kivtal::cards {

struct PixDeleter {
    void operator()(Pix* pix) const;
};
using PixPtr = std::unique_ptr<Pix, PixDeleter>;

// What the preparation does; each step can be switched off to measure what it is worth.
struct PrepareOptions {
    bool deskew = true;
    bool evenLight = false;   // background normalisation before the threshold
    bool binarise = false;    // Otsu, in tiles; off: the engine thresholds the grey picture
    int enlargeBelow = 1000;  // a picture narrower than this (px) is enlarged 2x; 0: never
};

// The picture at `path` as 8-bit grey; null when the file is missing or no picture.
PixPtr LoadGrey(const std::string& path);
// Straightened, evened, enlarged and binarised as `options` say; null on failure.
PixPtr PrepareForReading(const Pix& grey, const PrepareOptions& options);
// Turned by quarter turns clockwise (1-3); null on failure.
PixPtr Turned(const Pix& pix, int quarters);
// The box cut out with `margin` pixels round it (clipped to the picture); null when empty.
PixPtr CutOut(const Pix& pix, int left, int top, int width, int height, int margin);
int PixWidth(const Pix& pix);
int PixHeight(const Pix& pix);

struct PixBox {
    int left = 0, top = 0, width = 0, height = 0;
};
// The grey picture with its light evened and thresholded, as 8-bit black and white:
// type stands out the same wherever light fell. Null on failure.
PixPtr InkPicture(const Pix& grey);
// The boxes of the dark marks on an ink picture (its connected components): where type
// stands, whatever the engine made of it. Empty on failure.
std::vector<PixBox> InkBoxes(const Pix& ink);
// Scaled by `factor` (grey pictures smoothly); null on failure.
PixPtr Scaled(const Pix& pix, float factor);

}  // namespace kivtal::cards
