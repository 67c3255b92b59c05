// The main window's layout from its size; every offset is the template's, measured from the square.
#include "ui/window_layout.h"

#include <algorithm>
#include <cmath>

#include "render/frame_style.h"

namespace {

// The free space is the window but for the left column, the bars' column and the margins.
constexpr int kFreeLeft = 175, kFreeTop = 10;
constexpr int kFreeRightMargin = 89, kFreeBottomMargin = 12;

}   // namespace

WindowLayout LayOutWindow(QSize window, double scale, bool presenting)
{
    const auto at = [scale](int pixels) { return static_cast<int>(std::lround(pixels * scale)); };
    const int top = at(kFreeTop), freeLeft = presenting ? top : at(kFreeLeft);
    const int freeWidth = window.width() - freeLeft - at(kFreeRightMargin);
    const int freeHeight = window.height() - top - at(kFreeBottomMargin);
    const int side = std::clamp(std::min(freeWidth, freeHeight), kCanvasSide, kPictureSizeMax);
    const int left = freeLeft + std::max(0, (freeWidth - side) / 2);
    WindowLayout layout;
    layout.square = QRect(left, top, side, side);
    const int right = left + side;   // the first column past the square
    layout.zoomBar = QRect(right + at(23), top, at(23), at(265));
    layout.distanceBar = QRect(right + at(56), top, at(23), at(265));
    layout.barLabels = QRect(right + at(30), top + at(270), at(45), at(21));
    const int belowBars = presenting ? 0 : at(290);
    layout.parameters = QRect(right + at(11), top + belowBars, at(74), side - belowBars + (presenting ? 0 : at(2)));
    layout.section = QRect(right + at(11), top + belowBars, at(74), at(46));
    layout.parametersUnderSection = layout.parameters.adjusted(0, at(50), 0, 0);
    return layout;
}

bool SquareFits(QSize window, double scale)
{
    const auto at = [scale](int pixels) { return static_cast<int>(std::lround(pixels * scale)); };
    return window.width() - at(kFreeLeft) - at(kFreeRightMargin) >= kCanvasSide &&
           window.height() - at(kFreeTop) - at(kFreeBottomMargin) >= kCanvasSide;
}
