// How a frame is drawn beyond its camera: hidden lines, depth cue, red/cyan stereo, parallel
// projection and the width of its lines. The default draws the plain frame, bit for bit.
#pragma once

#include <cmath>
#include <cstdint>
#include <optional>
#include <string>

#include "geometry/view_state.h"
#include "render/canvas.h"
#include "surfaces/section.h"

constexpr int kLineWidthMin = 1, kLineWidthMax = 4;   // pixels
constexpr int kDepthShades = 12;                      // shades of the depth cue, far to near
constexpr double kFirstEyeDistance = 300.0;           // the eye's distance after a reset
constexpr double kStereoSeparationRatio = 1.0 / 30.0; // eye separation over the eye's distance
constexpr double kHiddenTolerance = 0.02;   // of the surface's depth at that view: a line this far behind a facet is seen
constexpr Rgb kStereoRed{255, 0, 0}, kStereoCyan{0, 255, 255};
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

// Depth-cue levels a unit of depth across extent, nearest to farthest; a flat view: all nearest.
inline double LevelsPerDepth(double extent)
{
    return extent > 0.0 ? kDepthShades / extent : INFINITY;
}

// The depth cue's level of a segment whose ends lie at depths da and db: its middle's, 0 farthest.
inline int DepthLevel(double farthest, double levelsPerDepth, double da, double db)
{
    // Truncation is floor here, as the value is clamped to >= 0.
    double level = (farthest - 0.5 * (da + db)) * levelsPerDepth;
    level = std::isnan(level) ? kDepthShades - 1 : level;
    return level >= kDepthShades - 1 ? kDepthShades - 1 : level > 0.0 ? static_cast<int>(level) : 0;
}

// The depth test's tolerance for a view whose points in front lie from nearest to farthest.
inline double HiddenTolerance(double nearest, double farthest)
{
    const double extent = farthest - nearest;
    return kHiddenTolerance * (std::isfinite(extent) ? extent : 0.0);
}

// The colours of a stereo pair's eyes: left red and right cyan (the other way with swapEyes) on a
// dark ground, where they add up; on a light ground the inks stop light, and the left eye's
// picture is the one its red filter darkens, so the eyes take the other colours.
struct StereoTints {
    Rgb left, right;
};
constexpr StereoTints StereoTintsFor(bool swapEyes, bool lightGround)
{
    const bool leftRed = lightGround == swapEyes;
    return {leftRed ? kStereoRed : kStereoCyan, leftRed ? kStereoCyan : kStereoRed};
}

// The scale of the parallel eye: the perspective eye's at the target from the first distance.
inline double ParallelScale(const Camera& camera)
{
    return camera.zoom * kPlaneOffset / kFirstEyeDistance;
}
