// What the page asks of the core, as plain C functions the binding module calls: one view, the
// style of its frames, the picture, encoded files and the user's own surfaces.
#include <emscripten/emscripten.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "export/frame_encoder.h"
#include "export/gif_encoder.h"
#include "export/output_format.h"
#include "geometry/view_changes.h"
#include "render/frame.h"
#include "render/raster_canvas.h"
#include "render/turntable.h"
#include "surfaces/definitions_file.h"
#include "surfaces/gallery.h"
#include "surfaces/registry.h"
#include "surfaces/typed_surface.h"
#include "ui/view_controls.h"
#include "ui/resource.h"
#include "web/gallery_text.h"

namespace {

class PageBar final : public ScrollBar {
public:
    void SetRange(int minimum, int maximum) override { m_min = minimum; m_max = maximum; }
    void SetPosition(int position) override { m_position = position < m_min ? m_min : position > m_max ? m_max : position; }
    int Position() const { return m_position; }

private:
    int m_min = 0, m_max = 0, m_position = 0;
};

struct Page {
    ViewState    view;
    FrameStyle   style;
    Camera       camera{};
    PageBar      zoomBar, distanceBar;
    ViewControls controls{view, zoomBar, distanceBar, [this] { CameraStep(); }};
    RasterCanvas picture;
    std::vector<unsigned char> bytes;    // the last encoded file, or the last answer's text
    SurfaceKind  galleryLast = kBuiltinSurfaceCount;
    std::optional<Wireframe> preview;    // the definition dialog's sampled surface, number -1

    struct Turn {                        // a turn being saved as an animated GIF, frame by frame
        ViewState    first;
        char*        data = nullptr;
        std::size_t  size = 0;
        std::FILE*   stream = nullptr;
        std::unique_ptr<GifEncoder> gif;
        FrameEncoder frame{OutputFormat::Gif};
        bool         ok = true;
    };
    std::unique_ptr<Turn> turn;

    const Wireframe& Shown() const
    {
        return view.surface == -1 && preview ? *preview : Surfaces().WireframeOf(view.surface);
    }
    void CameraStep() { camera = BeginFrame(view, Shown()); }
};

Page& ThePage()
{
    static Page page;
    return page;
}

std::string Escaped(const std::string& text)
{
    std::string out;
    for (char c : text) {
        if (c == '"' || c == '\\')
            out += '\\';
        if (static_cast<unsigned char>(c) < 0x20)
            out += ' ';
        else
            out += c;
    }
    return out;
}

const char* Answer(const std::string& json)
{
    Page& page = ThePage();
    page.bytes.assign(json.begin(), json.end());
    page.bytes.push_back(0);
    return reinterpret_cast<const char*>(page.bytes.data());
}

// The fields of a definition, separated by the unit separator: caption, x, y, z, u from, u to,
// u lines, v from, v to, v lines, samples. Counts that are not whole numbers become -1, which the
// check refuses at their field.
SurfaceDefinition DefinitionOf(const char* fields)
{
    std::vector<std::string> part(1);
    for (const char* c = fields; *c; ++c) {
        if (*c == '\x1f')
            part.emplace_back();
        else
            part.back() += *c;
    }
    part.resize(11);
    auto count = [](const std::string& text) {
        char* end = nullptr;
        const long n = std::strtol(text.c_str(), &end, 10);
        return text.empty() || *end != '\0' || n < -1 || n > 100000000 ? -1 : static_cast<int>(n);
    };
    SurfaceDefinition definition;
    definition.caption = part[0];
    definition.xyz = {part[1], part[2], part[3]};
    definition.u = {part[4], part[5], count(part[6])};
    definition.v = {part[7], part[8], count(part[9])};
    definition.samples = count(part[10]);
    return definition;
}

std::string ProblemJson(const DefinitionProblem& problem)
{
    return "{\"field\":" + std::to_string(static_cast<int>(problem.field)) + ",\"message\":\"" +
           Escaped(problem.what.spanish) + "\",\"position\":" + std::to_string(problem.what.position) + "}";
}

}  // namespace

extern "C" {

// Reads the gallery after the eight; returns the number of surfaces.
EMSCRIPTEN_KEEPALIVE int vx_start()
{
    Page& page = ThePage();
    std::vector<FileProblem> problems;
    const std::vector<SurfaceKind> added =
        AddDefinitions(Surfaces(), ParseDefinitions(kGalleryText, "gallery.toml"), "gallery.toml", problems);
    if (!added.empty())
        page.galleryLast = added.back();
    return Surfaces().Count();
}

EMSCRIPTEN_KEEPALIVE int vx_surface_count() { return Surfaces().Count(); }
EMSCRIPTEN_KEEPALIVE int vx_gallery_last() { return ThePage().galleryLast; }

EMSCRIPTEN_KEEPALIVE const char* vx_surface_caption(int number)
{
    const SurfaceEntry* entry = Surfaces().Find(number);
    return Answer(entry ? entry->caption : std::string());
}

EMSCRIPTEN_KEEPALIVE const char* vx_surface_id(int number)
{
    const SurfaceEntry* entry = Surfaces().Find(number);
    return Answer(entry ? entry->id : std::string());
}

// A surface button: the view reset, the surface chosen and a frame's camera step.
EMSCRIPTEN_KEEPALIVE void vx_choose(int number)
{
    Page& page = ThePage();
    page.controls.ResetView();
    page.view.surface = number;
    page.CameraStep();
}

EMSCRIPTEN_KEEPALIVE void vx_press(int x, int y) { ThePage().controls.OnLButtonDown({x, y}); }
EMSCRIPTEN_KEEPALIVE void vx_release() { ThePage().controls.OnLButtonUp(); }
EMSCRIPTEN_KEEPALIVE void vx_move(int x, int y) { ThePage().controls.OnMouseMove({x, y}); }
EMSCRIPTEN_KEEPALIVE void vx_orbit_step(int dx, int dy) { ThePage().controls.OrbitStep({dx, dy}); }

// bar 0 is "Z", 1 is "P"; code is a scroll code (line up/down, thumb position).
EMSCRIPTEN_KEEPALIVE void vx_scroll(int bar, int code, int position)
{
    ThePage().controls.OnVScroll(code, position, bar == 0 ? IDC_SCROLL_ZOOM : IDC_SCROLL_DISTANCE);
}

EMSCRIPTEN_KEEPALIVE int vx_bar_position(int bar)
{
    return bar == 0 ? ThePage().zoomBar.Position() : ThePage().distanceBar.Position();
}

// A turn tick of "Girar": the eye about the picture's vertical, a 300th of a circle.
EMSCRIPTEN_KEEPALIVE void vx_turn_tick()
{
    Page& page = ThePage();
    TurnEye(page.view, page.view.up, 2.0 * PiValue() / 300);
    page.CameraStep();
}

EMSCRIPTEN_KEEPALIVE void vx_set_style(int hidden, int depthCue, int anaglyph, int swapEyes, int parallel, int lineWidth)
{
    FrameStyle& style = ThePage().style;
    style.hiddenLines = hidden != 0;
    style.depthCue = depthCue != 0;
    style.anaglyph = anaglyph != 0;
    style.swapEyes = swapEyes != 0;
    style.parallel = parallel != 0;
    style.lineWidth = lineWidth < kLineWidthMin ? kLineWidthMin : lineWidth > kLineWidthMax ? kLineWidthMax : lineWidth;
}

// The shown frame drawn: 500 x 502 pixels 0xAARRGGBB; the caller copies what it needs at once.
EMSCRIPTEN_KEEPALIVE const std::uint32_t* vx_draw()
{
    Page& page = ThePage();
    DrawFrame(page.camera, page.Shown(), page.style, page.picture);
    return page.picture.Bits();
}

// The shown frame encoded as a file of format (0 PNG, 1 SVG, 2 trace, 3 GIF): the bytes stay
// valid until the next call; their count comes from vx_bytes_size.
EMSCRIPTEN_KEEPALIVE const unsigned char* vx_encode(int format)
{
    Page& page = ThePage();
    page.bytes.clear();
    const std::span<const FormatInfo> formats = OutputFormats();
    if (format < 0 || format >= static_cast<int>(formats.size()))
        return nullptr;
    FrameEncoder frame(formats[static_cast<std::size_t>(format)].format);
    frame.Draw(page.camera, page.Shown(), page.style);
    char* data = nullptr;
    std::size_t size = 0;
    std::FILE* stream = open_memstream(&data, &size);
    if (!stream)
        return nullptr;
    const bool written = frame.Write(stream);
    const bool closed = std::fclose(stream) == 0;
    if (written && closed)
        page.bytes.assign(data, data + size);
    std::free(data);
    return page.bytes.data();
}

EMSCRIPTEN_KEEPALIVE int vx_bytes_size() { return static_cast<int>(ThePage().bytes.size()); }

// Samples a definition for the dialog's preview and shows it as surface -1: "{}" when drawn, else
// the problem with its field.
EMSCRIPTEN_KEEPALIVE const char* vx_preview(const char* fields)
{
    Page& page = ThePage();
    DefinitionProblem problem;
    page.preview = BuildTypedSurface(DefinitionOf(fields), problem);
    if (!page.preview)
        return Answer(ProblemJson(problem));
    vx_choose(-1);
    return Answer("{}");
}

// Checks a definition as "Aceptar" does: "{}" or the problem with its field.
EMSCRIPTEN_KEEPALIVE const char* vx_check(const char* fields)
{
    DefinitionProblem problem;
    return Answer(CheckDefinition(DefinitionOf(fields), problem) ? "{}" : ProblemJson(problem));
}

// The user's own surfaces from the text of a superficies.toml, after the gallery (those read before
// are removed): {"added":N,"problems":["…"]}.
EMSCRIPTEN_KEEPALIVE const char* vx_load_own(const char* text)
{
    Page& page = ThePage();
    Surfaces().RemoveFrom(page.galleryLast + 1);
    std::vector<FileProblem> problems;
    const DefinitionsRead read = ParseDefinitions(text, "superficies.toml");
    problems = read.problems;
    const std::vector<SurfaceKind> added = AddDefinitions(Surfaces(), read, "superficies.toml", problems);
    std::string json = "{\"added\":" + std::to_string(added.size()) + ",\"problems\":[";
    for (std::size_t i = 0; i < problems.size(); ++i)
        json += (i ? ",\"" : "\"") + Escaped(problems[i].Spanish()) + "\"";
    return Answer(json + "]}");
}

// One definition as the TOML text of a [[surface]] entry with the given id.
EMSCRIPTEN_KEEPALIVE const char* vx_definition_text(const char* id, const char* fields)
{
    SurfaceDefinition definition = DefinitionOf(fields);
    definition.id = id;
    return Answer(DefinitionsText({definition}));
}

// "Guardar animación…": a full turn about the picture's vertical from the shown frame, in frames
// frames begun here, added one at a time by vx_turn_frame, and closed by vx_turn_finish.
EMSCRIPTEN_KEEPALIVE int vx_turn_begin()
{
    Page& page = ThePage();
    auto turn = std::make_unique<Page::Turn>();
    // The record of the shown frame: its camera, whatever the view did since.
    turn->first = page.view;
    turn->first.eye = page.camera.eye;
    turn->first.planePoint = page.camera.planePoint;
    turn->first.normal = page.camera.normal;
    turn->first.right = page.camera.right;
    turn->first.up = page.camera.up;
    turn->first.zoom = page.camera.zoom;
    turn->stream = open_memstream(&turn->data, &turn->size);
    if (!turn->stream)
        return 0;
    turn->gif = std::make_unique<GifEncoder>(turn->stream, kGifFpsDefault);
    page.turn = std::move(turn);
    return 1;
}

EMSCRIPTEN_KEEPALIVE int vx_turn_frame(int k, int frames)
{
    Page& page = ThePage();
    if (!page.turn || !page.turn->ok)
        return 0;
    Page::Turn& turn = *page.turn;
    turn.frame.Draw(TurnFrameCamera(turn.first, page.Shown(), k, frames), page.Shown(), page.style);
    turn.ok = turn.gif->AddFrame(turn.frame.Picture());
    return turn.ok ? 1 : 0;
}

// The animation's bytes (count from vx_bytes_size), or null when it failed or was abandoned
// (cancel: keep = 0).
EMSCRIPTEN_KEEPALIVE const unsigned char* vx_turn_finish(int keep)
{
    Page& page = ThePage();
    page.bytes.clear();
    if (!page.turn)
        return nullptr;
    Page::Turn& turn = *page.turn;
    const bool ok = turn.ok && turn.gif->Finish();
    turn.gif.reset();
    const bool closed = std::fclose(turn.stream) == 0;
    if (keep && ok && closed)
        page.bytes.assign(turn.data, turn.data + turn.size);
    std::free(turn.data);
    page.turn.reset();
    return page.bytes.empty() ? nullptr : page.bytes.data();
}

}  // extern "C"
