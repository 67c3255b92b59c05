// The page's one session and what the page's C functions share: the answers handed to the
// binding live here until the next call.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "export/animation.h"
#include "render/figure.h"
#include "render/raster_canvas.h"
#include "session/own_surfaces.h"
#include "session/sweep_choice.h"
#include "session/view_session.h"

struct Page {
    SurfaceRegistry surfaces;
    ViewSession     session{surfaces, [] {}};
    std::unique_ptr<OwnSurfaces> own;
    SweepChoice     sweep;              // "Animar"
    RasterCanvas    picture;
    Figure          figure;             // the axes' letters' places, for the page to write them
    std::vector<std::uint32_t> devicePixels;
    std::vector<std::uint32_t> rgbaPixels;   // the shown frame as a canvas's bytes
    // A saved animation being encoded a few frames a call, into memory.
    std::optional<AnimationFrames>    animationFrames;
    std::unique_ptr<AnimationEncoder> animation;
    std::FILE*      animationStream = nullptr;
    char*           animationData = nullptr;
    std::size_t     animationSize = 0;
    std::vector<unsigned char> bytes;   // the last file or answer handed out
    bool            previewShown = false;
};

Page& ThePage();
// The user's surfaces, the gallery read with them at their first need: one of the eight is drawn
// before either is read.
OwnSurfaces& Own();
// text or bytes kept for the binding to copy out, valid until the next call.
const char* Answer(const std::string& text);
const unsigned char* Bytes(std::vector<unsigned char> bytes);
