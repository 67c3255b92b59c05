// vexilon-render: one frame of one surface, from the view of a fresh choice and the changes given.
#include "app/render_cli.h"

#include <cctype>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "geometry/view_changes.h"
#include "render/file_output.h"
#include "render/frame.h"
#include "render/raster_canvas.h"
#include "render/recording_canvas.h"
#include "render/svg_canvas.h"
#include "surfaces/surface_kind.h"

namespace {

constexpr std::string_view kProgram = "vexilon-render";
constexpr int kMaxFrames = 1000000;
constexpr std::string_view kVersion = "2.0";

constexpr std::string_view kUsage =
    "Usage: vexilon-render -s SURFACE [VIEW CHANGES...] [-o FILE] [--format png|svg|trace]\n"
    "       vexilon-render --list | --help | --version\n"
    "\n"
    "Renders one frame of a surface as the viewer shows it right after the surface is chosen,\n"
    "then after each view change, in the order given.\n"
    "\n"
    "  -s, --surface S     1..8 or moebius, silla, esfera, seno, toro, pseudoesfera,\n"
    "                      caracol, leonardo (any case)\n"
    "      --zoom Z        set the zoom, 0 to 100 (the view starts at 50)\n"
    "      --distance D    put the eye at distance D, 20 to 300, on its current direction\n"
    "      --orbit TX,TY   one drag step: the cursor moved TX pixels right and TY down (repeatable)\n"
    "      --eye X,Y,Z     put the eye at X,Y,Z (not at the target, the origin)\n"
    "  -o, --output FILE   where to write; '-' is standard output\n"
    "      --format F      png, svg or trace; by default from the extension of FILE\n"
    "                      (.png, .svg, .trace or .txt); a trace without -o goes to standard output\n"
    "      --frames N      render N frames to NAME-0001.EXT ... from -o NAME.EXT: the first is the\n"
    "                      view the options give, each next one applies the --orbit steps again\n"
    "      --list          list the surfaces: number, name, caption\n"
    "  -h, --help          show this help\n"
    "      --version       show the version\n"
    "\n"
    "A trace has one line per drawing call of the surface, in order: 'M col row' for a move,\n"
    "'L col row' for a line-to, in pixels of the 500 x 500 square (origin top-left).\n"
    "Exit status: 0 done, 1 the output could not be written, 2 bad usage.\n";

enum class Format { Png, Svg, Trace };

struct ViewChange {
    enum class Kind { Zoom, Distance, Orbit, Eye } kind;
    double a = 0.0, b = 0.0, c = 0.0;
};

struct Request {
    SurfaceKind surface = kSurfaceNone;
    std::vector<ViewChange> changes;
    std::optional<std::string> output;
    std::optional<Format> format;
    int frames = 0;   // 0: one frame to the output itself; N: N numbered files
};

// A usage error: the message has already been printed.
struct UsageError {};

class Parser {
public:
    Parser(int argc, const char* const* argv, std::FILE* err) : m_argc(argc), m_argv(argv), m_err(err) {}

    [[noreturn]] void Fail(const std::string& message)
    {
        std::fprintf(m_err, "%s: %s\n", kProgram.data(), message.c_str());
        throw UsageError{};
    }

    static std::string Quote(std::string_view text) { return "'" + std::string(text) + "'"; }

    double Number(std::string_view option, std::string_view text, double low, double high, std::string_view accepted)
    {
        const std::optional<double> value = ParseDouble(text);
        if (!value)
            Fail(std::string(option) + ": " + Quote(text) + " is not a number; accepted: " + std::string(accepted));
        if (*value < low || *value > high)
            Fail(std::string(option) + ": " + Quote(text) + " is out of range; accepted: " + std::string(accepted));
        return *value;
    }

    static std::optional<double> ParseDouble(std::string_view text)
    {
        if (!text.empty() && text.front() == '+')
            text.remove_prefix(1);
        double value = 0.0;
        const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (text.empty() || ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
            return std::nullopt;
        return value;
    }

    static std::optional<int> ParseInt(std::string_view text)
    {
        if (!text.empty() && text.front() == '+')
            text.remove_prefix(1);
        int value = 0;
        const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (text.empty() || ec != std::errc() || end != text.data() + text.size())
            return std::nullopt;
        return value;
    }

    static std::vector<std::string_view> SplitCommas(std::string_view text)
    {
        std::vector<std::string_view> parts;
        size_t start = 0;
        for (;;) {
            const size_t comma = text.find(',', start);
            parts.push_back(text.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start));
            if (comma == std::string_view::npos)
                return parts;
            start = comma + 1;
        }
    }

    static std::optional<SurfaceKind> ParseSurface(std::string_view text)
    {
        if (const std::optional<int> number = ParseInt(text); number && IsDrawableSurface(*number) && text[0] != '+')
            return *number;
        for (const SurfaceInfo& info : kSurfaces) {
            if (info.name.size() != text.size())
                continue;
            bool same = true;
            for (size_t i = 0; i < text.size() && same; ++i)
                same = std::tolower(static_cast<unsigned char>(text[i])) == info.name[i];
            if (same)
                return info.kind;
        }
        return std::nullopt;
    }

    static std::optional<Format> ParseFormat(std::string_view text)
    {
        if (text == "png")
            return Format::Png;
        if (text == "svg")
            return Format::Svg;
        if (text == "trace")
            return Format::Trace;
        return std::nullopt;
    }

    // Parses the arguments into request; returns an action other than rendering when one was asked.
    enum class Action { Render, Help, Version, List };
    Action Parse(Request& request)
    {
        bool surfaceGiven = false;
        for (int i = 1; i < m_argc; ++i) {
            std::string_view arg = m_argv[i];
            std::optional<std::string_view> inlineValue;
            if (arg.size() > 2 && arg.substr(0, 2) == "--") {
                if (const size_t eq = arg.find('='); eq != std::string_view::npos) {
                    inlineValue = arg.substr(eq + 1);
                    arg = arg.substr(0, eq);
                }
            } else if (arg.size() > 2 && arg[0] == '-' && (arg[1] == 's' || arg[1] == 'o')) {
                inlineValue = arg.substr(2);
                arg = arg.substr(0, 2);
            }
            auto value = [&]() -> std::string_view {
                if (inlineValue)
                    return *inlineValue;
                if (i + 1 >= m_argc)
                    Fail(std::string(arg) + " needs a value; see --help");
                return m_argv[++i];
            };
            auto noValue = [&] {
                if (inlineValue)
                    Fail(std::string(arg) + " takes no value; see --help");
            };
            if (arg == "-h" || arg == "--help") {
                noValue();
                return Action::Help;
            }
            if (arg == "--version") {
                noValue();
                return Action::Version;
            }
            if (arg == "--list") {
                noValue();
                return Action::List;
            }
            if (arg == "-s" || arg == "--surface") {
                const std::string_view text = value();
                const std::optional<SurfaceKind> kind = ParseSurface(text);
                if (!kind)
                    Fail("unknown surface " + Quote(text) +
                         "; accepted: 1 to 8, or moebius, silla, esfera, seno, toro, pseudoesfera, caracol, leonardo");
                request.surface = *kind;
                surfaceGiven = true;
            } else if (arg == "--zoom") {
                request.changes.push_back(
                    {ViewChange::Kind::Zoom, Number(arg, value(), kZoomMin, kZoomMax, "a number from 0 to 100")});
            } else if (arg == "--distance") {
                request.changes.push_back({ViewChange::Kind::Distance,
                                           Number(arg, value(), kDistanceMin, kDistanceMax, "a number from 20 to 300")});
            } else if (arg == "--orbit") {
                const std::string_view text = value();
                const auto parts = SplitCommas(text);
                std::optional<int> tx, ty;
                if (parts.size() == 2) {
                    tx = ParseInt(parts[0]);
                    ty = ParseInt(parts[1]);
                }
                if (!tx || !ty)
                    Fail("--orbit: " + Quote(text) + " is not a pair of whole numbers; accepted: TX,TY, e.g. 100,0");
                request.changes.push_back({ViewChange::Kind::Orbit, double(*tx), double(*ty)});
            } else if (arg == "--eye") {
                const std::string_view text = value();
                const auto parts = SplitCommas(text);
                std::optional<double> x, y, z;
                if (parts.size() == 3) {
                    x = ParseDouble(parts[0]);
                    y = ParseDouble(parts[1]);
                    z = ParseDouble(parts[2]);
                }
                if (!x || !y || !z)
                    Fail("--eye: " + Quote(text) + " is not three numbers; accepted: X,Y,Z, e.g. 100,100,100");
                if (*x == 0.0 && *y == 0.0 && *z == 0.0)
                    Fail("--eye: " + Quote(text) + " is the target; accepted: any other point");
                if (!std::isfinite(VecLength({*x, *y, *z})))
                    Fail("--eye: " + Quote(text) + " is too far away; accepted: a point at a finite distance");
                request.changes.push_back({ViewChange::Kind::Eye, *x, *y, *z});
            } else if (arg == "-o" || arg == "--output") {
                const std::string_view text = value();
                if (text.empty())
                    Fail("--output: the file name is empty; accepted: a file name, or - for standard output");
                request.output = std::string(text);
            } else if (arg == "--frames") {
                const std::string_view text = value();
                const std::optional<int> n = ParseInt(text);
                if (!n || *n < 1 || *n > kMaxFrames)
                    Fail("--frames: " + Quote(text) + " is not a whole number from 1 to 1000000");
                request.frames = *n;
            } else if (arg == "--format") {
                const std::string_view text = value();
                request.format = ParseFormat(text);
                if (!request.format)
                    Fail("--format: unknown format " + Quote(text) + "; accepted: png, svg, trace");
            } else {
                Fail("unknown option " + Quote(arg) + "; see --help");
            }
        }
        if (!surfaceGiven)
            Fail("no surface given; accepted: -s 1 to 8, or -s with a name from --list");
        if (!request.format) {
            if (!request.output || *request.output == "-")
                Fail("no output given; accepted: -o FILE.png, -o FILE.svg, or --format trace");
            const std::string& name = *request.output;
            const size_t dot = name.find_last_of('.');
            const size_t slash = name.find_last_of('/');
            std::string extension =
                dot == std::string::npos || (slash != std::string::npos && dot < slash) ? "" : name.substr(dot + 1);
            for (char& ch : extension)
                ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
            if (extension == "png")
                request.format = Format::Png;
            else if (extension == "svg")
                request.format = Format::Svg;
            else if (extension == "trace" || extension == "txt")
                request.format = Format::Trace;
            else
                Fail("cannot tell the format of " + Quote(name) +
                     "; accepted: a name ending in .png, .svg, .trace or .txt, or --format png|svg|trace");
        }
        if (*request.format != Format::Trace && (!request.output))
            Fail("no output file given for the picture; accepted: -o FILE, or -o - for standard output");
        if (request.frames > 0 && (!request.output || *request.output == "-"))
            Fail("--frames writes numbered files and needs -o NAME.EXT; accepted: e.g. -o orbit.png");
        return Action::Render;
    }

private:
    int m_argc;
    const char* const* m_argv;
    std::FILE* m_err;
};

// The view after choosing the surface and making each change, with one camera update per frame
// in between, as the window updates the camera at the start of every frame it draws.
ViewState ViewAfter(const Request& request)
{
    ViewState view;
    ResetViewState(view);
    view.surface = request.surface;
    for (const ViewChange& change : request.changes) {
        UpdateCameraBasis(view);   // the frame drawn before this change
        switch (change.kind) {
        case ViewChange::Kind::Zoom: SetZoom(view, change.a); break;
        case ViewChange::Kind::Distance: SetEyeDistance(view, change.a); break;
        case ViewChange::Kind::Orbit:
            OrbitEye(view, {0, 0}, {static_cast<int>(change.a), static_cast<int>(change.b)});
            break;
        case ViewChange::Kind::Eye: view.eye = {change.a, change.b, change.c}; break;
        }
    }
    return view;
}

bool WriteBytes(std::FILE* file, const std::string& bytes)
{
    return std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
}

// Draws one frame in the request's format, ready to be written.
class FrameWriter {
public:
    explicit FrameWriter(Format format) : m_format(format) {}

    void Draw(ViewState& view)
    {
        switch (m_format) {
        case Format::Png: DrawFrame(view, m_picture); break;
        case Format::Svg: {
            SvgCanvas svg;
            DrawFrame(view, svg);
            m_text = svg.Document();
            break;
        }
        case Format::Trace: {
            m_recording.calls.clear();
            DrawFrame(view, m_recording);
            m_text = FormatTrace(m_recording.calls);
            break;
        }
        }
    }

    bool Write(std::FILE* file) const
    {
        return m_format == Format::Png ? WritePng(file, m_picture) : WriteBytes(file, m_text);
    }

private:
    Format m_format;
    IndexedCanvas m_picture;   // palette indices: a quarter of the memory of the window's picture
    RecordingCanvas m_recording;
    std::string m_text;
};

// NAME.EXT with the frame number before the extension: orbit.png gives orbit-0001.png.
std::string NumberedName(const std::string& name, int number, int digits)
{
    const size_t slash = name.find_last_of('/');
    size_t dot = name.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash) || dot == slash + 1)
        dot = name.size();
    std::string digitsText = std::to_string(number);
    digitsText.insert(0, static_cast<size_t>(std::max(0, digits - static_cast<int>(digitsText.size()))), '0');
    return name.substr(0, dot) + "-" + digitsText + name.substr(dot);
}

int WriteOne(const FrameWriter& writer, const std::string& path, std::FILE* err)
{
    std::string error;
    if (!WriteFileAtomically(path, [&](std::FILE* file) { return writer.Write(file); }, error)) {
        std::fprintf(err, "%s: cannot write '%s': %s\n", kProgram.data(), path.c_str(), error.c_str());
        return 1;
    }
    return 0;
}

// Frames 1..N: each after the previous one, the command line's drag steps made once more, each
// step a frame of its own in the window (so a camera update between steps).
int RenderFrames(const Request& request, std::FILE* err)
{
    std::vector<IntPoint> steps;
    for (const ViewChange& change : request.changes)
        if (change.kind == ViewChange::Kind::Orbit)
            steps.push_back({static_cast<int>(change.a), static_cast<int>(change.b)});
    const int digits = std::max(4, static_cast<int>(std::to_string(request.frames).size()));
    const bool progress = isatty(fileno(err)) != 0;
    FrameWriter writer(*request.format);
    ViewState view = ViewAfter(request);
    for (int frame = 1; frame <= request.frames; ++frame) {
        if (frame > 1) {
            for (size_t i = 0; i < steps.size(); ++i) {
                if (i > 0)
                    UpdateCameraBasis(view);
                OrbitEye(view, {0, 0}, steps[i]);
            }
        }
        writer.Draw(view);
        const std::string path = NumberedName(*request.output, frame, digits);
        if (WriteOne(writer, path, err) != 0) {
            if (frame > 1)
                std::fprintf(err, "%s: frames 1 to %d were written\n", kProgram.data(), frame - 1);
            return 1;
        }
        if (progress && (frame % 25 == 0 || frame == request.frames))
            std::fprintf(err, "\r%s: frame %d of %d%s", kProgram.data(), frame, request.frames,
                         frame == request.frames ? "\n" : "");
    }
    return 0;
}

int Render(const Request& request, std::FILE* out, std::FILE* err)
{
    if (request.frames > 0)
        return RenderFrames(request, err);
    ViewState view = ViewAfter(request);
    FrameWriter writer(*request.format);
    writer.Draw(view);
    if (!request.output || *request.output == "-") {
        errno = 0;
        if (!writer.Write(out) || std::fflush(out) != 0) {
            std::fprintf(err, "%s: cannot write to standard output: %s\n", kProgram.data(),
                         errno ? std::strerror(errno) : "write failed");
            return 1;
        }
        return 0;
    }
    return WriteOne(writer, *request.output, err);
}

}   // namespace

int RunRenderCli(int argc, const char* const* argv, std::FILE* out, std::FILE* err)
{
    Request request;
    Parser parser(argc, argv, err);
    Parser::Action action;
    try {
        action = parser.Parse(request);
    } catch (const UsageError&) {
        return 2;
    }
    switch (action) {
    case Parser::Action::Help: std::fputs(kUsage.data(), out); return std::fflush(out) == 0 ? 0 : 1;
    case Parser::Action::Version: std::fprintf(out, "%s %s\n", kProgram.data(), kVersion.data()); return std::fflush(out) == 0 ? 0 : 1;
    case Parser::Action::List:
        for (const SurfaceInfo& info : kSurfaces)
            std::fprintf(out, "%d\t%s\t%s\n", info.kind, info.name.data(), info.caption.data());
        return std::fflush(out) == 0 ? 0 : 1;
    case Parser::Action::Render: break;
    }
    return Render(request, out, err);
}
