#pragma once
// Size arithmetic of the picture tabs and the picture viewer, in pixels.

#include <optional>

namespace folianto {

struct PicSize {
    int Width = 0;
    int Height = 0;
    bool operator==(const PicSize& o) const { return Width == o.Width && Height == o.Height; }
};

// How a picture shows in its tab's scroll box.
struct ThumbnailShape {
    PicSize Size;
    bool Stretched = false; // false: natural size
};
// A picture that fits into the box (minus 4 pixels) keeps its natural size;
// a larger one is shrunk, keeping its proportions, to the box minus 5 pixels
// along the axis where it overflows most.
ThumbnailShape ThumbnailFit(PicSize picture, PicSize box);

// Where the viewer goes when it is activated.
struct ViewerPlacement {
    PicSize Size;          // the window
    std::optional<int> X;  // left edge when centred horizontally
    std::optional<int> Y;  // top edge when centred vertically
};
ViewerPlacement ViewerInitialPlacement(PicSize picture, PicSize screen);

// While the viewer keeps the picture's proportions: the dimension that
// changed less since `last` follows the other. `aspect` is width / height;
// 0 leaves the size as it is.
PicSize ViewerAspectSize(PicSize last, PicSize now, double aspect);

// libjpeg's scaled decoding: the largest divisor (8, 4, 2 or 1) that still
// leaves four fifths of `wanted` on both axes. A thumbnail drawn up to a
// quarter larger than decoded looks the same; decoding it twice as large
// costs a third more time.
int JpegScaleDenominator(PicSize picture, PicSize wanted);

} // namespace folianto
