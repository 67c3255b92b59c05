// The inside of equation surfaces: F − G over x, y, z, the section planes' places, and the
// triangle mesh of F = G in the box, which samples the grid's nodes once for itself and the
// section planes lying on its layers.
#pragma once

#include <array>
#include <atomic>
#include <vector>

#include "surfaces/typed_surface.h"

// F − G at a point: the parsers read x, y, z and the lets through these addresses, so it never moves.
struct EquationFunction {
    double       x = 0.0, y = 0.0, z = 0.0;
    CompiledLets lets;
    Formula      left, right;
    Formula      difference;   // (F)-(G) as one formula: one evaluation a point instead of two
    bool         hasRight = false, single = false;

    double At(double px, double py, double pz)
    {
        x = px;
        y = py;
        z = pz;
        if (!lets.order.empty())
            lets.Evaluate(0.0, 0.0);
        if (single)
            return difference.At(0.0, 0.0);
        return hasRight ? left.At(0.0, 0.0) - right.At(0.0, 0.0) : left.At(0.0, 0.0);
    }
};

// Where the k-th of planes section planes cuts [lo, hi]: at lo + (k + ½)(hi − lo)/planes.
inline double SectionLevel(double lo, double hi, int k, int planes) { return lo + (k + 0.5) * (hi - lo) / planes; }

// The section planes that lie exactly (to the bit) on a layer of the mesh's grid: the mesh's
// values at that layer's nodes are the section's, copied as the mesh samples them.
struct SharedSections {
    std::array<std::vector<int>, 3>  slotAt;   // by axis and grid index: the slot, or -1
    std::vector<std::vector<double>> nodes;    // by slot: (grid + 1)² values, the section's q slowest
    bool                             filled = false;   // the mesh sampled every layer

    // The slot of the section plane at level c across axis, or null when the mesh has none for it.
    const std::vector<double>* Nodes(int axis, double c, const SurfaceDefinition& definition) const;
};

// Finds the section planes of definition that lie on the grid's layers, slots for as many as a
// bounded memory holds.
SharedSections PlanSharedSections(const SurfaceDefinition& definition);

// The triangles of F = 0 in the box by marching tetrahedra into mesh (points and triangles, the
// indices from mesh's first point), filling shared's slots on the way.
enum class MeshEnd { Done, Cancelled, TooMany };
constexpr long kMaxFacets = 4000000;   // a surface folded in every cell of a fine grid: bounded memory
constexpr size_t kMeshVertexRoom = 12;   // the mesh's vertices reserved at once, per node of a layer
MeshEnd AddMesh(const SurfaceDefinition& definition, EquationFunction& f, Wireframe& mesh, SharedSections& shared,
                const std::atomic<bool>* cancel);
