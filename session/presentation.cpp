#include "session/presentation.h"

#include <algorithm>

namespace {

constexpr int kShortSidePerTextPixel = 60;   // 1080 rows give 18-pixel text, read at 10 m on a 2 m screen

}   // namespace

int FullScreenTextPixels(int ownPixels, int width, int height)
{
    const int own = std::clamp(ownPixels, 1, kLargestTextPixels);
    const int shortSide = std::max(0, std::min(width, height));
    const int grown = shortSide / kShortSidePerTextPixel +
                      (shortSide % kShortSidePerTextPixel >= kShortSidePerTextPixel / 2 ? 1 : 0);   // rounded
    return std::clamp(grown, own, kLargestTextPixels);
}
