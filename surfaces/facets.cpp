// Facets of the eight from their recorded lines. Where a surface closes, its tracer already runs
// one sample or one line past the seam onto the start again, so consecutive lines close it.
#include "surfaces/facets.h"

#include <algorithm>

std::vector<std::vector<std::uint32_t>> LinesOf(const Wireframe& wire)
{
    std::vector<std::vector<std::uint32_t>> lines;
    for (const WireOp op : wire.ops) {
        if (op.to == WireOp::kLineStart)
            lines.push_back({op.from});
        else if (op.to == WireOp::kLineNext && !lines.empty())
            lines.back().push_back(op.from);
    }
    return lines;
}

void AddFacetsBetween(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b,
                      std::vector<std::uint32_t>& triangles)
{
    const size_t n = std::min(a.size(), b.size());
    for (size_t j = 0; j + 1 < n; ++j)
        triangles.insert(triangles.end(), {a[j], a[j + 1], b[j + 1], a[j], b[j + 1], b[j]});
}

namespace {

void AddGridFacets(const std::vector<std::vector<std::uint32_t>>& lines, size_t first, size_t count,
                   std::vector<std::uint32_t>& triangles)
{
    for (size_t i = first; i + 1 < first + count && i + 1 < lines.size(); ++i)
        AddFacetsBetween(lines[i], lines[i + 1], triangles);
}

// A staircase records, for every step, the segments of both rails from the previous step and then
// the rung; a flight's first step has rails of zero length. A quad joins consecutive rungs.
void AddStairFacets(Wireframe& wire)
{
    std::vector<WireOp> segments;
    for (const WireOp op : wire.ops)
        if (op.to < WireOp::kLineNext)
            segments.push_back(op);
    const WireOp* previousRung = nullptr;
    for (size_t i = 0; i + 2 < segments.size(); i += 3) {
        const bool startsFlight = segments[i].from == segments[i].to;
        const WireOp& rung = segments[i + 2];
        if (previousRung && !startsFlight)
            AddFacetsBetween({previousRung->from, previousRung->to}, {rung.from, rung.to}, wire.triangles);
        previousRung = &rung;
    }
}

}   // namespace

void AddBuiltinFacets(SurfaceKind kind, Wireframe& wire)
{
    const auto lines = LinesOf(wire);
    std::vector<std::uint32_t>& t = wire.triangles;
    switch (kind) {
    case kMoebius: {   // the lines across the strip follow the lines along it
        size_t along = 0;
        while (along < lines.size() && lines[along].size() == lines.front().size())
            ++along;
        AddGridFacets(lines, 0, along, t);
        break;
    }
    case kSaddle:
    case kSine: AddGridFacets(lines, 0, lines.size() / 2, t); break;   // two families of equal size
    case kSphere:
    case kTorus: AddGridFacets(lines, 0, lines.size(), t); break;       // one family
    case kPseudosphere: AddGridFacets(lines, 1, lines.size() - 1, t); break;   // the rim, then meridians
    case kSpiralStair:
    case kLeonardoStair: AddStairFacets(wire); break;
    default: break;
    }
}
