// What the user has open, without a window system: the surface shown and the view of it, every
// view control's rule, the frame style, the turntable's tick and the shown frame's camera. A front
// end hands its events over in one call each and draws the frame it is told about; nothing here
// needs a thread or, but for saving, a file.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "export/output_format.h"
#include "geometry/view_state.h"
#include "render/frame_style.h"
#include "render/raster_canvas.h"
#include "render/turntable.h"
#include "session/parameter_control.h"
#include "session/scene.h"
#include "session/view_controls.h"
#include "surfaces/registry.h"
#include "surfaces/wireframe.h"

struct FigurePicture;

constexpr SurfaceKind kPreviewSurface = -1;   // the number under which a preview is shown
constexpr int kTurnFrames = 300;              // a full turn of the turntable and of a saved animation
constexpr int kWheelNotch = 120;
constexpr int kSectionSteps = 200;           // the places of the "Corte" slider, ends included less one
constexpr int kSweepSteps = 100;              // the ticks of "Animar" from one end of a range to the other              // angle delta of one notch: one step of the "Z" arrows

// The frames of a saved animation, owning all they draw, so that the view may go on changing
// while they are encoded a few at a time.
struct AnimationFrames {
    int count = 0;
    std::function<Camera(int k)>           cameraOf;
    std::function<const Wireframe*(int k)> wireOf;    // null when frame k cannot be sampled
    std::shared_ptr<std::string>           problem;   // then why, in Spanish
    std::function<std::string(int k)>      labelOf;   // a labelled sweep's "t = 0,79", else none
};

// The shown frame's picture in style: the frame itself, recoloured for a theme or colours, or the
// figure of its options at the square's size (axes, dashes, stereo in a theme).
void DrawShownFrame(const Camera& camera, const Wireframe& wire, const FrameStyle& style, RasterCanvas& picture);
// The same for a square of side pixels (kPictureSizeMin..kPictureSizeMax) other than the frame's:
// the figure of style at that size, as vexilon-render --size side draws it, side x side packed
// pixels row after row.
void DrawShownFrame(const Camera& camera, const Wireframe& wire, const FrameStyle& style, int side,
                    std::vector<std::uint32_t>& picture);
// The indexed picture that call packs, for a front end that packs it its own way; valid until the
// next call on this thread.
const FigurePicture& ShownFigure(const Camera& camera, const Wireframe& wire, const FrameStyle& style, int side);

class ViewSession {
public:
    // onFrame is told after every camera step, so that the front end draws the new frame, and
    // shows the two bars (Bar), when it next can.
    ViewSession(SurfaceRegistry& surfaces, std::function<void()> onFrame);
    ViewSession(const ViewSession&) = delete;
    ViewSession& operator=(const ViewSession&) = delete;

    SurfaceRegistry& Surfaces() const { return m_surfaces; }
    const ViewState& View() const { return m_view; }
    const DragState& Drag() const { return m_controls.Drag(); }
    const BarState& Bar(ViewBar bar) const { return m_controls.Bar(bar); }   // "Z" or "P" as the view sets it
    bool HasSurface() const { return m_view.surface != kSurfaceNone; }

    // A camera step and a frame of the view as it stands.
    void NextFrame();

    // A surface chosen: its first view, both bars set, and a frame.
    void ChooseSurface(SurfaceKind kind);
    void ResetKey();                        // Home: the shown surface chosen again; nothing without one

    // The mouse, cursor in screen coordinates: a drag turns the view between press and release.
    void PressButton(IntPoint cursor);
    void ReleaseButton();
    void MoveCursor(IntPoint cursor);
    // The side of the front end's square in pixels: a drag across it turns the view as much as a
    // drag across the frame's kCanvasSide, the travel from the press scaled and rounded (no drift).
    void SetSquareSide(int side) { m_squareSide = side > 0 ? side : kCanvasSide; }
    int SquareSide() const { return m_squareSide; }

    // A bar's own step (arrows, pages, thumb at position), a frame even before the first surface.
    void Scroll(ViewBar bar, BarStep step, int position = 0);
    // A key or wheel standing for a bar's arrow: nothing before the first surface.
    void ScrollKey(ViewBar bar, BarStep step);
    void OrbitKey(IntPoint travel);         // an arrow key: a drag step of travel; nothing without a surface
    void Wheel(int angleDelta);
    // "Encuadrar": the zoom at which the shown frame's surface spans kFramedFill of the square,
    // seen as now (FramingZoom), and a frame; nothing without a frame.
    void FrameToFit();             // eighths of a degree; a step of the "Z" arrows a whole notch

    // The turntable: each tick turns the eye 1/kTurnFrames of a circle about the picture's
    // vertical and makes a frame; a held button pauses it. The timer is the front end's.
    bool CanTurn() const { return HasSurface(); }
    void TurnTick();
    // The axis of the turntable and of a saved turn: the picture's vertical (as ever), or the
    // surface's own z axis through the target, as a turntable carries a surface of revolution.
    void SetTurnAxis(TurnAxis axis) { m_turnAxis = axis; }
    TurnAxis GetTurnAxis() const { return m_turnAxis; }

    // The parameters of the shown surface, each with the range of its slider: the one its
    // definition gives, else from 0 to twice its value (-1 to 1 for 0). Empty for the eight.
    std::vector<ParameterControl> Parameters() const;
    // A slider moved: the surface sampled anew with that value and a frame, the view as it was.
    // False, and the frame kept, when there is no such parameter or no finite point at value.
    bool SetParameter(const std::string& name, double value);
    // "Animar": one step of name back and forth across its range, 1/kSweepSteps of it a tick.
    void SweepTick(const std::string& name);

    // How frames are drawn. True when it changed: the front end then draws the same camera anew,
    // without a camera step. The section is kept: it has a control of its own (below).
    bool SetStyle(const FrameStyle& style);
    const FrameStyle& Style() const { return m_style; }

    // "Corte": the section of the shown surface by the plane axis = value, in the surface's own units
    // (the formulas'), drawn over each frame; the slider runs over the surface's extent on that axis
    // in kSectionSteps steps. Each call is true when the section changed: the front end then draws
    // the same camera anew. A surface chosen puts the plane through the middle of its extent.
    const std::optional<SectionPlane>& Section() const { return m_style.section; }
    bool SetSectionAxis(std::optional<SectionAxis> axis);   // nothing: off; on: through the middle
    bool SetSectionStep(int step);                          // 0..kSectionSteps, clamped; off: nothing
    bool SetSection(const std::optional<SectionPlane>& plane);   // a link's plane, exactly as it is
    int SectionStep() const;                                // the slider's place for the value
    std::pair<double, double> SectionRange() const;         // least, greatest; 0, 0 without a surface

    // A preview under kPreviewSurface: the first one starts at its first view, later ones keep it.
    void ShowPreview(std::shared_ptr<const Wireframe> wire, bool first);
    // The preview ends: back to surface before (none: an empty square, or none at all if there
    // was no frame before the preview).
    void EndPreview(SurfaceKind before, bool hadFrame);

    // The record the shown frame's camera step started from, and that record shown anew: the
    // same camera to the bit, both bars set, and a frame.
    const SceneView& StepView() const { return m_stepView; }
    void ShowView(const SceneView& view);

    // The shown frame, as its camera step left it.
    bool HasFrame() const { return m_hasFrame; }
    const Camera& FrameCamera() const { return m_camera; }
    SurfaceKind FrameSurface() const { return m_frameSurface; }
    const Wireframe& FrameWireframe() const { return WireframeOf(m_frameSurface); }
    int FramesRendered() const { return m_framesRendered; }

    // "toro.png": the name proposed for saving the shown frame in format.
    std::string FrameFileName(OutputFormat format) const;
    // Writes the shown frame to path, in the image format its name ends in (PNG, SVG, PDF, EPS or
    // TikZ; PNG for any other name), the square size pixels a side: the bytes the command line
    // writes for the same view and --size. False with the reason, and no file, on failure.
    bool SaveFrame(const std::string& path, std::string& error, int size = kCanvasSide) const;
    // Writes a GIF of one full turn of the shown frame's view to path; progress(done) is told
    // before each of the kTurnFrames frames and after the last, and false from it stops. False
    // with the reason (empty when stopped), and no file, on failure.
    bool SaveAnimation(const std::string& path, const std::function<bool(int done)>& progress,
                       std::string& error) const;
    // The same for a sweep of parameter name from the least of its range to the greatest and back,
    // 2 * kSweepSteps frames seen from the shown frame's camera; labelled, each shows the value in a
    // corner, as --label does.
    bool SaveSweep(const std::string& path, const std::string& name, const std::function<bool(int done)>& progress,
                   std::string& error, bool labelled = false) const;

    // The frames SaveAnimation (sweep empty) or SaveSweep encodes, for a front end that encodes
    // them a few at a time; nothing, with the reason, when there is no frame or no such parameter.
    std::optional<AnimationFrames> AnimationOf(const std::string& sweep, std::string& error, bool labelled = false) const;

private:
    const Wireframe& WireframeOf(SurfaceKind kind) const;
    void CentreSection();

    SurfaceRegistry&      m_surfaces;
    // The shown surface with the sliders' values, and its wireframe, once a slider has moved.
    std::shared_ptr<const SurfaceDefinition> m_varied;
    std::shared_ptr<const Wireframe>         m_variedWire;
    SurfaceKind           m_variedSurface = kSurfaceNone;
    int                   m_sweepDirection = 1;
    TurnAxis              m_turnAxis = TurnAxis::Screen;
    ViewState             m_view;
    ViewControls          m_controls;
    std::function<void()> m_onFrame;
    FrameStyle            m_style;
    std::shared_ptr<const Wireframe> m_preview;
    Camera                m_camera{};
    SceneView             m_stepView{};
    SurfaceKind           m_frameSurface = kSurfaceNone;
    bool                  m_hasFrame = false;
    int                   m_framesRendered = 0;
    int                   m_wheelDelta = 0;   // eighths of a degree not yet turned into a step
    int                   m_squareSide = kCanvasSide;
    IntPoint              m_press{};          // where the drag began, in screen coordinates
};
