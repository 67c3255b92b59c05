// Views after the request's changes, frames drawn from their cameras, and files written.
#include "app/render_job.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "export/frame_encoder.h"
#include "geometry/view_changes.h"
#include "render/frame.h"

namespace {

constexpr char kProgram[] = "vexilon-render";

// The view after choosing the surface and making each change, with the camera step of a frame
// in between, as the window makes a frame after every change.
ViewState ViewAfter(const RenderRequest& request, const Wireframe& wire)
{
    ViewState view;
    ResetViewState(view);
    view.surface = request.surface;
    for (const ViewChange& change : request.changes) {
        BeginFrame(view, wire);   // the frame drawn before this change
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

int WriteOne(const FrameEncoder& frame, const std::string& path, std::FILE* err)
{
    std::string error;
    if (!WriteFrameFile(path, frame, error)) {
        std::fprintf(err, "%s: cannot write '%s': %s\n", kProgram, path.c_str(), error.c_str());
        return 1;
    }
    return 0;
}

// Frames 1..N: each after the previous one, the command line's drag steps made once more, each
// step a frame of its own in the window (so a camera step between steps).
int RenderFrames(const RenderRequest& request, const Wireframe& wire, std::FILE* err)
{
    std::vector<IntPoint> steps;
    for (const ViewChange& change : request.changes)
        if (change.kind == ViewChange::Kind::Orbit)
            steps.push_back({static_cast<int>(change.a), static_cast<int>(change.b)});
    const int digits = std::max(4, static_cast<int>(std::to_string(request.frames).size()));
    const bool progress = isatty(fileno(err)) != 0;
    FrameEncoder encoder(request.format);
    ViewState view = ViewAfter(request, wire);
    for (int frame = 1; frame <= request.frames; ++frame) {
        if (frame > 1) {
            for (size_t i = 0; i < steps.size(); ++i) {
                if (i > 0)
                    BeginFrame(view, wire);
                OrbitEye(view, {0, 0}, steps[i]);
            }
        }
        encoder.Draw(BeginFrame(view, wire), wire, request.style);
        const std::string path = NumberedFileName(*request.output, frame, digits);
        if (WriteOne(encoder, path, err) != 0) {
            if (frame > 1)
                std::fprintf(err, "%s: frames 1 to %d were written\n", kProgram, frame - 1);
            return 1;
        }
        if (progress && (frame % 25 == 0 || frame == request.frames))
            std::fprintf(err, "\r%s: frame %d of %d%s", kProgram, frame, request.frames,
                         frame == request.frames ? "\n" : "");
    }
    return 0;
}

}   // namespace

int RunRenderJob(const RenderRequest& request, std::FILE* out, std::FILE* err)
{
    const Wireframe& wire = Surfaces().WireframeOf(request.surface);
    if (request.frames > 0)
        return RenderFrames(request, wire, err);
    ViewState view = ViewAfter(request, wire);
    FrameEncoder encoder(request.format);
    encoder.Draw(BeginFrame(view, wire), wire, request.style);
    if (!request.output || *request.output == "-") {
        errno = 0;
        if (!encoder.Write(out) || std::fflush(out) != 0) {
            std::fprintf(err, "%s: cannot write to standard output: %s\n", kProgram,
                         errno ? std::strerror(errno) : "write failed");
            return 1;
        }
        return 0;
    }
    return WriteOne(encoder, *request.output, err);
}
