#include "editor/PictureGeometry.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace folianto {

ThumbnailShape ThumbnailFit(PicSize picture, PicSize box)
{
    if (picture.Width <= 0 || picture.Height <= 0 ||
        (picture.Height <= box.Height - 4 && picture.Width <= box.Width - 4))
        return {picture, false};
    const double ratio = static_cast<double>(picture.Height) / picture.Width;
    PicSize fitted;
    // Compare the overflow of both axes without dividing by a box of zero.
    if (static_cast<double>(picture.Height) * std::max(box.Width, 1) >
        static_cast<double>(picture.Width) * std::max(box.Height, 1)) {
        fitted.Height = box.Height - 5;
        fitted.Width = static_cast<int>(std::lround(fitted.Height / ratio));
    } else {
        fitted.Width = box.Width - 5;
        fitted.Height = static_cast<int>(std::lround(fitted.Width * ratio));
    }
    fitted.Width = std::max(fitted.Width, 1);
    fitted.Height = std::max(fitted.Height, 1);
    return {fitted, true};
}

ViewerPlacement ViewerInitialPlacement(PicSize picture, PicSize screen)
{
    ViewerPlacement p;
    if (screen.Width > picture.Width + 10 && screen.Height > picture.Height + 60)
        p.Size = {picture.Width + 12, picture.Height + 31};
    else
        p.Size = {screen.Width - 30, screen.Height - 60};
    if (p.Size.Width < screen.Width - 10)
        p.X = (screen.Width - p.Size.Width) / 2;
    if (p.Size.Height < screen.Height - 10)
        p.Y = (screen.Height - p.Size.Height) / 2;
    return p;
}

PicSize ViewerAspectSize(PicSize last, PicSize now, double aspect)
{
    if (aspect <= 0.0)
        return now;
    if (std::abs(now.Height - last.Height) < std::abs(now.Width - last.Width))
        now.Height = static_cast<int>(std::lround(now.Width / aspect));
    else
        now.Width = static_cast<int>(std::lround(now.Height * aspect));
    return now;
}

int JpegScaleDenominator(PicSize picture, PicSize wanted)
{
    for (int denom : {8, 4, 2}) {
        const int w = (picture.Width + denom - 1) / denom;
        const int h = (picture.Height + denom - 1) / denom;
        if (w * 5 >= wanted.Width * 4 && h * 5 >= wanted.Height * 4)
            return denom;
    }
    return 1;
}

} // namespace folianto
