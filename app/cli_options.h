// The command line of vexilon-render read into a request: the option table and its checks.
#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "app/cli_surface_options.h"
#include "export/output_format.h"
#include "render/frame_style.h"
#include "render/turntable.h"
#include "session/scene.h"
#include "surfaces/registry.h"

struct ViewChange {
    enum class Kind { Zoom, ZoomAuto, Distance, Orbit, Eye } kind;   // ZoomAuto: the surface framed
    double a = 0.0, b = 0.0, c = 0.0;
};

// The frames of a turn and the rate of an animated GIF.
struct MotionRequest {
    int      turn = 0;   // N: N frames turning the eye one full circle; 0: no turn
    int      fps = 0;    // frames per second of an animated GIF; 0: not given, the default
    TurnAxis axis = TurnAxis::Screen;
    bool     axisGiven = false;
};

struct RenderRequest {
    SurfaceKind                surface = kSurfaceNone;
    std::vector<ViewChange>    changes;   // in command-line order
    std::optional<std::string> output;    // "-" is standard output
    OutputFormat               format = OutputFormat::Png;   // from --format or the output's name
    int                        frames = 0;   // 0: one frame to the output itself; N: N numbered files
    MotionRequest              motion;
    OwnSurfaceOptions          own;          // typed formulas and --define files
    FrameStyle                 style;        // how each frame is drawn; the default is the plain frame
    // --scene: the link's scene, then the view record and the wireframe it shows.
    std::optional<Scene>             scene;
    std::optional<SceneView>         sceneView;
    std::shared_ptr<const Wireframe> sceneWire;
    bool                       label = false;   // --label: each frame of a sweep names its value
};

enum class CliAction { Render, Help, Version, List };

// Reads argv into request. On a usage error prints one line to err and returns nothing.
// The surfaces named are looked up in surfaces, which also receives the --define files and the
// typed surface.
std::optional<CliAction> ParseRenderArguments(SurfaceRegistry& surfaces, int argc, const char* const* argv,
                                              RenderRequest& request, std::FILE* err);

// The text of --help.
std::string RenderUsage();
