// Plane sections of a surface given by formulas of u and v: the curves where x, y or z equals c.
#pragma once

#include <atomic>
#include <functional>

#include "surfaces/typed_surface.h"

// Appends to wire, as lines after those it has, the sections of the surface at(u, v) over
// [u0, u1] × [v0, v1] by the planes of definition.sections: planes of them at
// c_k = min + (k + ½)(max − min)/planes over the extent the grid of samples × samples nodes
// reaches on that axis, each traced on that grid and refined. withFacets: the grid's points and
// its facets too, for a surface drawn by sections alone. False when cancel becomes true.
bool AddParametricSections(Wireframe& wire, const SurfaceDefinition& definition, double u0, double u1, double v0, double v1,
                           const std::function<Vec3(double, double)>& at, bool withFacets,
                           const std::atomic<bool>* cancel = nullptr);
