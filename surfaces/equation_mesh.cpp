// The triangle mesh of an equation surface by marching tetrahedra, and the section planes it
// samples on the way.
#include "surfaces/equation_mesh.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>

#include "surfaces/contour.h"

namespace {

constexpr int  kMeshRefineSteps = 3;   // the facets only hide: near enough is a few steps
constexpr long kMaxSharedValues = 1L << 20;   // the shared planes' values at most: 8 MB

// The index of the grid's layer that lies at c to the bit, or -1: only the very same coordinate
// gives the very same values.
int GridIndexAt(double c, double lo, double hi, int n)
{
    const double guess = std::round((c - lo) / (hi - lo) * n);
    if (!(guess >= -1.0 && guess <= n + 1.0))
        return -1;
    for (int g = std::max(0, static_cast<int>(guess) - 1); g <= std::min(n, static_cast<int>(guess) + 1); ++g)
        if (std::bit_cast<std::uint64_t>(GridValue(lo, hi, g, n)) == std::bit_cast<std::uint64_t>(c))
            return g;
    return -1;
}

double BoxLow(const SurfaceDefinition& def, int axis) { return def.box[static_cast<size_t>(2 * axis)]; }
double BoxHigh(const SurfaceDefinition& def, int axis) { return def.box[static_cast<size_t>(2 * axis + 1)]; }

}   // namespace

const std::vector<double>* SharedSections::Nodes(int axis, double c, const SurfaceDefinition& def) const
{
    const std::vector<int>& slots = slotAt[static_cast<size_t>(axis)];
    if (!filled || slots.empty())
        return nullptr;
    const int g = GridIndexAt(c, BoxLow(def, axis), BoxHigh(def, axis), def.grid);
    return g < 0 || slots[static_cast<size_t>(g)] < 0 ? nullptr : &nodes[static_cast<size_t>(slots[static_cast<size_t>(g)])];
}

SharedSections PlanSharedSections(const SurfaceDefinition& def)
{
    SharedSections shared;
    const size_t row = static_cast<size_t>(def.grid) + 1;
    for (int axis = 0; axis < 3; ++axis)
        shared.slotAt[static_cast<size_t>(axis)].assign(row, -1);
    long values = 0;
    for (char name : def.sections) {
        const int axis = name - 'x';
        std::vector<int>& slots = shared.slotAt[static_cast<size_t>(axis)];
        for (int k = 0; k < def.planes && values + static_cast<long>(row * row) <= kMaxSharedValues; ++k) {
            const int g = GridIndexAt(SectionLevel(BoxLow(def, axis), BoxHigh(def, axis), k, def.planes), BoxLow(def, axis),
                                      BoxHigh(def, axis), def.grid);
            if (g < 0 || slots[static_cast<size_t>(g)] >= 0)
                continue;
            slots[static_cast<size_t>(g)] = static_cast<int>(shared.nodes.size());
            shared.nodes.emplace_back(row * row);
            values += static_cast<long>(row * row);
        }
    }
    return shared;
}

// Each cube of the grid cut into six tetrahedra about its main diagonal, so neighbouring cubes
// agree on every face; each vertex refined onto the surface on its edge and shared by the
// triangles that meet there.
MeshEnd AddMesh(const SurfaceDefinition& def, EquationFunction& f, Wireframe& wire, SharedSections& shared,
                const std::atomic<bool>* cancel)
{
    const int n = def.grid;
    const size_t row = static_cast<size_t>(n) + 1, layer = row * row;
    std::vector<double> coordinates[3];   // the grid's nodes along each axis, computed once
    for (int axis = 0; axis < 3; ++axis)
        for (int k = 0; k <= n; ++k)
            coordinates[axis].push_back(GridValue(BoxLow(def, axis), BoxHigh(def, axis), k, n));
    const std::vector<double> &xs = coordinates[0], &ys = coordinates[1], &zs = coordinates[2];
    std::vector<double> below(layer), above(layer);
    auto sample = [&](int k, std::vector<double>& values) {
        const double z = zs[static_cast<size_t>(k)];
        for (size_t j = 0; j < row; ++j)
            for (size_t i = 0; i < row; ++i)
                values[j * row + i] = f.At(xs[i], ys[j], z);
        // The section planes on this layer, or crossing it along a row or a column of it.
        const size_t at = static_cast<size_t>(k);
        if (const int s = shared.slotAt[2][at]; s >= 0)
            std::copy(values.begin(), values.end(), shared.nodes[static_cast<size_t>(s)].begin());
        for (size_t g = 0; g < row; ++g) {
            if (const int s = shared.slotAt[0][g]; s >= 0)
                for (size_t j = 0; j < row; ++j)
                    shared.nodes[static_cast<size_t>(s)][at * row + j] = values[j * row + g];
            if (const int s = shared.slotAt[1][g]; s >= 0)
                std::copy_n(values.begin() + static_cast<std::ptrdiff_t>(g * row), row,
                            shared.nodes[static_cast<size_t>(s)].begin() + static_cast<std::ptrdiff_t>(at * row));
        }
    };
    // The vertex on each edge, by the edge's lower node and direction, for the nodes of the slab's
    // bottom layer and its top one; the top becomes the next slab's bottom. Vertices are numbered
    // in order, so an entry below where its layer's first slab began is an older layer's: no
    // clearing between slabs.
    constexpr std::uint32_t kNone = 0xFFFFFFFFu;
    std::vector<std::uint32_t> bottom(layer * 8, kNone), top(layer * 8, kNone);
    std::uint32_t bottomFrom = 0, topFrom = 0;
    constexpr int kTetrahedra[6][4] = {{0, 1, 3, 7}, {0, 1, 5, 7}, {0, 2, 3, 7}, {0, 2, 6, 7}, {0, 4, 5, 7}, {0, 4, 6, 7}};
    // A smooth surface across the box cuts a few n² cells, each into up to a dozen triangles: room
    // for that at once (untouched pages cost nothing), not by doubling.
    wire.triangles.reserve(wire.triangles.size() + 72 * layer);
    for (std::vector<double>* axis : {&wire.xs, &wire.ys, &wire.zs})
        axis->reserve(axis->size() + kMeshVertexRoom * layer);
    sample(0, above);
    for (int k = 0; k < n; ++k) {
        if (cancel && cancel->load(std::memory_order_relaxed))
            return MeshEnd::Cancelled;
        if (wire.triangles.size() > 3 * static_cast<size_t>(kMaxFacets))
            return MeshEnd::TooMany;
        std::swap(below, above);
        sample(k + 1, above);
        if (k > 0) {
            std::swap(bottom, top);
            bottomFrom = topFrom;
            topFrom = static_cast<std::uint32_t>(wire.xs.size());
        }
        for (int j = 0; j < n; ++j)
            for (int i = 0; i < n; ++i) {
                const size_t at = static_cast<size_t>(j) * row + static_cast<size_t>(i);
                const double value[8] = {below[at], below[at + 1], below[at + row], below[at + row + 1],
                                         above[at], above[at + 1], above[at + row], above[at + row + 1]};
                int positive = 0;
                for (double v : value)
                    positive += v > 0.0;
                if (positive == 0 || positive == 8)   // every tetrahedron on one side: nothing crosses this cube
                    continue;
                auto vertex = [&](int a, int b) {   // corner a's bits are a subset of b's
                    const size_t node = static_cast<size_t>(j + ((a >> 1) & 1)) * row + static_cast<size_t>(i + (a & 1));
                    std::uint32_t& known = ((a & 4) ? top : bottom)[node * 8 + static_cast<size_t>(a ^ b)];
                    if (known != kNone && known >= ((a & 4) ? topFrom : bottomFrom))
                        return known;
                    const double ax = xs[static_cast<size_t>(i + (a & 1))], ay = ys[static_cast<size_t>(j + ((a >> 1) & 1))];
                    const double az = zs[static_cast<size_t>(k + (a >> 2))];
                    const double bx = xs[static_cast<size_t>(i + (b & 1))], by = ys[static_cast<size_t>(j + ((b >> 1) & 1))];
                    const double bz = zs[static_cast<size_t>(k + (b >> 2))];
                    const double t = RefineCrossing([&](double s) { return f.At(ax + s * (bx - ax), ay + s * (by - ay), az + s * (bz - az)); },
                                                    value[a], value[b], kMeshRefineSteps);
                    wire.xs.push_back(ax + t * (bx - ax));
                    wire.ys.push_back(ay + t * (by - ay));
                    wire.zs.push_back(az + t * (bz - az));
                    known = static_cast<std::uint32_t>(wire.xs.size() - 1);
                    return known;
                };
                auto edge = [&](int a, int b) { return a < b ? vertex(a, b) : vertex(b, a); };
                for (const auto& tet : kTetrahedra) {
                    int  inside[4], outside[4], ni = 0, no = 0;
                    bool defined = true;
                    for (int c : tet) {
                        defined = defined && !std::isnan(value[c]);
                        (value[c] > 0.0 ? inside[ni++] : outside[no++]) = c;
                    }
                    if (!defined || ni == 0 || no == 0)
                        continue;
                    if (ni == 1 || no == 1) {   // one corner apart: a triangle about it
                        const int  lone = ni == 1 ? inside[0] : outside[0];
                        const int* rest = ni == 1 ? outside : inside;
                        const std::uint32_t p = edge(lone, rest[0]), q = edge(lone, rest[1]), r = edge(lone, rest[2]);
                        for (std::uint32_t corner : {p, q, r})
                            wire.triangles.push_back(corner);
                    } else {   // two and two: a quadrilateral, as two triangles
                        const std::uint32_t p = edge(inside[0], outside[0]), q = edge(inside[0], outside[1]);
                        const std::uint32_t r = edge(inside[1], outside[1]), s = edge(inside[1], outside[0]);
                        for (std::uint32_t corner : {p, q, r, p, r, s})
                            wire.triangles.push_back(corner);
                    }
                }
            }
    }
    shared.filled = true;
    return MeshEnd::Done;
}
