// Drawing a figure with cairo.
#include "export/figure_cairo.h"

#include <cairo-pdf.h>
#include <cairo-ps.h>
#include <cairo.h>

#include <cmath>
#include <memory>
#include <vector>

#include "render/title_text.h"

namespace {

constexpr char kFontFace[] = "DejaVu Sans";
constexpr double kPointsPerCm = 72.0 / 2.54;

cairo_status_t WriteToFile(void* closure, const unsigned char* data, unsigned int length)
{
    return std::fwrite(data, 1, length, static_cast<std::FILE*>(closure)) == length ? CAIRO_STATUS_SUCCESS
                                                                                    : CAIRO_STATUS_WRITE_ERROR;
}

void SetColour(cairo_t* cr, Rgb c)
{
    cairo_set_source_rgb(cr, c.r / 255.0, c.g / 255.0, c.b / 255.0);
}

// The font set for a capital letter of this height: a sans face's capitals are 0.72 of its size.
void SetFont(cairo_t* cr, double capitalHeight)
{
    cairo_select_font_face(cr, kFontFace, CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, capitalHeight / 0.72);
}

// Moves to where text starts so that its box is centred on at.
void MoveToCentred(cairo_t* cr, const FigureText& text, double x, double y)
{
    cairo_text_extents_t box;
    cairo_text_extents(cr, text.text.c_str(), &box);
    cairo_move_to(cr, x - box.x_advance / 2.0, y + text.height / 2.0);
}

// Runs of a title with mathematics, their box centred on (x, y) as MoveToCentred centres one string.
void ShowRuns(cairo_t* cr, const FigureText& text, double x, double y)
{
    const std::vector<TextRun> runs = TextRuns(text.text);
    auto setFace = [&](const TextRun& run) {
        cairo_select_font_face(cr, kFontFace, run.italic ? CAIRO_FONT_SLANT_ITALIC : CAIRO_FONT_SLANT_NORMAL,
                               CAIRO_FONT_WEIGHT_NORMAL);
        cairo_set_font_size(cr, text.height * (run.level != 0 ? kScriptScale : 1.0) / 0.72);
    };
    cairo_text_extents_t box;
    double width = 0.0;
    for (const TextRun& run : runs) {
        setFace(run);
        cairo_text_extents(cr, run.text.c_str(), &box);
        width += box.x_advance;
    }
    double pen = x - width / 2.0;
    for (const TextRun& run : runs) {
        setFace(run);
        const double shift = run.level > 0 ? -kSuperscriptRise : run.level < 0 ? kSubscriptDrop : 0.0;
        cairo_move_to(cr, pen, y + text.height / 2.0 + shift * text.height);
        cairo_show_text(cr, run.text.c_str());
        cairo_text_extents(cr, run.text.c_str(), &box);
        pen += box.x_advance;
    }
}

// One text centred on (x, y): a plain one as one string, as ever.
void ShowText(cairo_t* cr, const FigureText& text, double x, double y)
{
    if (HasMath(text.text)) {
        ShowRuns(cr, text, x, y);
        return;
    }
    SetFont(cr, text.height);
    MoveToCentred(cr, text, x, y);
    cairo_show_text(cr, text.text.c_str());
}

void DrawVector(cairo_t* cr, const Figure& f, bool blends)
{
    SetColour(cr, f.background);
    cairo_rectangle(cr, 0, 0, f.width, f.height);
    cairo_fill(cr);
    if (f.hasOutline) {
        SetColour(cr, f.outline);
        cairo_set_line_width(cr, 1.0);
        cairo_rectangle(cr, 0.5, f.top + 0.5, f.side - 1, f.side - 1);
        cairo_stroke(cr);
    }
    cairo_set_line_width(cr, VectorLineWidth(f));
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    const double dashes[] = {VectorDashOn(f), VectorDashOff(f)};
    for (const FigureLayer& layer : f.layers) {
        cairo_set_operator(cr, !blends || layer.blend == FigureBlend::Over ? CAIRO_OPERATOR_OVER
                               : layer.blend == FigureBlend::Lighten       ? CAIRO_OPERATOR_LIGHTEN
                                                                           : CAIRO_OPERATOR_DARKEN);
        cairo_set_line_width(cr, f.WidthOf(layer));
        for (const FigurePath& path : layer.paths) {
            SetColour(cr, path.colour);
            cairo_set_dash(cr, dashes, path.dashed ? 2 : 0, 0.0);
            cairo_move_to(cr, path.points[0].x, path.points[0].y);
            for (size_t i = 1; i < path.points.size(); ++i)
                cairo_line_to(cr, path.points[i].x, path.points[i].y);
            cairo_stroke(cr);
        }
    }
    cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
    for (const FigureText& t : f.texts) {
        SetColour(cr, t.colour);
        ShowText(cr, t, t.at.x, t.at.y);
    }
}

using Surface = std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)>;
using Context = std::unique_ptr<cairo_t, decltype(&cairo_destroy)>;

bool WriteDocument(Surface surface, const Figure& f, double pointsPerPixel, bool blends)
{
    {
        Context cr(cairo_create(surface.get()), cairo_destroy);
        cairo_scale(cr.get(), pointsPerPixel, pointsPerPixel);
        DrawVector(cr.get(), f, blends);
        if (cairo_status(cr.get()) != CAIRO_STATUS_SUCCESS)
            return false;
    }
    cairo_surface_finish(surface.get());
    return cairo_surface_status(surface.get()) == CAIRO_STATUS_SUCCESS;
}

double PointsPerPixel(const Figure& f)
{
    return f.printedWidthCm * kPointsPerCm / f.side;
}

}   // namespace

bool WriteFigurePdf(std::FILE* file, const Figure& f)
{
    const double scale = PointsPerPixel(f);
    Surface surface(cairo_pdf_surface_create_for_stream(WriteToFile, file, f.width * scale, f.height * scale),
                    cairo_surface_destroy);
    cairo_pdf_surface_set_metadata(surface.get(), CAIRO_PDF_METADATA_CREATOR, "vexilon-render");
    return WriteDocument(std::move(surface), f, scale, true);
}

bool WriteFigureEps(std::FILE* file, const Figure& f)
{
    const double scale = PointsPerPixel(f);
    Surface surface(cairo_ps_surface_create_for_stream(WriteToFile, file, f.width * scale, f.height * scale),
                    cairo_surface_destroy);
    cairo_ps_surface_set_eps(surface.get(), 1);
    return WriteDocument(std::move(surface), f, scale, false);
}

void DrawFigureTexts(const Figure& f, FigurePicture& picture)
{
    for (const FigureText& t : f.texts) {
        if (t.label)
            continue;   // in strokes, the same in every build (DrawFigureLabels)
        // Each text on a small coverage mask of its own box, then the covered pixels in its colour.
        const int w = static_cast<int>(std::ceil(t.height * (1.5 + t.text.size()))) + 4;
        const int h = static_cast<int>(std::ceil(t.height * 3.0)) + 4;
        Surface mask(cairo_image_surface_create(CAIRO_FORMAT_A8, w, h), cairo_surface_destroy);
        Context cr(cairo_create(mask.get()), cairo_destroy);
        cairo_set_antialias(cr.get(), CAIRO_ANTIALIAS_NONE);
        cairo_font_options_t* options = cairo_font_options_create();
        cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_NONE);
        cairo_set_font_options(cr.get(), options);
        cairo_font_options_destroy(options);
        ShowText(cr.get(), t, w / 2.0, h / 2.0);
        cairo_surface_flush(mask.get());
        if (cairo_status(cr.get()) != CAIRO_STATUS_SUCCESS)
            continue;
        const unsigned char* data = cairo_image_surface_get_data(mask.get());
        const int stride = cairo_image_surface_get_stride(mask.get());
        const int left = static_cast<int>(std::lround(t.at.x - w / 2.0)), top = static_cast<int>(std::lround(t.at.y - h / 2.0));
        const std::uint8_t ink = picture.IndexOf(t.colour);
        for (int r = 0; r < h; ++r)
            for (int c = 0; c < w; ++c) {
                const int col = left + c, row = top + r;
                if (data[r * stride + c] >= 128 && col >= 0 && row >= 0 && col < picture.width && row < picture.height)
                    picture.indices[static_cast<std::size_t>(row) * picture.width + col] = ink;
            }
    }
}
