// The checks of vexilon-render's options against each other, made once every option is read.
#include "app/cli_parsing.h"

#include <algorithm>

#include "app/cli_scene.h"
#include "app/cli_values.h"
#include "app/translation.h"
#include "render/theme.h"
#include "session/style_rules.h"
#include "surfaces/gallery.h"

namespace {

// --turn and --fps against each other, --frames and the format.
void CheckMotion(Parsing& p)
{
    const RenderRequest& request = p.request;
    if (request.motion.turn > 0 && request.frames > 0)
        p.Fail(Tr("--turn and --frames both say how frames follow each other; accepted: one of them"));
    const bool animated = request.motion.turn > 0 || request.frames > 0;
    if (request.motion.fps > 0 && (!animated || request.format != OutputFormat::Gif))
        p.Fail(Tr("--fps sets the rate of an animated GIF; accepted: with --turn N or --frames N and -o NAME.gif"));
    if (request.motion.axisGiven && request.motion.turn == 0)
        p.Fail(Tr("--turn-axis chooses the axis of a turn; accepted: with --turn N"));
    if (request.own.sweep && !animated)
        p.Fail(Tr("--sweep needs frames to sweep over; accepted: with --frames N or --turn N"));
    if (request.label && !request.own.sweep)
        p.Fail(Tr("--label names a sweep's value in each frame; accepted: with --sweep"));
    if (request.motion.turn > 0 && request.format != OutputFormat::Gif && (!request.output || *request.output == "-"))
        p.Fail(Tr("--turn writes numbered files and needs -o NAME.EXT; accepted: e.g. -o turn.png, or -o turn.gif"));
}

// The figure's options against the format, and the theme's width of lines unless one was given.
void CheckFigure(Parsing& p)
{
    FrameStyle& style = p.request.style;
    if (!p.lineWidthGiven)
        style = WithTheme(style, style.theme);
    const OutputFormat format = p.request.format;
    if (style.printedWidthCm != kPrintedWidthCm && format != OutputFormat::Svg && format != OutputFormat::Pdf &&
        format != OutputFormat::Eps && format != OutputFormat::Tikz)
        p.Fail(Tr("--width sets the printed width of a vector figure; accepted: -o NAME.svg, .pdf, .eps or .tikz"));
    const TraceConflict conflict = TraceConflictOf(style);
    if (p.request.format == OutputFormat::Trace && conflict == TraceConflict::Section)
        p.Fail(Tr("--section draws on a picture or a document, not on a trace; accepted: -o NAME.png, .svg, .pdf, "
                  ".eps, .tikz or .gif"));
    if (p.request.format == OutputFormat::Trace && conflict != TraceConflict::None)
        p.Fail(Tr("a trace lists the drawing calls of the 500-pixel frame; accepted: --size, --theme, --background, "
                  "--color, --hidden=dashed, --axes and --title with a picture or a document"));
}

}   // namespace

void CheckRequest(Parsing& p)
{
    RenderRequest& request = p.request;
    std::string ownError;
    FrameStyle sized;
    sized.size = request.style.size;
    if (request.scene) {
        if (p.surfaceGiven || request.own.pendingSurface || !request.own.typedOptions.empty() ||
            !request.own.defineFiles.empty() || !request.own.params.empty() || request.own.fit || request.own.sweep ||
            !request.changes.empty() || p.lineWidthGiven || !(sized == request.style))
            p.Fail(Tr("--scene gives the surface, its parameters, the view and the options; accepted with it: "
                      "--size, -o, --format, --turn, --frames and --fps"));
        if (!ResolveScene(p.surfaces, request, ownError))
            p.Fail(ownError);
        p.lineWidthGiven = true;
    }
    if (!ResolveOwnSurfaces(p.surfaces, request.own, request.surface, p.surfaceGiven, ownError))
        p.Fail(ownError);
    p.surfaceGiven = request.surface != kSurfaceNone;
    if (!p.surfaceGiven)
        p.Fail(TrFormat("no surface given; accepted: -s 1 to %1, or -s with a name from --list",
                        {std::to_string(LoadGallery(p.surfaces).last)}));
    if (!p.format) {
        if (!request.output || *request.output == "-")
            p.Fail(Tr("no output given; accepted: -o FILE.png, -o FILE.svg, -o FILE.gif, or --format trace"));
        p.format = FormatOfFileName(*request.output);
        if (!p.format)
            p.Fail(TrFormat("cannot tell the format of %1; accepted: a name ending in %2, or --format %3",
                            {Quote(*request.output), ExtensionsSentence(), FormatNames("|")}));
    }
    request.format = *p.format;
    CheckFigure(p);
    if (request.style.swapEyes && !request.style.anaglyph)
        p.Fail(Tr("--swap-eyes exchanges the eyes of --anaglyph; accepted: --anaglyph --swap-eyes"));
    if (request.format != OutputFormat::Trace && !request.output)
        p.Fail(Tr("no output file given for the picture; accepted: -o FILE, or -o - for standard output"));
    CheckMotion(p);
    // A numbered figure is one for a page: its surface framed, as --zoom auto, unless a zoom is given.
    const auto zoomGiven = [](const ViewChange& c) { return c.kind == ViewChange::Kind::Zoom || c.kind == ViewChange::Kind::ZoomAuto; };
    if (request.style.ticks && !request.scene && std::none_of(request.changes.begin(), request.changes.end(), zoomGiven))
        request.changes.push_back({ViewChange::Kind::ZoomAuto});
    if (request.frames > 0 && request.format != OutputFormat::Gif && (!request.output || *request.output == "-"))
        p.Fail(Tr("--frames writes numbered files and needs -o NAME.EXT; accepted: e.g. -o orbit.png, or -o orbit.gif"));
}
