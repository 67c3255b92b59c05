// Saving the shown frame and the animations of it: the files the command line writes for the view.
#include <algorithm>
#include <utility>

#include "export/animation.h"
#include "export/figure_work.h"
#include "export/file_writer.h"
#include "export/frame_encoder.h"
#include "export/gif_encoder.h"
#include "render/figure_title.h"
#include "render/turntable.h"
#include "session/image_names.h"
#include "session/view_session.h"

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
