// The frames of an animation drawn and encoded one at a time.
#include "export/animation.h"

#include "export/frame_encoder.h"
#include "export/gif_encoder.h"

bool EncodeAnimation(std::FILE* file, int fps, int count, const std::function<Camera(int k)>& cameraOf,
                     const Wireframe& wire, const FrameStyle& style, const std::function<bool(int done)>& progress)
{
    return EncodeAnimation(file, fps, count, cameraOf, [&wire](int) { return &wire; }, style, progress);
}

bool EncodeAnimation(std::FILE* file, int fps, int count, const std::function<Camera(int k)>& cameraOf,
                     const std::function<const Wireframe*(int k)>& wireOf, const FrameStyle& style,
                     const std::function<bool(int done)>& progress)
{
    FrameEncoder frame(OutputFormat::Gif);
    GifEncoder gif(file, fps);
    for (int k = 0; k < count; ++k) {
        if (!progress(k))
            return false;
        const Camera camera = cameraOf(k);
        const Wireframe* wire = wireOf(k);
        if (!wire)
            return false;
        frame.Draw(camera, *wire, style);
        if (!gif.AddFrame(frame.Picture()))
            return false;
    }
    return progress(count) && gif.Finish();
}
