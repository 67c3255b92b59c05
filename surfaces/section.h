// The section of a surface by a plane x = C, y = C or z = C: its facets cut and the pieces joined
// into continuous curves, closed where the curve closes.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "geometry/vec3.h"
#include "surfaces/wireframe.h"

enum class SectionAxis { X, Y, Z };

// The plane axis = value, value in the surface's own units: the formulas' for a typed surface
// (before its fit to the square), the points' own for the eight.
struct SectionPlane {
    SectionAxis axis = SectionAxis::Z;
    double      value = 0.0;
    friend bool operator==(const SectionPlane&, const SectionPlane&) = default;
};

// One connected piece of a section, in the wireframe's points' coordinates (as drawn). A closed
// curve ends on the point it starts from.
struct SectionCurve {
    std::vector<Vec3> points;
    bool              closed = false;
};

// "x=0.5", "z=-1", "y=1e-3" (spaces around either side allowed); nothing for anything else,
// including a value that is not a finite number.
std::optional<SectionPlane> ParseSectionPlane(std::string_view text);
// "z=0.5": what ParseSectionPlane reads back to the same plane.
std::string SectionPlaneText(const SectionPlane& plane);
char SectionAxisLetter(SectionAxis axis);

// The plane's coordinate among a drawn point's, from the surface's own units through the
// wireframe's fit.
double DrawnSectionValue(const Wireframe& wire, const SectionPlane& plane);
// The least and greatest finite coordinate of wire's points on axis, in the surface's own units;
// nothing when no point is finite.
std::optional<std::pair<double, double>> SectionExtent(const Wireframe& wire, SectionAxis axis);

// The curves where the plane cuts wire's facets. Empty when the plane misses the surface, or
// the surface has no facets. A vertex on the plane counts as above it, so that an edge lying in
// the plane is drawn once; triangles with a point that is not finite, or of no area, are skipped.
std::vector<SectionCurve> SectionOf(const Wireframe& wire, const SectionPlane& plane);
