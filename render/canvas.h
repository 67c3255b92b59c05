// The drawing surface of a frame: integer pixels, a one-pixel pen, a filled outlined rectangle.
#pragma once

#include <cstdint>

constexpr int kCanvasSide = 500;     // the square shown in the window
constexpr int kPictureRows = 502;    // the off-screen picture is two rows taller; they are never shown

struct Pixel {
    int col = 0, row = 0;            // origin top-left, rows grow downwards
    friend bool operator==(Pixel, Pixel) = default;
};

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(Rgb, Rgb) = default;
};

constexpr Rgb kSurfaceBlue{0, 0, 255};
constexpr Rgb kBorderWhite{255, 255, 255};
constexpr Rgb kBackgroundBlack{0, 0, 0};

// A canvas accepts any int coordinates and clips silently to its picture.
class Canvas {
public:
    virtual ~Canvas() = default;
    virtual void SelectPen(Rgb colour) = 0;       // solid, one pixel wide
    virtual void MoveTo(Pixel p) = 0;             // sets the current position, draws nothing
    virtual void LineTo(Pixel p) = 0;             // from the current position to p, which becomes current
    // Fills [left, right) x [top, bottom) with fill and outlines it with the pen, one pixel inside.
    virtual void Rectangle(int left, int top, int right, int bottom, Rgb fill) = 0;
};
