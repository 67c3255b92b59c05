// An animated GIF of a wireframe seen by a row of cameras: the one loop that every front end's
// "save an animation" goes through.
#pragma once

#include <cstdio>
#include <functional>
#include <memory>
#include <string>

#include "geometry/view_state.h"
#include "render/frame_style.h"
#include "surfaces/wireframe.h"

class FrameEncoder;
class GifEncoder;

// The animation's frames drawn and encoded a frame a call, for a front end that must stay
// responsive between frames (the page). Frame k is drawn from cameraOf(k) and wireOf(k), asked
// in order, once each; null from wireOf stops. Both are kept until the encoder is destroyed.
class AnimationEncoder {
public:
    // labelOf, when given, writes frame k's label (FrameStyle::label) in its corner.
    AnimationEncoder(std::FILE* file, int fps, int count, std::function<Camera(int k)> cameraOf,
                     std::function<const Wireframe*(int k)> wireOf, const FrameStyle& style,
                     std::function<std::string(int k)> labelOf = {});
    ~AnimationEncoder();
    AnimationEncoder(const AnimationEncoder&) = delete;
    AnimationEncoder& operator=(const AnimationEncoder&) = delete;

    int Count() const { return m_count; }
    int Done() const { return m_done; }   // frames encoded so far
    // Frame Done() drawn and encoded; false once anything failed (errno tells why) or the last
    // frame is done.
    bool AddNext();
    // The GIF's trailer after the last frame; false when frames are missing or anything failed.
    bool Finish();

private:
    int                                      m_count;
    int                                      m_done = 0;
    bool                                     m_failed = false;
    std::function<Camera(int)>               m_cameraOf;
    std::function<const Wireframe*(int)>     m_wireOf;
    FrameStyle                               m_style;
    std::function<std::string(int)>          m_labelOf;
    std::unique_ptr<FrameEncoder>            m_frame;
    std::unique_ptr<GifEncoder>              m_gif;
};

// Draws frames 0 to count - 1 of wire in style, frame k from cameraOf(k) (asked in order, once
// each), and streams them onto file as a GIF looping at fps, one frame in memory at a time.
// progress(done) is told before each frame and after the last; false from it stops at once.
// False when stopped or when encoding or writing failed (errno tells why).
bool EncodeAnimation(std::FILE* file, int fps, int count, const std::function<Camera(int k)>& cameraOf,
                     const Wireframe& wire, const FrameStyle& style, const std::function<bool(int done)>& progress);

// The same with each frame's own wireframe, wireOf(k), asked in order after cameraOf(k), as a
// sweep of a parameter samples the surface anew for each frame; null from it stops.
bool EncodeAnimation(std::FILE* file, int fps, int count, const std::function<Camera(int k)>& cameraOf,
                     const std::function<const Wireframe*(int k)>& wireOf, const FrameStyle& style,
                     const std::function<bool(int done)>& progress, const std::function<std::string(int k)>& labelOf = {});
