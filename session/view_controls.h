// The rules of the view controls, for any front end: reset, drag orbit and the two bars.
#pragma once

#include <functional>

#include "geometry/view_state.h"

// What a bar is asked to do: its arrows (LineUp is the upper one, toward smaller positions),
// the track above or below the thumb, the thumb dragged (Track) or let go (Position), its ends.
// The numbers are the page's codes for them.
enum class BarStep { LineUp = 0, LineDown, PageUp, PageDown, ThumbPosition, ThumbTrack, Top, Bottom, EndScroll };

// The two bars beside the square: "Z" (zoom) and "P" (eye distance).
enum class ViewBar { Zoom, Distance };

constexpr int kZoomBarMin = 0, kZoomBarMax = 100;            // inverted: the top is zoom 100
constexpr int kDistanceBarMin = 20, kDistanceBarMax = 300;

// A bar as the front ends show it: its range and where its thumb stands, always within the range
// (0..0, empty, before the first surface).
struct BarState {
    int minimum = 0, maximum = 0, position = 0;

    friend bool operator==(const BarState&, const BarState&) = default;
};

// The mouse drag in progress: a front end's state, never part of the view record.
struct DragState {
    IntPoint      current;        // cursor in screen coordinates, last drag step
    IntPoint      anchor;         // cursor in screen coordinates, drag reference
    unsigned char dragging = 0;   // 1 while the left button is held
};

// A bar position from a double: toward zero; NaN gives 0 and values beyond int saturate.
int BarPosition(double value);

// The handlers that change the camera. Every change except ResetView ends with renderScene.
class ViewControls {
public:
    ViewControls(ViewState& view, std::function<void()> renderScene);

    // Eye on the diagonal at 300, up +z, target origin, zoom 50, and both bars given range and
    // position. Draws nothing: the surface button that calls it sets the surface and draws.
    void ResetView();
    // Both bars given range and position for the view as it stands (a view opened from a link).
    void ShowBars();

    void OnLButtonDown(IntPoint cursor);   // cursor in screen coordinates becomes the anchor
    void OnLButtonUp();
    void OnMouseMove(IntPoint cursor);     // one orbit step and a frame, only while dragging

    // A drag step of travel pixels made from the keyboard: the same step and frame as a mouse
    // move by travel, while a mouse drag in progress keeps its anchor and its button.
    void OrbitStep(IntPoint travel);

    // A step of bar, with the thumb's position for the thumb steps. The page and end steps
    // change nothing but still draw a frame.
    void Scroll(ViewBar bar, BarStep step, int position);

    // "Encuadrar": the zoom set to zoom (from FramingZoom) and a frame. Beyond 100 the zoom bar's
    // range grows upward to kZoomLargest, every position below keeping its zoom, until a reset.
    void SetFramedZoom(double zoom);

    const DragState& Drag() const { return m_drag; }
    // The bars as every change above left them: a front end shows them after each frame.
    const BarState& Bar(ViewBar bar) const { return bar == ViewBar::Zoom ? m_zoomBar : m_distanceBar; }

private:
    void ScrollZoom(BarStep step, int position);
    void ScrollDistance(BarStep step, int position);

    ViewState&            m_view;
    DragState             m_drag;
    BarState              m_zoomBar;
    BarState              m_distanceBar;
    std::function<void()> m_renderScene;
    bool                  m_zoomGrown = false;   // the bar reaches kZoomLargest since the last reset
};
