// The main window's layout from its size; every offset is the template's, measured from the square.
#include "ui/window_layout.h"

#include <algorithm>

#include "render/frame_style.h"

namespace {

// The free space is the window but for the left column, the bars' column and the margins.
constexpr int kFreeLeft = 175, kFreeTop = 10;
constexpr int kFreeRightMargin = 89, kFreeBottomMargin = 12;

}   // namespace

WindowLayout LayOutWindow(QSize window)
{
    const int freeWidth = window.width() - kFreeLeft - kFreeRightMargin;
    const int freeHeight = window.height() - kFreeTop - kFreeBottomMargin;
    const int side = std::clamp(std::min(freeWidth, freeHeight), kCanvasSide, kPictureSizeMax);
    const int left = kFreeLeft + std::max(0, (freeWidth - side) / 2);
    WindowLayout layout;
    layout.square = QRect(left, kFreeTop, side, side);
    const int right = left + side;   // the first column past the square
    layout.zoomBar = QRect(right + 23, kFreeTop, 23, 265);
    layout.distanceBar = QRect(right + 56, kFreeTop, 23, 265);
    layout.barLabels = QRect(right + 30, kFreeTop + 270, 45, 21);
    layout.parameters = QRect(right + 11, kFreeTop + 290, 74, side - 288);
    layout.section = QRect(right + 11, kFreeTop + 290, 74, 46);
    layout.parametersUnderSection = layout.parameters.adjusted(0, 50, 0, 0);
    return layout;
}
