// A long scripted use of the window's view controls and the view it ends on, recorded bit for bit
// from the window. The window test plays the script with real events; the session test plays it
// without a window; both must end on exactly these numbers.
#pragma once

#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "geometry/view_state.h"

enum class ScriptStep {
    Surface,        // a surface button, or "Otra:" for a number beyond the eight: value = number
    Drag,           // one held drag: x, y pairs of cursor travel, each a move while held
    ZoomArrow,      // "Z" bar arrow: value -1 the upper (bigger), +1 the lower
    ZoomPage,       // "Z" bar page area: -1 above the thumb, +1 below
    DistanceArrow,  // "P" bar arrow: -1 the upper (nearer), +1 the lower
    DistancePage,   // "P" bar page area
    Wheel,          // the wheel over the square: value = angle delta
    ArrowKey,       // an arrow key on the focused square: x, y travel
    CtrlArrowKey,   // Ctrl+arrow anywhere: x, y travel
    PageKey,        // Re Pág (-1) or Av Pág (+1)
    ZoomKey,        // + (-1, as the upper arrow) or - (+1)
    HomeKey,
};

struct ScriptEntry {
    ScriptEntry(ScriptStep s, int v = 0, std::vector<int> t = {}) : step(s), value(v), travel(std::move(t)) {}
    ScriptStep       step;
    int              value;
    std::vector<int> travel;   // Drag: x0, y0, x1, y1, ...; keys: x, y
};

// The gallery's first surface is number 9; the script picks it through "Otra:".
inline const std::vector<ScriptEntry> kViewScript = {
    {ScriptStep::Surface, 5},
    {ScriptStep::Drag, 0, {30, -12, 55, 8, -3, 41}},
    {ScriptStep::ZoomArrow, -1}, {ScriptStep::ZoomArrow, -1}, {ScriptStep::ZoomArrow, 1},
    {ScriptStep::ZoomPage, -1}, {ScriptStep::ZoomPage, 1},
    {ScriptStep::DistanceArrow, -1}, {ScriptStep::DistanceArrow, 1}, {ScriptStep::DistanceArrow, 1},
    {ScriptStep::DistancePage, 1}, {ScriptStep::DistancePage, -1},
    {ScriptStep::Wheel, 120}, {ScriptStep::Wheel, 60}, {ScriptStep::Wheel, 300}, {ScriptStep::Wheel, -120},
    {ScriptStep::ArrowKey, 0, {-10, 0}}, {ScriptStep::ArrowKey, 0, {0, -10}},
    {ScriptStep::CtrlArrowKey, 0, {10, 0}}, {ScriptStep::CtrlArrowKey, 0, {0, 10}},
    {ScriptStep::PageKey, -1}, {ScriptStep::PageKey, -1}, {ScriptStep::PageKey, 1},
    {ScriptStep::ZoomKey, -1}, {ScriptStep::ZoomKey, 1}, {ScriptStep::ZoomKey, -1},
    {ScriptStep::Drag, 0, {-17, 23}},
    {ScriptStep::Surface, 3},
    {ScriptStep::Drag, 0, {7, 7, 7, 7, 120, -90}},
    {ScriptStep::CtrlArrowKey, 0, {-10, 0}},
    {ScriptStep::Wheel, -240},
    {ScriptStep::DistanceArrow, -1},
    {ScriptStep::Surface, 9},
    {ScriptStep::Drag, 0, {-44, 5, 2, 60}},
    {ScriptStep::ZoomArrow, -1}, {ScriptStep::ArrowKey, 0, {0, 10}}, {ScriptStep::PageKey, 1},
    {ScriptStep::HomeKey},
    {ScriptStep::Drag, 0, {9, -31}}, {ScriptStep::ZoomKey, 1}, {ScriptStep::ArrowKey, 0, {10, 0}},
    {ScriptStep::Surface, 7},
    {ScriptStep::Drag, 0, {250, 3}},
    {ScriptStep::ZoomPage, -1}, {ScriptStep::DistanceArrow, 1}, {ScriptStep::CtrlArrowKey, 0, {0, -10}},
    {ScriptStep::Wheel, 120},
};

// The record's doubles in the order of its fields, and the surface.
inline std::vector<double> RecordedDoubles(const ViewState& v)
{
    std::vector<double> d;
    for (Vec3 p : {v.scratch, v.planeHit, v.planePoint, v.right, v.up, v.upCrossN, v.normal, v.target, v.eye})
        d.insert(d.end(), {p.x, p.y, p.z});
    d.push_back(v.zoom);
    return d;
}

inline constexpr int kRecordedSurface = 7;
inline constexpr int kRecordedFrames = 54;   // camera steps the script makes
inline const std::vector<double> kRecordedView = {
    0x1.fc019bb581216p+1, -0x1.0ec867572029dp+5, -0x1.c677906858fa1p-50,   // scratch
    0x1.442eefc874c87p+13, -0x1.31bd1209bd969p+13, -0x1.897e36a06a98bp+9,   // planeHit
    0x1.970c4cec93e0ap+7, -0x1.7fe379a6db733p+7, -0x1.744df73791c9cp+3,   // planePoint
    0x1.27a4efbb59372p-1, 0x1.278ff8b73c74dp-1, 0x1.279a74394ad6p-1,   // right
    -0x1.7cb809d18af5ep-2, -0x1.c64ce87435d47p-2, 0x1.a1812b25a85cbp-1,   // up
    0x1.5a7548ef8c8cap+7, 0x1.5a5cb776bad8fp+7, 0x1.5a69003323b2cp+7,   // upCrossN
    0x1.b41f76fd79de6p+7, -0x1.9b4f26e9a1fb6p+7, -0x1.8ee5d204ae7ccp+3,   // normal
    0x0p+0, 0x0p+0, 0x0p+0,   // target
    0x1.b41f76fd79de6p+7, -0x1.9b4f26e9a1fb6p+7, -0x1.8ee5d204ae7ccp+3,   // eye
    0x1.98p+5,   // zoom
};

// Whether view ends where the recording did, to the bit; what differs, written as source to paste.
inline bool MatchesRecording(const ViewState& view, std::string& differences)
{
    const std::vector<double> got = RecordedDoubles(view);
    bool same = view.surface == kRecordedSurface && got.size() == kRecordedView.size() &&
                std::memcmp(got.data(), kRecordedView.data(), got.size() * sizeof(double)) == 0;
    if (!same) {
        differences = "surface " + std::to_string(view.surface) + ", doubles:\n";
        for (double x : got) {
            char text[40];
            std::snprintf(text, sizeof text, "    %a,\n", x);
            differences += text;
        }
    }
    return same;
}
