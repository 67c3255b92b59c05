// The frames of an animation drawn and encoded one at a time.
#include "export/animation.h"

#include "export/frame_encoder.h"
#include "export/gif_encoder.h"

bool EncodeAnimation(std::FILE* file, int fps, int count, const std::function<Camera(int k)>& cameraOf,
                     const Wireframe& wire, const FrameStyle& style, const std::function<bool(int done)>& progress)
{
    FrameEncoder frame(OutputFormat::Gif);
    GifEncoder gif(file, fps);
    for (int k = 0; k < count; ++k) {
        if (!progress(k))
            return false;
        frame.Draw(cameraOf(k), wire, style);
        if (!gif.AddFrame(frame.Picture()))
            return false;
    }
    return progress(count) && gif.Finish();
}
