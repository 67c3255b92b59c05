// The rules of the view controls, for any front end: reset, drag orbit and the two bars.
#pragma once

#include <functional>

#include "geometry/view_state.h"

// The codes of a vertical scroll message.
constexpr int SB_LINEUP = 0;
constexpr int SB_LINEDOWN = 1;
constexpr int SB_PAGEUP = 2;
constexpr int SB_PAGEDOWN = 3;
constexpr int SB_THUMBPOSITION = 4;
constexpr int SB_THUMBTRACK = 5;
constexpr int SB_TOP = 6;
constexpr int SB_BOTTOM = 7;
constexpr int SB_ENDSCROLL = 8;

constexpr int kZoomBarMin = 0, kZoomBarMax = 100;            // inverted: the top is zoom 100
constexpr int kDistanceBarMin = 20, kDistanceBarMax = 300;
constexpr int kZoomBarId = 1007, kDistanceBarId = 1008;     // which bar a scroll message is for

// The mouse drag in progress: a front end's state, never part of the view record.
struct DragState {
    IntPoint      current;        // cursor in screen coordinates, last drag step
    IntPoint      anchor;         // cursor in screen coordinates, drag reference
    unsigned char dragging = 0;   // 1 while the left button is held
};

// What the controls need of a scroll bar: the two calls of a bar control with SB_CTL and redraw.
class ScrollBar {
public:
    virtual ~ScrollBar() = default;
    virtual void SetRange(int minimum, int maximum) = 0;
    virtual void SetPosition(int position) = 0;   // a real bar holds it to its range
};

// A bar position from a double: toward zero; NaN gives 0 and values beyond int saturate.
int BarPosition(double value);

// The handlers that change the camera. Every change except ResetView ends with renderScene.
class ViewControls {
public:
    ViewControls(ViewState& view, ScrollBar& zoomBar, ScrollBar& distanceBar, std::function<void()> renderScene);

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

    // A vertical scroll message: code SB_*, the thumb position of codes 4 and 5, and the id of
    // the bar (kZoomBarId or kDistanceBarId). Unknown codes and other controls change nothing but still draw a frame.
    void OnVScroll(int code, int position, int barId);

    // "Encuadrar": the zoom set to zoom (from FramingZoom) and a frame. Beyond 100 the zoom bar's
    // range grows upward to kZoomLargest, every position below keeping its zoom, until a reset.
    void SetFramedZoom(double zoom);

    const DragState& Drag() const { return m_drag; }

private:
    void ScrollZoom(int code, int position);
    void ScrollDistance(int code, int position);

    ViewState&            m_view;
    DragState             m_drag;
    ScrollBar&            m_zoomBar;
    ScrollBar&            m_distanceBar;
    std::function<void()> m_renderScene;
    bool                  m_zoomGrown = false;   // the bar reaches kZoomLargest since the last reset
};
