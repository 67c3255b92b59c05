// The page's picture: the frame style its "Vista" sets, and the shown frame drawn at the square's
// pixels or a screen's own, with the letters of the axes the page draws itself.
#include <emscripten/emscripten.h>

#include <cstdint>
#include <string>
#include <utility>

#include "export/output_format.h"
#include "render/figure_picture.h"
#include "render/hex_text.h"
#include "render/theme.h"
#include "session/style_rules.h"
#include "web/page_json.h"
#include "web/page_state.h"

extern "C" {

// theme: an index of vx_themes; axes: x, y and z drawn through the surface's origin.
EMSCRIPTEN_KEEPALIVE void vx_set_style(int hidden, int depthCue, int anaglyph, int swapEyes, int parallel, int lineWidth,
                                       int theme, int axes, int ticks)
{
    FrameStyle style;
    style.hiddenLines = hidden != 0;
    style.depthCue = depthCue != 0;
    style.anaglyph = anaglyph != 0;
    style.swapEyes = swapEyes != 0;
    style.parallel = parallel != 0;
    style.lineWidth = lineWidth < kLineWidthMin ? kLineWidthMin : lineWidth > kLineWidthMax ? kLineWidthMax : lineWidth;
    if (theme >= 0 && theme < static_cast<int>(Themes().size()))
        style.theme = Themes()[static_cast<std::size_t>(theme)].theme;
    style.axes = axes != 0;
    style.ticks = ticks != 0;
    ThePage().session.SetStyle(style);
}

// The themes in order, as JSON [{"name":"pantalla","caption":"Pantalla","lineWidth":1}, …].
EMSCRIPTEN_KEEPALIVE const char* vx_themes()
{
    JsonArray json;
    for (const ThemeInfo& info : Themes())
        json.Add(JsonObject().Add("name", info.name).Add("caption", info.caption).Add("lineWidth", info.lineWidth));
    return Answer(json.Text());
}

}  // extern "C"

namespace {

// The shown frame drawn side x side pixels 0xAARRGGBB, row after row, or null before the first
// frame. At 500 the window's square; at any other side (a screen of more pixels than the page's)
// the figure at that size, as a saved picture of that size.
const std::uint32_t* DrawnFrame(int side)
{
    Page& page = ThePage();
    if (!page.session.HasFrame())
        return nullptr;
    const Camera& camera = page.session.FrameCamera();
    const Wireframe& wire = page.session.FrameWireframe();
    if (side == kCanvasSide || side < kPictureSizeMin || side > kPictureSizeMax) {
        DrawShownFrame(camera, wire, page.session.Style(), page.picture);
        return page.picture.Bits();
    }
    DrawShownFrame(camera, wire, page.session.Style(), side, page.devicePixels);
    return page.devicePixels.data();
}

}  // namespace

extern "C" {

// The shown frame as vx_draw's words; the caller copies them at once.
EMSCRIPTEN_KEEPALIVE const std::uint32_t* vx_draw(int side) { return DrawnFrame(side); }

// The shown frame as the bytes R, G, B, A of each pixel, as a canvas takes them, so that the page
// hands them over without touching each one; valid until the next call. Null before the first frame.
EMSCRIPTEN_KEEPALIVE const std::uint32_t* vx_draw_rgba(int side)
{
    Page& page = ThePage();
    std::vector<std::uint32_t>& rgba = page.rgbaPixels;
    // A pixel a word: the module's memory is little-endian, so R comes first as the lowest byte.
    const auto word = [](Rgb c) { return 0xff000000u | (std::uint32_t{c.b} << 16) | (std::uint32_t{c.g} << 8) | c.r; };
    if (side != kCanvasSide && side >= kPictureSizeMin && side <= kPictureSizeMax && page.session.HasFrame()) {
        // A screen's figure: its palette's indices straight to a canvas's words, one pass over the
        // pixels (a drag at three device pixels a CSS pixel moves over a million a frame).
        const FigurePicture& figure = ShownFigure(page.session.FrameCamera(), page.session.FrameWireframe(), page.session.Style(), side);
        std::uint32_t palette[256] = {};
        for (std::size_t i = 0; i < figure.palette.size() && i < 256; ++i)
            palette[i] = word(figure.palette[i]);
        rgba.resize(figure.indices.size());
        for (std::size_t i = 0; i < figure.indices.size(); ++i)
            rgba[i] = palette[figure.indices[i]];
        return rgba.data();
    }
    const std::uint32_t* argb = DrawnFrame(side);
    if (!argb)
        return nullptr;
    const std::size_t count = static_cast<std::size_t>(kCanvasSide) * kCanvasSide;
    rgba.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint32_t c = argb[i];
        rgba[i] = 0xff000000u | (c & 0xff00u) | ((c >> 16) & 0xffu) | ((c & 0xffu) << 16);
    }
    return rgba.data();
}

// The name a download of the shown frame takes in the format named (as --format takes it): the
// session's, as the window proposes it ("helicoide-catenoide.pdf"); "" for an unknown format.
EMSCRIPTEN_KEEPALIVE const char* vx_file_name(const char* format)
{
    const std::optional<OutputFormat> known = FormatNamed(format);
    return Answer(known ? ThePage().session.FrameFileName(*known) : std::string());
}

// The texts of the shown frame's figure at side pixels (the axes' letters), which the page's build
// cannot draw into its pictures: [{"x":…,"y":…,"height":…,"text":"x","colour":"#rrggbb"}, …], the
// middle of each text's box and the height of a capital letter in pixels; [] without axes or ticks.
EMSCRIPTEN_KEEPALIVE const char* vx_figure_texts(int side)
{
    Page& page = ThePage();
    FrameStyle style = page.session.Style();
    if (!page.session.HasFrame() || !(style.axes || style.ticks) || side < kPictureSizeMin || side > kPictureSizeMax)
        return Answer("[]");
    style.size = side;
    style.title.clear();
    BuildFigure(page.session.FrameCamera(), page.session.FrameWireframe(), style, page.figure);
    JsonArray json;
    for (const FigureText& text : page.figure.texts)
        json.Add(JsonObject()
                     .Add("x", JsonFixed{text.at.x})
                     .Add("y", JsonFixed{text.at.y})
                     .Add("height", JsonFixed{text.height})
                     .Add("text", text.text)
                     .Add("colour", WebColour(text.colour)));
    return Answer(json.Text());
}

// The line width that choosing theme (an index of the themes' list) brings.
EMSCRIPTEN_KEEPALIVE int vx_themed_line_width(int theme)
{
    if (theme < 0 || theme >= static_cast<int>(Themes().size()))
        return ThePage().session.Style().lineWidth;
    return WithTheme(ThePage().session.Style(), Themes()[static_cast<std::size_t>(theme)].theme).lineWidth;
}

// 1 when the shown style cannot be written as a trace (of the 500-pixel frame), else 0.
EMSCRIPTEN_KEEPALIVE int vx_trace_refused()
{
    FrameStyle style = ThePage().session.Style();
    style.size = kCanvasSide;
    return TraceConflictOf(style) != TraceConflict::None ? 1 : 0;
}

// The session's limits that the page's controls and texts show, as one JSON object: the page
// reads them here, and the site's HTML has them written in from here when it is assembled.
EMSCRIPTEN_KEEPALIVE const char* vx_limits()
{
    const std::pair<const char*, int> limits[] = {
        {"pictureSizeMin", kPictureSizeMin}, {"pictureSizeMax", kPictureSizeMax}, {"lineWidthMin", kLineWidthMin},
        {"lineWidthMax", kLineWidthMax},     {"zoomBarMin", kZoomBarMin},         {"zoomBarMax", kZoomBarMax},
        {"distanceBarMin", kDistanceBarMin}, {"distanceBarMax", kDistanceBarMax}, {"sliderSteps", kSliderSteps},
        {"sectionSteps", kSectionSteps},     {"turnFrames", kTurnFrames},         {"wheelNotch", kWheelNotch},
    };
    JsonObject json;
    for (const auto& [name, value] : limits)
        json.Add(name, value);
    return Answer(json.Text());
}

}  // extern "C"
