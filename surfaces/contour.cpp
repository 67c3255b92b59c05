// The contour tracer: signs at the nodes, crossings refined on their edges, segments joined.
#include "surfaces/contour.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

namespace {

bool Positive(double value) { return value > 0.0; }

}   // namespace

std::vector<ContourPiece> TraceContour(const std::function<double(double, double)>& f, const ContourGrid& grid)
{
    const int n = grid.cells;
    std::vector<double> nodes;
    nodes.reserve(static_cast<size_t>(n + 1) * static_cast<size_t>(n + 1));
    for (int j = 0; j <= n; ++j) {
        const double q = GridValue(grid.q0, grid.q1, j, n);
        for (int i = 0; i <= n; ++i)
            nodes.push_back(f(GridValue(grid.p0, grid.p1, i, n), q));
    }
    return TraceContour(f, grid, nodes);
}

std::vector<ContourPiece> TraceContour(const std::function<double(double, double)>& f, const ContourGrid& grid,
                                       const std::vector<double>& nodes)
{
    const size_t n = static_cast<size_t>(grid.cells), row = n + 1;
    const size_t horizontal = n * row;   // edges along p first, then the edges along q
    auto node = [&](size_t i, size_t j) { return nodes[j * row + i]; };
    auto hEdge = [&](size_t i, size_t j) { return static_cast<std::int64_t>(j * n + i); };
    auto vEdge = [&](size_t i, size_t j) { return static_cast<std::int64_t>(horizontal + j * row + i); };
    // Each crossing edge joins at most two segments, one in each cell beside it.
    std::vector<std::array<std::int64_t, 2>> links(horizontal + row * n, {-1, -1});
    std::vector<std::int64_t> linked;   // the edges the curve crosses: few beside all the grid's
    auto link = [&](std::int64_t a, std::int64_t b) {
        auto add = [&](std::int64_t from, std::int64_t to) {
            std::array<std::int64_t, 2>& l = links[static_cast<size_t>(from)];
            (l[0] < 0 ? l[0] : l[1]) = to;
            linked.push_back(from);
        };
        add(a, b);
        add(b, a);
    };
    for (size_t j = 0; j < n; ++j)
        for (size_t i = 0; i < n; ++i) {
            const double c[4] = {node(i, j), node(i + 1, j), node(i + 1, j + 1), node(i, j + 1)};
            const bool s[4] = {Positive(c[0]), Positive(c[1]), Positive(c[2]), Positive(c[3])};
            if (s[0] == s[1] && s[1] == s[2] && s[2] == s[3])   // most cells: no crossing, NaN or not
                continue;
            if (std::isnan(c[0]) || std::isnan(c[1]) || std::isnan(c[2]) || std::isnan(c[3]))
                continue;
            // Edges bottom, right, top, left: edge k runs from corner k to corner k + 1.
            const std::int64_t e[4] = {hEdge(i, j), vEdge(i + 1, j), hEdge(i, j + 1), vEdge(i, j)};
            std::int64_t crossing[4];
            int count = 0;
            for (int k = 0; k < 4; ++k)
                if (s[k] != s[(k + 1) % 4])
                    crossing[count++] = e[k];
            if (count == 2) {
                link(crossing[0], crossing[1]);
            } else if (count == 4) {
                const double pc = GridValue(grid.p0, grid.p1, static_cast<int>(i), grid.cells) / 2 +
                                  GridValue(grid.p0, grid.p1, static_cast<int>(i + 1), grid.cells) / 2;
                const double qc = GridValue(grid.q0, grid.q1, static_cast<int>(j), grid.cells) / 2 +
                                  GridValue(grid.q0, grid.q1, static_cast<int>(j + 1), grid.cells) / 2;
                double centre = f(pc, qc);
                if (std::isnan(centre))
                    centre = c[0] / 4 + c[1] / 4 + c[2] / 4 + c[3] / 4;
                if (Positive(centre) == s[0]) {   // corners 0 and 2 joined through the centre
                    link(e[0], e[1]);
                    link(e[2], e[3]);
                } else {
                    link(e[3], e[0]);
                    link(e[1], e[2]);
                }
            }
        }
    auto point = [&](std::int64_t edge) {
        const size_t id = static_cast<size_t>(edge);
        size_t i0, j0, i1, j1;
        if (id < horizontal) {
            j0 = j1 = id / n;
            i0 = id % n;
            i1 = i0 + 1;
        } else {
            j0 = (id - horizontal) / row;
            i0 = i1 = (id - horizontal) % row;
            j1 = j0 + 1;
        }
        const double pa = GridValue(grid.p0, grid.p1, static_cast<int>(i0), grid.cells);
        const double pb = GridValue(grid.p0, grid.p1, static_cast<int>(i1), grid.cells);
        const double qa = GridValue(grid.q0, grid.q1, static_cast<int>(j0), grid.cells);
        const double qb = GridValue(grid.q0, grid.q1, static_cast<int>(j1), grid.cells);
        const double t = RefineCrossing([&](double s) { return f(pa + s * (pb - pa), qa + s * (qb - qa)); },
                                        node(i0, j0), node(i1, j1));
        return ContourPoint{t == 1.0 ? pb : pa + t * (pb - pa), t == 1.0 ? qb : qa + t * (qb - qa)};
    };
    std::vector<char> visited(links.size(), false);
    std::vector<ContourPiece> pieces;
    auto walk = [&](std::int64_t start) {
        ContourPiece piece;
        std::int64_t previous = -1, at = start;
        while (at >= 0 && !visited[static_cast<size_t>(at)]) {
            visited[static_cast<size_t>(at)] = true;
            piece.push_back(point(at));
            const std::array<std::int64_t, 2>& l = links[static_cast<size_t>(at)];
            const std::int64_t next = l[0] != previous ? l[0] : l[1];
            previous = at;
            at = next;
        }
        if (at == start && piece.size() > 2)   // round again to the start: closed
            piece.push_back(piece.front());
        pieces.push_back(std::move(piece));
    };
    // Open pieces from their ends first, then the closed ones, each in the order of the edges.
    std::sort(linked.begin(), linked.end());
    linked.erase(std::unique(linked.begin(), linked.end()), linked.end());
    for (std::int64_t e : linked)
        if (!visited[static_cast<size_t>(e)] && links[static_cast<size_t>(e)][1] < 0)
            walk(e);
    for (std::int64_t e : linked)
        if (!visited[static_cast<size_t>(e)] && links[static_cast<size_t>(e)][1] >= 0)
            walk(e);
    return pieces;
}
