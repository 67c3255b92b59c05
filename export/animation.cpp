// The frames of an animation drawn and encoded one at a time.
#include "export/animation.h"

#include <utility>

#include "export/frame_encoder.h"
#include "export/gif_encoder.h"

AnimationEncoder::AnimationEncoder(std::FILE* file, int fps, int count, std::function<Camera(int k)> cameraOf,
                                   std::function<const Wireframe*(int k)> wireOf, const FrameStyle& style,
                                   std::function<std::string(int k)> labelOf)
    : m_count(count), m_cameraOf(std::move(cameraOf)), m_wireOf(std::move(wireOf)), m_style(style),
      m_labelOf(std::move(labelOf)),
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
    if (m_labelOf)
        m_style.label = m_labelOf(m_done);
    m_frame->Draw(camera, *wire, m_style);
    m_failed = !m_frame->AddTo(*m_gif);
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
                     const std::function<bool(int done)>& progress, const std::function<std::string(int k)>& labelOf)
{
    AnimationEncoder animation(file, fps, count, cameraOf, wireOf, style, labelOf);
    while (animation.Done() < count)
        if (!progress(animation.Done()) || !animation.AddNext())
            return false;
    return progress(count) && animation.Finish();
}
