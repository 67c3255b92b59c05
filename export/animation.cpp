// The frames of an animation drawn and encoded one at a time.
#include "export/animation.h"

#include <utility>

#include "export/frame_encoder.h"
#include "export/gif_encoder.h"

AnimationEncoder::AnimationEncoder(std::FILE* file, int fps, int count, std::function<Camera(int k)> cameraOf,
                                   std::function<const Wireframe*(int k)> wireOf, const FrameStyle& style)
    : m_count(count), m_cameraOf(std::move(cameraOf)), m_wireOf(std::move(wireOf)), m_style(style),
      m_frame(std::make_unique<FrameEncoder>(OutputFormat::Gif)), m_gif(std::make_unique<GifEncoder>(file, fps))
{
}

AnimationEncoder::~AnimationEncoder() = default;

bool AnimationEncoder::AddNext()
{
    if (m_failed || m_done >= m_count)
        return false;
    const Camera camera = m_cameraOf(m_done);
    const Wireframe* wire = m_wireOf(m_done);
    if (!wire) {
        m_failed = true;
        return false;
    }
    m_frame->Draw(camera, *wire, m_style);
    m_failed = !m_gif->AddFrame(m_frame->Picture());
    m_done += m_failed ? 0 : 1;
    return !m_failed;
}

bool AnimationEncoder::Finish()
{
    return !m_failed && m_done == m_count && m_gif->Finish();
}

bool EncodeAnimation(std::FILE* file, int fps, int count, const std::function<Camera(int k)>& cameraOf,
                     const Wireframe& wire, const FrameStyle& style, const std::function<bool(int done)>& progress)
{
    return EncodeAnimation(file, fps, count, cameraOf, [&wire](int) { return &wire; }, style, progress);
}

bool EncodeAnimation(std::FILE* file, int fps, int count, const std::function<Camera(int k)>& cameraOf,
                     const std::function<const Wireframe*(int k)>& wireOf, const FrameStyle& style,
                     const std::function<bool(int done)>& progress)
{
    AnimationEncoder animation(file, fps, count, cameraOf, wireOf, style);
    while (animation.Done() < count)
        if (!progress(animation.Done()) || !animation.AddNext())
            return false;
    return progress(count) && animation.Finish();
}
