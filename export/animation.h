// An animated GIF of a wireframe seen by a row of cameras: the one loop that every front end's
// "save an animation" goes through.
#pragma once

#include <cstdio>
#include <functional>

#include "geometry/view_state.h"
#include "render/frame_style.h"
#include "surfaces/wireframe.h"

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
                     const std::function<bool(int done)>& progress);
