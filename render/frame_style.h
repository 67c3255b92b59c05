// How a frame is drawn beyond its camera: hidden lines, depth cue, red/cyan stereo, parallel
// projection and the width of its lines. The default draws the plain frame, bit for bit.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "render/canvas.h"
#include "surfaces/section.h"

constexpr int kLineWidthMin = 1, kLineWidthMax = 4;   // pixels
constexpr int kDepthShades = 12;                      // shades of the depth cue, far to near
constexpr double kFirstEyeDistance = 300.0;           // the eye's distance after a reset
constexpr double kStereoSeparationRatio = 1.0 / 30.0; // eye separation over the eye's distance
constexpr int kPictureSizeMin = 100, kPictureSizeMax = 8192;   // pixels a side of a figure
constexpr double kPrintedWidthCm = 12.0;                      // a document's square on paper, by default
constexpr double kPrintedWidthMinCm = 0.5, kPrintedWidthMaxCm = 500.0;

// The colours a picture is drawn in: the screen's black, the printed page, the projector's wall.
enum class Theme { Pantalla, Papel, Proyector };

struct FrameStyle {
    bool hiddenLines = false;   // lines behind the surface's facets are not drawn
    bool depthCue = false;      // nearer segments in a brighter blue
    bool anaglyph = false;      // left eye red, right eye cyan, added on the black
    bool swapEyes = false;      // with anaglyph: left eye cyan, right eye red
    bool parallel = false;      // the eye at infinity along its direction
    int  lineWidth = 1;         // kLineWidthMin..kLineWidthMax
    // The figure: any of these drawn at the picture's own size, in doubles until the last step.
    int  size = kCanvasSide;    // pixels a side, kPictureSizeMin..kPictureSizeMax
    Theme theme = Theme::Pantalla;
    std::optional<Rgb> background;   // instead of the theme's
    std::optional<Rgb> lineColour;   // instead of the theme's
    bool dashedHidden = false;  // with hiddenLines: the hidden lines dashed instead of left out
    bool axes = false;          // x, y and z through the surface's origin, with arrows and labels
    bool ticks = false;         // the axes numbered in the formulas' units (draws the axes too)
    std::string title;          // written above the square; empty: none
    std::string label;          // in the square's top left corner, e.g. a sweep's "t = 0,79"; empty: none
    double printedWidthCm = kPrintedWidthCm;   // a vector figure's width on paper (PDF, EPS, TikZ; SVG if not the default)
    std::optional<SectionPlane> section;   // the surface's section by this plane, in the theme's accent

    // True when an option of the figure is on: such a frame is drawn as a figure, in any format.
    bool IsFigure() const
    {
        return size != kCanvasSide || theme != Theme::Pantalla || background || lineColour || dashedHidden || axes || ticks ||
               printedWidthCm != kPrintedWidthCm || !label.empty() ||
               !title.empty() || section;
    }
    // True when nothing differs from the plain frame (swapEyes alone changes nothing).
    bool IsPlain() const
    {
        return !hiddenLines && !depthCue && !anaglyph && !parallel && lineWidth == 1 && !IsFigure();
    }
    friend bool operator==(const FrameStyle&, const FrameStyle&) = default;
};

// The blue of depth level 0 (farthest) .. kDepthShades - 1 (nearest).
constexpr std::uint8_t DepthShade(int level)
{
    return static_cast<std::uint8_t>(72 + (183 * level) / (kDepthShades - 1));
}
