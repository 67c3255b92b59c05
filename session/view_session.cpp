// The session's actions: each changes the view by a control's rule and makes the frame's camera step.
#include "session/view_session.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "export/animation.h"
#include "export/figure_work.h"
#include "export/file_writer.h"
#include "export/frame_encoder.h"
#include "export/gif_encoder.h"
#include "geometry/view_changes.h"
#if VEXILON_HAS_CAIRO
#include "export/figure_cairo.h"
#endif
#include "render/figure.h"
#include "render/figure_picture.h"
#include "render/frame.h"
#include "render/figure_title.h"
#include "render/framing.h"
#include "render/theme.h"
#include "render/turntable.h"
#include "session/image_names.h"

ViewSession::ViewSession(SurfaceRegistry& surfaces, ScrollBar& zoomBar, ScrollBar& distanceBar,
                         std::function<void()> onFrame)
    : m_surfaces(surfaces), m_controls(m_view, zoomBar, distanceBar, [this] { NextFrame(); }),
      m_onFrame(std::move(onFrame))
{
}

void ViewSession::NextFrame()
{
    // The camera step belongs to every event, so the view after any sequence stays the same to
    // the bit; only the drawing waits for the front end.
    m_frameSurface = m_view.surface;
    m_stepView = {m_view.eye, m_view.target, m_view.up, m_view.zoom};
    m_camera = BeginFrame(m_view, WireframeOf(m_frameSurface));
    m_hasFrame = true;
    ++m_framesRendered;
    if (m_onFrame)
        m_onFrame();
}

void ViewSession::FrameToFit()
{
    if (!m_hasFrame || m_frameSurface == kSurfaceNone)
        return;
    m_controls.SetFramedZoom(FramingZoom(m_camera, WireframeOf(m_frameSurface), m_style.parallel));
}

const Wireframe& ViewSession::WireframeOf(SurfaceKind kind) const
{
    if (kind == kPreviewSurface && m_preview)
        return *m_preview;
    if (kind == m_variedSurface && m_variedWire)
        return *m_variedWire;
    return m_surfaces.WireframeOf(kind);
}

void ViewSession::ChooseSurface(SurfaceKind kind)
{
    if (kind != m_variedSurface) {   // another surface starts at its own values; Home keeps them
        m_varied.reset();
        m_variedWire.reset();
        m_variedSurface = kSurfaceNone;
    }
    const bool another = kind != m_view.surface;
    m_controls.ResetView();
    m_view.surface = kind;
    if (another)
        CentreSection();
    NextFrame();
}

void ViewSession::ShowView(const SceneView& view)
{
    m_view.eye = view.eye;
    m_view.target = view.target;
    m_view.up = view.up;
    m_view.zoom = view.zoom;
    m_controls.ShowBars();
    NextFrame();
}

void ViewSession::ResetKey()
{
    if (HasSurface())
        ChooseSurface(m_view.surface);
}

void ViewSession::PressButton(IntPoint cursor)
{
    m_press = cursor;
    m_controls.OnLButtonDown(cursor);
}

void ViewSession::ReleaseButton()
{
    m_controls.OnLButtonUp();
}

void ViewSession::MoveCursor(IntPoint cursor)
{
    if (m_squareSide != kCanvasSide) {
        // From the press, not from the last step, so rounding never adds up along a drag.
        const auto scaled = [this](int from, int to) {
            return from + static_cast<int>(std::lround(static_cast<double>(to - from) * kCanvasSide / m_squareSide));
        };
        cursor = {scaled(m_press.x, cursor.x), scaled(m_press.y, cursor.y)};
    }
    m_controls.OnMouseMove(cursor);
}

void ViewSession::Scroll(int code, int position, int barId)
{
    m_controls.OnVScroll(code, position, barId);
}

void ViewSession::ScrollKey(int barId, int code)
{
    if (HasSurface())
        m_controls.OnVScroll(code, 0, barId);   // a line step: the position is not read
}

void ViewSession::OrbitKey(IntPoint travel)
{
    if (HasSurface())
        m_controls.OrbitStep(travel);
}

void ViewSession::Wheel(int angleDelta)
{
    if (!HasSurface())
        return;   // before the first surface the "Z" bar is empty and takes no step either
    m_wheelDelta += angleDelta;
    // Fine-grained wheels send fractions of a notch: a step for every whole notch gathered.
    while (m_wheelDelta >= kWheelNotch) {
        m_wheelDelta -= kWheelNotch;
        ScrollKey(kZoomBarId, SB_LINEUP);
    }
    while (m_wheelDelta <= -kWheelNotch) {
        m_wheelDelta += kWheelNotch;
        ScrollKey(kZoomBarId, SB_LINEDOWN);
    }
}

void ViewSession::TurnTick()
{
    if (!HasSurface() || Drag().dragging)
        return;   // a held button pauses the turn; the drag steps the view meanwhile
    const double step = 2.0 * PiValue() / kTurnFrames;
    TurnView(m_view, m_turnAxis, step);
    NextFrame();
}

std::vector<ParameterControl> ViewSession::Parameters() const
{
    const SurfaceEntry* entry = m_surfaces.Find(m_view.surface);
    const SurfaceDefinition* def = m_variedSurface == m_view.surface && m_varied ? m_varied.get()
                                   : entry                                  ? entry->definition.get()
                                                                            : nullptr;
    std::vector<ParameterControl> controls;
    if (!def)
        return controls;
    for (const auto& [name, value] : def->params) {
        ParameterControl control{name, value == 0.0 ? -1.0 : std::min(0.0, 2 * value),
                                 value == 0.0 ? 1.0 : std::max(0.0, 2 * value), value};
        for (const ParameterRange& range : def->ranges)
            if (range.name == name) {
                control.least = range.least;
                control.greatest = range.greatest;
            }
        controls.push_back(control);
    }
    return controls;
}

bool ViewSession::SetParameter(const std::string& name, double value)
{
    const SurfaceEntry* entry = m_surfaces.Find(m_view.surface);
    if (!entry || !entry->definition)
        return false;
    SurfaceDefinition def = m_variedSurface == m_view.surface && m_varied ? *m_varied : *entry->definition;
    if (!::SetParameter(def, name, value))
        return false;
    def.ranges.clear();   // the slider keeps to its range; the value is not checked against it again
    DefinitionProblem problem;
    std::optional<Wireframe> wire = BuildTypedSurface(def, problem);
    if (!wire)
        return false;
    def.ranges = m_variedSurface == m_view.surface && m_varied ? m_varied->ranges : entry->definition->ranges;
    m_varied = std::make_shared<const SurfaceDefinition>(std::move(def));
    m_variedWire = std::make_shared<const Wireframe>(std::move(*wire));
    m_variedSurface = m_view.surface;
    NextFrame();   // the same view: a camera step as any redraw makes, no reset
    return true;
}

void ViewSession::SweepTick(const std::string& name)
{
    for (const ParameterControl& control : Parameters()) {
        if (control.name != name)
            continue;
        const double step = (control.greatest - control.least) / kSweepSteps;
        double next = control.value + m_sweepDirection * step;
        if (next >= control.greatest || next <= control.least) {   // back at an end: turn round there
            next = next >= control.greatest ? control.greatest : control.least;
            m_sweepDirection = -m_sweepDirection;
        }
        SetParameter(name, next);
    }
}

bool ViewSession::SetStyle(const FrameStyle& style)
{
    FrameStyle next = style;
    next.section = m_style.section;
    if (next == m_style)
        return false;
    m_style = next;
    return true;
}

void ViewSession::ShowPreview(std::shared_ptr<const Wireframe> wire, bool first)
{
    m_preview = std::move(wire);
    if (first)
        m_controls.ResetView();   // a new surface starts at its first view; later previews keep it
    m_view.surface = kPreviewSurface;
    NextFrame();
}

void ViewSession::EndPreview(SurfaceKind before, bool hadFrame)
{
    m_preview.reset();
    if (before != kSurfaceNone && before != kPreviewSurface) {
        ChooseSurface(before);
    } else {
        m_view.surface = kSurfaceNone;
        m_frameSurface = kSurfaceNone;
        m_hasFrame = hadFrame && before != kSurfaceNone;
        if (m_onFrame)
            m_onFrame();
    }
}

std::string ViewSession::FrameFileName(OutputFormat format) const
{
    return ImageFileName(m_surfaces, m_frameSurface, format);
}

bool ViewSession::SaveFrame(const std::string& path, std::string& error, int size) const
{
    const std::optional<OutputFormat> named = FormatOfFileName(path);
    FrameEncoder frame(IsImageFormat(named) ? *named : OutputFormat::Png);
    FrameStyle style = m_style;
    style.size = std::clamp(size, kPictureSizeMin, kPictureSizeMax);
    if (!WithinFigureWork(FrameWireframe(), style, frame.Format())) {
        const long long pieces = VectorPieces(FrameWireframe(), style, frame.Format());
        error = "la imagen es demasiado pesada para un archivo vectorial: " + std::to_string(pieces) +
                " trozos de línea; se acepta: como mucho " + std::to_string(kMaxVectorPieces) +
                " (menos líneas o muestras, un solo ojo, sin trazos discontinuos, líneas más finas, o PNG)";
        return false;
    }
    frame.Draw(m_camera, FrameWireframe(), style);
    return WriteFrameFile(path, frame, error);
}

std::optional<AnimationFrames> ViewSession::AnimationOf(const std::string& sweep, std::string& error, bool labelled) const
{
    if (!m_hasFrame) {
        error = "no hay ninguna imagen que animar";
        return std::nullopt;
    }
    AnimationFrames frames;
    frames.problem = std::make_shared<std::string>();
    if (sweep.empty()) {
        // The record of the shown frame: its camera, whatever the view did since.
        ViewState first = m_view;
        first.eye = m_camera.eye;
        first.planePoint = m_camera.planePoint;
        first.normal = m_camera.normal;
        first.right = m_camera.right;
        first.up = m_camera.up;
        first.zoom = m_camera.zoom;
        auto wire = std::make_shared<const Wireframe>(FrameWireframe());   // a preview too
        frames.count = kTurnFrames;
        frames.cameraOf = [first, wire, axis = m_turnAxis](int k) { return TurnFrameCamera(first, *wire, k, kTurnFrames, axis); };
        frames.wireOf = [wire](int) { return wire.get(); };
        return frames;
    }
    const SurfaceEntry* entry = m_surfaces.Find(m_frameSurface);
    const std::vector<ParameterControl> controls = Parameters();
    const auto control = std::find_if(controls.begin(), controls.end(), [&](const ParameterControl& c) { return c.name == sweep; });
    if (!entry || !entry->definition || control == controls.end()) {
        error = "la superficie no tiene el parámetro «" + sweep + "»";
        return std::nullopt;
    }
    auto def = std::make_shared<SurfaceDefinition>(m_variedSurface == m_frameSurface && m_varied ? *m_varied : *entry->definition);
    def->ranges.clear();
    // Up the range and down again, the ends once each: the loop closes without a repeated frame.
    const std::vector<double> up = SweepValues(control->least, control->greatest, kSweepSteps + 1);
    auto values = std::make_shared<std::vector<double>>(up.begin(), up.end());
    values->insert(values->end(), up.rbegin() + 1, up.rend() - 1);
    auto wire = std::make_shared<Wireframe>();
    frames.count = static_cast<int>(values->size());
    frames.cameraOf = [camera = m_camera](int) { return camera; };
    frames.wireOf = [def, values, wire, sweep, problem = frames.problem](int k) -> const Wireframe* {
        const double value = (*values)[static_cast<size_t>(k)];
        ::SetParameter(*def, sweep, value);
        DefinitionProblem why;
        std::optional<Wireframe> built = BuildTypedSurface(*def, why);
        if (!built) {
            *problem = "en " + sweep + " = " + std::to_string(value) + ": " + why.what.spanish;
            return nullptr;
        }
        *wire = std::move(*built);
        return wire.get();
    };
    if (labelled)
        frames.labelOf = [values, sweep](int k) { return SweepLabel(sweep, (*values)[static_cast<size_t>(k)]); };
    return frames;
}

namespace {

bool SaveFrames(const std::string& path, std::optional<AnimationFrames> frames, const FrameStyle& style,
                const std::function<bool(int done)>& progress, std::string& error)
{
    if (!frames)
        return false;
    bool stopped = false;
    const bool saved = WriteFileAtomically(path, [&](std::FILE* file) {
        return EncodeAnimation(file, kGifFpsDefault, frames->count, frames->cameraOf, frames->wireOf, style,
                               [&](int done) { return !(stopped = !progress(done)); }, frames->labelOf);
    }, error);
    if (!frames->problem->empty())
        error = *frames->problem;
    else if (stopped)
        error.clear();
    return saved;
}

}   // namespace

bool ViewSession::SaveAnimation(const std::string& path, const std::function<bool(int done)>& progress,
                                std::string& error) const
{
    return SaveFrames(path, AnimationOf("", error), m_style, progress, error);
}

bool ViewSession::SaveSweep(const std::string& path, const std::string& name,
                            const std::function<bool(int done)>& progress, std::string& error, bool labelled) const
{
    return SaveFrames(path, AnimationOf(name, error, labelled), m_style, progress, error);
}

namespace {

// The figure of style at its own size with its texts, kept for the next frame's drawing.
const FigurePicture& ShownFigure(const Camera& camera, const Wireframe& wire, const FrameStyle& style)
{
    thread_local Figure figure;
    thread_local FigurePicture pixels;
    BuildFigure(camera, wire, style, figure);
    RasterizeFigure(figure, pixels);
#if VEXILON_HAS_CAIRO
    DrawFigureTexts(figure, pixels);
#endif
    return pixels;
}

}   // namespace

void DrawShownFrame(const Camera& camera, const Wireframe& wire, const FrameStyle& style, RasterCanvas& picture)
{
    if (!style.IsFigure()) {
        DrawFrame(camera, wire, style, picture);
        return;
    }
    FrameStyle square = style;   // the window's square whatever the size saved last
    square.size = kCanvasSide;
    square.title.clear();
    if (IsRecolouredFrame(square)) {
        DrawFrame(camera, wire, FrameOnly(square), picture);
        std::uint32_t* bits = picture.Bits();
        std::uint32_t from = 0, to = 0;   // the last colour changed: lines come in runs of one colour
        bool known = false;
        for (size_t i = 0; i < static_cast<size_t>(kCanvasSide) * kCanvasSide; ++i) {
            if (!known || bits[i] != from) {
                from = bits[i];
                to = PackPixel(ThemedColour({std::uint8_t(from >> 16), std::uint8_t(from >> 8), std::uint8_t(from)}, square));
                known = true;
            }
            bits[i] = to;
        }
        return;
    }
    const FigurePicture& pixels = ShownFigure(camera, wire, square);
    picture.ClearHiddenRows();
    std::uint32_t* bits = picture.Bits();
    for (size_t i = 0; i < pixels.indices.size(); ++i)
        bits[i] = PackPixel(pixels.palette[pixels.indices[i]]);
}

void DrawShownFrame(const Camera& camera, const Wireframe& wire, const FrameStyle& style, int side,
                    std::vector<std::uint32_t>& picture)
{
    FrameStyle square = style;
    square.size = std::clamp(side, kPictureSizeMin, kPictureSizeMax);
    square.title.clear();
    const FigurePicture& pixels = ShownFigure(camera, wire, square);
    picture.resize(pixels.indices.size());
    std::uint32_t packed[256];   // the palette once, not a pixel at a time
    for (size_t i = 0; i < pixels.palette.size() && i < 256; ++i)
        packed[i] = PackPixel(pixels.palette[i]);
    for (size_t i = 0; i < pixels.indices.size(); ++i)
        picture[i] = packed[pixels.indices[i]];
}
