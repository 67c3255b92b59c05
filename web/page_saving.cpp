// "Guardar imagen…" off the page's thread: what the shown frame is drawn from, as one text that a
// worker's own core opens, and that core's check that it now draws the very same frame.
#include <emscripten/emscripten.h>

#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <string>

#include "session/scene_session.h"
#include "web/page_json.h"
#include "web/page_state.h"

namespace {

// Numbers written exactly (hexadecimal), so that two texts are equal only for the same bits.
std::string Exact(double value)
{
    char text[40];
    std::snprintf(text, sizeof text, "%a", value);
    return text;
}

std::uint64_t Mixed(std::uint64_t hash, const void* data, std::size_t size)
{
    const auto* bytes = static_cast<const unsigned char*>(data);
    for (std::size_t i = 0; i < size; ++i)
        hash = (hash ^ bytes[i]) * 1099511628211u;   // FNV-1a
    return hash;
}

// The shown surface's points and lines, whose sampling the scene only names.
std::string WireframePrint(const Wireframe& wire)
{
    std::uint64_t hash = 14695981039346656037u;
    hash = Mixed(hash, wire.xs.data(), wire.xs.size() * sizeof(double));
    hash = Mixed(hash, wire.ys.data(), wire.ys.size() * sizeof(double));
    hash = Mixed(hash, wire.zs.data(), wire.zs.size() * sizeof(double));
    hash = Mixed(hash, wire.triangles.data(), wire.triangles.size() * sizeof(std::uint32_t));
    char text[64];
    std::snprintf(text, sizeof text, "%016" PRIx64 ":%zu", hash, wire.ops.size());
    return text;
}

// The scene link (what the worker opens), then "Marcas" and "Corte", which a link leaves out,
// then what the frame is drawn from, to compare: the style, the camera, the surface.
std::string SaveState(const ViewSession& session)
{
    const std::optional<Scene> scene = SceneOf(session);
    if (!scene)
        return {};
    const FrameStyle& s = session.Style();
    const std::string style =
        std::to_string(s.hiddenLines) + std::to_string(s.dashedHidden) + std::to_string(s.depthCue) + std::to_string(s.anaglyph) +
        std::to_string(s.swapEyes) + std::to_string(s.parallel) + std::to_string(s.axes) + std::to_string(s.lineWidth) + " " +
        std::to_string(static_cast<int>(s.theme)) + " " +
        (s.background ? Exact(s.background->r * 65536.0 + s.background->g * 256.0 + s.background->b) : "-") + " " +
        (s.lineColour ? Exact(s.lineColour->r * 65536.0 + s.lineColour->g * 256.0 + s.lineColour->b) : "-") + " " +
        Exact(s.printedWidthCm) + " " + (s.section ? Exact(s.section->value) : "-");
    const Camera& c = session.FrameCamera();
    std::string camera = Exact(c.zoom);
    for (const Vec3& v : {c.eye, c.planePoint, c.normal, c.right, c.up})
        camera += " " + Exact(v.x) + "," + Exact(v.y) + "," + Exact(v.z);
    return JsonObject()
        .Add("scene", EncodeScene(*scene))
        .Add("ticks", s.ticks)
        .Add("sectionAxis", s.section ? static_cast<int>(s.section->axis) : -1)
        .Add("sectionStep", s.section ? session.SectionStep() : 0)
        .Add("style", style)
        .Add("title", s.title)
        .Add("label", s.label)
        .Add("camera", camera)
        .Add("wireframe", WireframePrint(session.FrameWireframe()))
        .Text();
}

}  // namespace

extern "C" {

// The shown frame's state for a save elsewhere; empty without a frame or for a preview.
EMSCRIPTEN_KEEPALIVE const char* vx_save_state() { return Answer(SaveState(ThePage().session)); }

// Opens another page's save state here: 1 when this core now draws the same frame to the bit, 0
// when it cannot (that page then saves on its own).
EMSCRIPTEN_KEEPALIVE int vx_open_save_state(const char* text)
{
    Page& page = ThePage();
    std::string error;
    const std::optional<JsonFields> state = JsonFields::Read(text, error);
    if (!state || !state->Has("scene"))
        return 0;
    const long long axis = state->Whole("sectionAxis").value_or(-1);
    const long long step = state->Whole("sectionStep").value_or(0);
    if (step < std::numeric_limits<int>::min() || step > std::numeric_limits<int>::max())
        return 0;
    FormulaProblem problem;
    const std::optional<Scene> scene = DecodeScene(state->Text("scene"), problem);
    if (!scene || !OpenScene(*scene, page.session, Own(), problem))
        return 0;
    FrameStyle style = page.session.Style();
    style.ticks = state->Flag("ticks");
    page.session.SetStyle(style);
    const SectionAxis axes[] = {SectionAxis::X, SectionAxis::Y, SectionAxis::Z};
    page.session.SetSectionAxis(axis >= 0 && axis < 3 ? std::optional(axes[axis]) : std::nullopt);
    if (SaveState(page.session) == text)
        return 1;     // the plane through the middle, as the axis chosen puts it
    page.session.SetSectionStep(static_cast<int>(step));
    return SaveState(page.session) == text ? 1 : 0;
}

}  // extern "C"
