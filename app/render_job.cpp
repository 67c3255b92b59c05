// Views after the request's changes, frames drawn from their cameras, and files written.
#include "app/render_job.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <functional>
#include <string>

#include "app/cli_values.h"
#include "app/frame_sequence.h"
#include "app/translation.h"
#include "export/animation.h"
#include "export/figure_work.h"
#include "export/file_writer.h"
#include "export/frame_encoder.h"
#include "export/gif_encoder.h"
#include "render/figure_title.h"

namespace {

constexpr char kProgram[] = "vexilon-render";

// The writer's reason in the user's language: the C library's already is, its own is not.
const char* WriteReason(const std::string& error)
{
    return error == kNotEncodedReason ? Tr("the data could not be encoded") : error.c_str();
}

// Writes through write to path, or to out for "-"; says why on err when it fails. The exit status.
int WriteOutput(const std::string& path, const std::function<bool(std::FILE*)>& write, std::FILE* out,
                std::FILE* err)
{
    if (path == "-") {
        errno = 0;
        if (!write(out) || std::fflush(out) != 0) {
            if (errno == EPIPE)
                return 1;   // the reader has gone, as with "| head": nothing to tell it
            std::fprintf(err, Tr("%s: cannot write to standard output: %s\n"), kProgram,
                         errno ? std::strerror(errno) : Tr("write failed"));
            return 1;
        }
        return 0;
    }
    std::string error;
    if (!WriteFileAtomically(path, write, error)) {
        std::fprintf(err, Tr("%s: cannot write %s: %s\n"), kProgram, Quote(path).c_str(), WriteReason(error));
        return 1;
    }
    return 0;
}

int WriteOne(const FrameEncoder& frame, const std::string& path, std::FILE* out, std::FILE* err)
{
    return WriteOutput(path, [&](std::FILE* file) { return frame.Write(file); }, out, err);
}

// Progress on a terminal: a line rewritten every 25 frames and at the last.
void ShowProgress(std::FILE* err, int frame, int count)
{
    if ((frame % 25 == 0 || frame == count) && isatty(fileno(err)) != 0)
        std::fprintf(err, "\r"), std::fprintf(err, Tr("%s: frame %d of %d%s"), kProgram, frame, count, frame == count ? "\n" : "");
}

// The wireframe of each frame: the one surface, or with --sweep the definition sampled again at
// frame k's value A(1 - t) + Bt, t = k/(N - 1).
class FrameSurfaces {
public:
    FrameSurfaces(const RenderRequest& request, const Wireframe& wire, int count) : m_request(request), m_wire(wire)
    {
        if (request.own.sweep)
            m_values = SweepValues(request.own.sweep->from, request.own.sweep->to, count);
    }

    // Whether every frame's surface can be drawn, tried before any file is touched; false with the
    // first value that cannot said on err.
    bool AllDrawable(std::FILE* err) const
    {
        for (const double value : m_values) {
            std::string error;
            if (!BuildSweptSurface(*m_request.own.drawn, m_request.own.sweep->name, value, error)) {
                std::fprintf(err, "%s: %s\n", kProgram, error.c_str());
                return false;
            }
        }
        return true;
    }

    // Frame k's label with --label: the sweep's name and value ("t = 0,79"); else none.
    std::string LabelOf(int k) const
    {
        return m_request.label && !m_values.empty() ? SweepLabel(m_request.own.sweep->name, m_values[static_cast<size_t>(k)])
                                                    : std::string();
    }

    // Frame k's wireframe (from 0), valid until the next call; null with the problem said on err.
    const Wireframe* At(int k, std::FILE* err)
    {
        if (m_values.empty())
            return &m_wire;
        std::string error;
        std::optional<Wireframe> wire =
            BuildSweptSurface(*m_request.own.drawn, m_request.own.sweep->name, m_values[static_cast<size_t>(k)], error);
        if (!wire) {
            std::fprintf(err, "%s: %s\n", kProgram, error.c_str());
            return nullptr;
        }
        m_swept = std::move(*wire);
        return &m_swept;
    }

private:
    const RenderRequest& m_request;
    const Wireframe&     m_wire;
    std::vector<double>  m_values;
    Wireframe            m_swept;
};

// Frames 1..N of the sequence, each to a numbered file.
int RenderFrames(const RenderRequest& request, const Wireframe& wire, std::FILE* err)
{
    FrameSequence frames(request, wire);
    FrameSurfaces surfaces(request, wire, frames.Count());
    const int digits = std::max(4, static_cast<int>(std::to_string(frames.Count()).size()));
    FrameEncoder encoder(request.format);
    for (int frame = 1; frame <= frames.Count(); ++frame) {
        const Wireframe* drawn = surfaces.At(frame - 1, err);
        if (!drawn) {
            if (frame > 1)
                std::fprintf(err, Tr("%s: frames 1 to %d were written\n"), kProgram, frame - 1);
            return 1;
        }
        FrameStyle style = request.style;
        style.label = surfaces.LabelOf(frame - 1);
        encoder.Draw(frames.Next(), *drawn, style);
        const std::string path = NumberedFileName(*request.output, frame, digits);
        if (WriteOne(encoder, path, nullptr, err) != 0) {
            if (frame > 1)
                std::fprintf(err, Tr("%s: frames 1 to %d were written\n"), kProgram, frame - 1);
            return 1;
        }
        ShowProgress(err, frame, frames.Count());
    }
    return 0;
}

// Frames 1..N of the sequence as one animated GIF, drawn and encoded one at a time.
int RenderAnimation(const RenderRequest& request, const Wireframe& wire, std::FILE* out, std::FILE* err)
{
    auto encode = [&](std::FILE* file) {
        FrameSequence frames(request, wire);
        FrameSurfaces surfaces(request, wire, frames.Count());
        const int fps = request.motion.fps > 0 ? request.motion.fps : kGifFpsDefault;
        return EncodeAnimation(file, fps, frames.Count(), [&](int) { return frames.Next(); },
                               [&](int k) { return surfaces.At(k, err); }, request.style, [&](int done) {
                                   if (done > 0)
                                       ShowProgress(err, done, frames.Count());
                                   return true;
                               }, [&](int k) { return surfaces.LabelOf(k); });
    };
    return WriteOutput(*request.output, encode, out, err);
}

// A name that ends in a folder ("d/", "d/.") is refused before anything is drawn, numbered or not,
// rather than writing "d/-0001.png": one message for both, naming a file that would do.
bool EndsInAFile(const SurfaceRegistry& surfaces, const RenderRequest& request, std::FILE* err)
{
    const std::string& name = *request.output;
    const std::string_view file = FilePartOf(name);
    if (!file.empty() && file != "." && file != "..")
        return true;
    const std::string example = name.substr(0, name.size() - file.size()) +
                                surfaces.Find(request.surface)->id + std::string(InfoOf(request.format).extension);
    std::fprintf(err, Tr("%s: cannot write %s: the name ends in a folder; accepted: a file name after the last /, e.g. %s\n"),
                 kProgram, Quote(name).c_str(), Quote(example).c_str());
    return false;
}

}   // namespace

int RunRenderJob(const SurfaceRegistry& surfaces, const RenderRequest& request, std::FILE* out, std::FILE* err)
{
    std::optional<Wireframe> own;   // the surface with --param or --fit, or a sweep's first value
    if (request.own.drawn) {
        std::string error;
        const ParameterSweep* sweep = request.own.sweep ? &*request.own.sweep : nullptr;
        own = sweep ? BuildSweptSurface(*request.own.drawn, sweep->name, sweep->from, error)
                    : BuildSweptSurface(*request.own.drawn, "", 0.0, error);
        if (!own) {
            std::fprintf(err, "%s: %s\n", kProgram, error.c_str());
            return 2;
        }
    }
    const Wireframe& wire = own ? *own : request.sceneWire ? *request.sceneWire : surfaces.WireframeOf(request.surface);
    if (request.output && *request.output != "-" && !EndsInAFile(surfaces, request, err))
        return 1;
    if (!WithinFigureWork(wire, request.style, request.format)) {   // a sweep's frames have as many segments
        std::fprintf(err, Tr("%s: the picture is too heavy for a vector file: %lld pieces of lines; accepted: at most %lld "
                             "(fewer lines or samples, one eye, no dashes, thinner lines, or PNG)\n"),
                     kProgram, VectorPieces(wire, request.style, request.format), kMaxVectorPieces);
        return 2;
    }
    const bool animated = request.frames > 0 || request.motion.turn > 0;
    if (animated && request.own.sweep && !FrameSurfaces(request, wire, FrameSequence(request, wire).Count()).AllDrawable(err))
        return 2;
    if (animated && request.format == OutputFormat::Gif)
        return RenderAnimation(request, wire, out, err);
    if (animated)
        return RenderFrames(request, wire, err);
    FrameEncoder encoder(request.format);
    encoder.Draw(FrameSequence(request, wire).Next(), wire, request.style);
    return WriteOne(encoder, request.output.value_or("-"), out, err);
}
