// How a frame is drawn beyond its camera: hidden lines, depth cue, red/cyan stereo, parallel
// projection and the width of its lines. The default draws the plain frame, bit for bit.
#pragma once

#include <cstdint>

constexpr int kLineWidthMin = 1, kLineWidthMax = 4;   // pixels
constexpr int kDepthShades = 12;                      // shades of the depth cue, far to near
constexpr double kFirstEyeDistance = 300.0;           // the eye's distance after a reset
constexpr double kStereoSeparationRatio = 1.0 / 30.0; // eye separation over the eye's distance

struct FrameStyle {
    bool hiddenLines = false;   // lines behind the surface's facets are not drawn
    bool depthCue = false;      // nearer segments in a brighter blue
    bool anaglyph = false;      // left eye red, right eye cyan, added on the black
    bool swapEyes = false;      // with anaglyph: left eye cyan, right eye red
    bool parallel = false;      // the eye at infinity along its direction
    int  lineWidth = 1;         // kLineWidthMin..kLineWidthMax

    // True when nothing differs from the plain frame (swapEyes alone changes nothing).
    bool IsPlain() const { return !hiddenLines && !depthCue && !anaglyph && !parallel && lineWidth == 1; }
    friend bool operator==(const FrameStyle&, const FrameStyle&) = default;
};

// The blue of depth level 0 (farthest) .. kDepthShades - 1 (nearest).
constexpr std::uint8_t DepthShade(int level)
{
    return static_cast<std::uint8_t>(72 + (183 * level) / (kDepthShades - 1));
}
