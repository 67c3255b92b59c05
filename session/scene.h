// What is shown, as one line of text a link carries in its fragment: the surface (an id, or one's
// own formulas whole), the parameters' values, the view, the "Vista" options and "Corte". Every
// front end writes and reads it here, so a link opened anywhere draws the same pixels.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "geometry/vec3.h"
#include "render/frame_style.h"
#include "render/turntable.h"
#include "surfaces/expression.h"
#include "surfaces/typed_surface.h"

constexpr int kSceneVersion = 1;
constexpr size_t kMaxSceneLength = 60000;   // characters; an own surface's formulas fit many times over
constexpr double kMaxSceneCoordinate = 1e6;  // eye and target, world units

// The view record a camera step starts from: the step rebuilds the rest of the basis from these,
// so the same four give the same camera to the bit.
struct SceneView {
    Vec3   eye, target, up;
    double zoom = 0.0;
};

struct Scene {
    std::string                      surfaceId;   // a built-in or gallery surface, when own is empty
    std::optional<SurfaceDefinition> own;         // one's own formulas, with their values
    std::vector<NamedValue>          params;      // values of a gallery surface's parameters
    SceneView                        view;
    FrameStyle                       style;       // with "Corte"'s plane; its size is the reader's own, never written
    TurnAxis                         turnAxis = TurnAxis::Screen;
};

// "v=1&s=toro&eye=...": key=value pairs joined by '&', values percent-encoded, numbers written
// shortest and read back exactly.
std::string EncodeScene(const Scene& scene);

// Reads a scene from a fragment, "#fragment", or a whole link (what follows its '#'). Nothing,
// and one line saying what was wrong and what is accepted, when it is malformed: another
// version, an unknown or repeated key, a value out of its range, too long or too many.
std::optional<Scene> DecodeScene(std::string_view text, FormulaProblem& problem);
