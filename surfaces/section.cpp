// Cutting the facets by the plane and joining the cuts. Each crossing is computed from its edge's
// two points in one order (the lesser point first), so the neighbouring facets that share the
// edge, or only its points' coordinates across a seam, find the very same point and the pieces
// join there.
#include "surfaces/section.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <unordered_map>
#include <unordered_set>

namespace {

double& Coordinate(Vec3& p, SectionAxis axis)
{
    return axis == SectionAxis::X ? p.x : axis == SectionAxis::Y ? p.y : p.z;
}
double CoordinateOf(Vec3 p, SectionAxis axis)
{
    return Coordinate(p, axis);
}

bool Lesser(Vec3 a, Vec3 b)
{
    return a.x != b.x ? a.x < b.x : a.y != b.y ? a.y < b.y : a.z < b.z;
}

bool Finite(Vec3 p)
{
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}

// Where edge a-b crosses the plane (da, db: their signed distances, on either side of it).
Vec3 Crossing(Vec3 a, double da, Vec3 b, double db, SectionAxis axis, double c)
{
    if (Lesser(b, a)) {
        std::swap(a, b);
        std::swap(da, db);
    }
    if (da == 0.0)
        return a;
    if (db == 0.0)
        return b;
    const double t = da / (da - db);
    Vec3 p{a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t, a.z + (b.z - a.z) * t};
    Coordinate(p, axis) = c;
    return p;
}

struct PointKey {
    std::uint64_t bits[3];
    friend bool operator==(const PointKey&, const PointKey&) = default;
};
struct PointKeyHash {
    std::size_t operator()(const PointKey& k) const
    {
        return std::hash<std::uint64_t>{}(k.bits[0] * 0x9E3779B97F4A7C15ull ^ k.bits[1] * 0xC2B2AE3D27D4EB4Full ^ k.bits[2]);
    }
};

// The section's points, each once, and its pieces between them, each once.
class SectionGraph {
public:
    void AddPiece(Vec3 a, Vec3 b)
    {
        const std::uint32_t i = Id(a), j = Id(b);
        if (i == j)
            return;   // the plane touches the facet at a point
        const std::uint64_t key = (std::uint64_t{i < j ? i : j} << 32) | (i < j ? j : i);
        if (!m_pieceKeys.insert(key).second)
            return;   // the same piece from the facet on the other side of an edge in the plane
        m_pieces.push_back({i, j});
        m_incident[i].push_back(static_cast<std::uint32_t>(m_pieces.size() - 1));
        m_incident[j].push_back(static_cast<std::uint32_t>(m_pieces.size() - 1));
    }

    // The pieces joined: first from the ends of open curves (a point on other than two pieces),
    // then around the closed ones.
    std::vector<SectionCurve> Curves()
    {
        std::vector<SectionCurve> curves;
        std::vector<bool> used(m_pieces.size(), false);
        auto walk = [&](std::uint32_t start) {
            SectionCurve curve;
            curve.points.push_back(m_points[start]);
            std::uint32_t at = start;
            for (;;) {
                std::uint32_t next = UINT32_MAX;
                for (const std::uint32_t piece : m_incident[at])
                    if (!used[piece]) {
                        used[piece] = true;
                        next = m_pieces[piece].a == at ? m_pieces[piece].b : m_pieces[piece].a;
                        break;
                    }
                if (next == UINT32_MAX)
                    break;
                curve.points.push_back(m_points[next]);
                at = next;
            }
            curve.closed = at == start;
            curves.push_back(std::move(curve));
        };
        auto unusedAt = [&](std::uint32_t point) {
            for (const std::uint32_t piece : m_incident[point])
                if (!used[piece])
                    return true;
            return false;
        };
        for (std::uint32_t p = 0; p < m_points.size(); ++p)
            if (m_incident[p].size() != 2)
                while (unusedAt(p))
                    walk(p);
        for (std::uint32_t piece = 0; piece < m_pieces.size(); ++piece)
            if (!used[piece])
                walk(m_pieces[piece].a);
        return curves;
    }

private:
    std::uint32_t Id(Vec3 p)
    {
        PointKey key;
        const double coordinates[3] = {p.x + 0.0, p.y + 0.0, p.z + 0.0};   // -0 as +0
        std::memcpy(key.bits, coordinates, sizeof coordinates);
        const auto [it, added] = m_ids.emplace(key, static_cast<std::uint32_t>(m_points.size()));
        if (added) {
            m_points.push_back(p);
            m_incident.emplace_back();
        }
        return it->second;
    }

    struct Piece {
        std::uint32_t a, b;
    };
    std::unordered_map<PointKey, std::uint32_t, PointKeyHash> m_ids;
    std::vector<Vec3>                       m_points;
    std::vector<std::vector<std::uint32_t>> m_incident;
    std::vector<Piece>                      m_pieces;
    std::unordered_set<std::uint64_t>       m_pieceKeys;
};

// Joins open curves whose ends lie within tolerance of each other, and closes a curve whose two
// ends do: a closed surface's seam may hold two copies of its points a rounding apart (the sphere's
// first meridian and its last, traced from either end). Only up to kMostJoined open curves are
// paired, so that the pairing stays bounded. Then drops the curves that are a point.
constexpr size_t kMostJoined = 256;

void JoinNearEnds(std::vector<SectionCurve>& curves, double tolerance)
{
    auto near = [tolerance](Vec3 a, Vec3 b) {
        return std::fabs(a.x - b.x) <= tolerance && std::fabs(a.y - b.y) <= tolerance && std::fabs(a.z - b.z) <= tolerance;
    };
    std::vector<SectionCurve*> open;
    for (SectionCurve& curve : curves)
        if (!curve.closed)
            open.push_back(&curve);
    for (bool joined = open.size() <= kMostJoined; joined;) {
        joined = false;
        for (SectionCurve* a : open)
            for (SectionCurve* b : open) {
                if (a == b || a->points.empty() || b->points.empty())
                    continue;
                if (near(a->points.front(), b->points.back()) || near(a->points.front(), b->points.front()))
                    std::reverse(a->points.begin(), a->points.end());
                if (near(a->points.back(), b->points.back()))
                    std::reverse(b->points.begin(), b->points.end());
                if (!near(a->points.back(), b->points.front()))
                    continue;
                a->points.insert(a->points.end(), b->points.begin() + 1, b->points.end());
                b->points.clear();
                joined = true;
            }
    }
    for (SectionCurve* curve : open)
        if (curve->points.size() > 3 && near(curve->points.front(), curve->points.back())) {
            curve->points.back() = curve->points.front();
            curve->closed = true;
        }
    // A curve within tolerance of one point is where the plane touches the surface, or the
    // rounding around a point where many facets meet (a pole): nothing to draw.
    auto point = [&](const SectionCurve& c) {
        return std::all_of(c.points.begin(), c.points.end(), [&](Vec3 p) { return near(p, c.points.front()); });
    };
    curves.erase(std::remove_if(curves.begin(), curves.end(), point), curves.end());
}

// A millionth of the wireframe's largest extent on an axis, at least the least normal number.
double JoinTolerance(const Wireframe& wire)
{
    double extent = 0.0;
    for (const std::vector<double>* axis : {&wire.xs, &wire.ys, &wire.zs}) {
        double low = INFINITY, high = -INFINITY;
        for (double v : *axis)
            if (std::isfinite(v)) {
                low = std::min(low, v);
                high = std::max(high, v);
            }
        if (low <= high && std::isfinite(high - low))
            extent = std::max(extent, high - low);
    }
    return std::max(extent * 1e-6, std::numeric_limits<double>::min());
}

// A facet whose three points exist and are finite.
bool Usable(const Wireframe& wire, const std::uint32_t* tri)
{
    const size_t n = wire.Size();
    return tri[0] < n && tri[1] < n && tri[2] < n && Finite(wire.Point(tri[0])) && Finite(wire.Point(tri[1])) &&
           Finite(wire.Point(tri[2]));
}

std::uint64_t EdgeKey(std::uint32_t a, std::uint32_t b)
{
    return (std::uint64_t{a < b ? a : b} << 32) | (a < b ? b : a);
}

std::string_view Trimmed(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

}   // namespace

char SectionAxisLetter(SectionAxis axis)
{
    return axis == SectionAxis::X ? 'x' : axis == SectionAxis::Y ? 'y' : 'z';
}

std::optional<SectionPlane> ParseSectionPlane(std::string_view text)
{
    const size_t equals = text.find('=');
    if (equals == std::string_view::npos)
        return std::nullopt;
    const std::string_view name = Trimmed(text.substr(0, equals));
    const std::string value(Trimmed(text.substr(equals + 1)));
    SectionPlane plane;
    if (name == "x" || name == "X")
        plane.axis = SectionAxis::X;
    else if (name == "y" || name == "Y")
        plane.axis = SectionAxis::Y;
    else if (name == "z" || name == "Z")
        plane.axis = SectionAxis::Z;
    else
        return std::nullopt;
    if (value.empty() || value.find_first_not_of("0123456789+-.eE") != std::string::npos)
        return std::nullopt;   // no "nan", "inf" or hexadecimal
    char* end = nullptr;
    plane.value = std::strtod(value.c_str(), &end);
    if (end != value.c_str() + value.size() || !std::isfinite(plane.value))
        return std::nullopt;
    return plane;
}

std::string SectionPlaneText(const SectionPlane& plane)
{
    char number[40];
    std::snprintf(number, sizeof number, "%.17g", plane.value);
    return std::string(1, SectionAxisLetter(plane.axis)) + "=" + number;
}

double DrawnSectionValue(const Wireframe& wire, const SectionPlane& plane)
{
    return (plane.value - CoordinateOf(wire.unitOffset, plane.axis)) * CoordinateOf(wire.unitScale, plane.axis);
}

std::optional<std::pair<double, double>> SectionExtent(const Wireframe& wire, SectionAxis axis)
{
    const std::vector<double>& drawn = axis == SectionAxis::X ? wire.xs : axis == SectionAxis::Y ? wire.ys : wire.zs;
    double low = std::numeric_limits<double>::infinity(), high = -low;
    for (double v : drawn)
        if (std::isfinite(v)) {
            low = std::min(low, v);
            high = std::max(high, v);
        }
    if (!(low <= high))
        return std::nullopt;
    const double centre = CoordinateOf(wire.unitOffset, axis), scale = CoordinateOf(wire.unitScale, axis);
    double a = low / scale + centre, b = high / scale + centre;
    if (b < a)
        std::swap(a, b);
    return std::pair{a, b};
}

std::vector<SectionCurve> SectionOf(const Wireframe& wire, const SectionPlane& plane)
{
    const double c = DrawnSectionValue(wire, plane);
    if (!std::isfinite(c))
        return {};
    SectionGraph graph;
    std::vector<std::uint64_t> inPlane;   // edges lying in the plane, with their facet above it
    for (size_t t = 0; t + 2 < wire.triangles.size(); t += 3) {
        const std::uint32_t* tri = wire.triangles.data() + t;
        if (!Usable(wire, tri))
            continue;
        const Vec3 p[3] = {wire.Point(tri[0]), wire.Point(tri[1]), wire.Point(tri[2])};
        const double d[3] = {CoordinateOf(p[0], plane.axis) - c, CoordinateOf(p[1], plane.axis) - c,
                             CoordinateOf(p[2], plane.axis) - c};
        const bool above[3] = {d[0] >= 0.0, d[1] >= 0.0, d[2] >= 0.0};
        const int count = above[0] + above[1] + above[2];
        if (count == 3) {
            // An edge in the plane with the facet above it: drawn by the facet below, if there is
            // one; kept in case the edge is the mesh's border (an open seam, a rim).
            for (int e = 0; e < 3; ++e)
                if (d[e] == 0.0 && d[(e + 1) % 3] == 0.0 && d[(e + 2) % 3] > 0.0)
                    inPlane.push_back(EdgeKey(tri[e], tri[(e + 1) % 3]));
            continue;
        }
        if (count == 0)
            continue;
        const Vec3 e1 = VecSub(p[1], p[0]), e2 = VecSub(p[2], p[0]);
        const Vec3 normal{e1.y * e2.z - e1.z * e2.y, e1.z * e2.x - e1.x * e2.z, e1.x * e2.y - e1.y * e2.x};
        if (normal.x == 0.0 && normal.y == 0.0 && normal.z == 0.0)
            continue;   // no area: its neighbours hold whatever it would cut
        // The vertex alone on its side, and the two edges from it that cross.
        const int lone = above[0] != above[1] ? (above[0] != above[2] ? 0 : 1) : 2;
        const int b = (lone + 1) % 3, e = (lone + 2) % 3;
        graph.AddPiece(Crossing(p[lone], d[lone], p[b], d[b], plane.axis, c),
                       Crossing(p[lone], d[lone], p[e], d[e], plane.axis, c));
    }
    if (!inPlane.empty()) {
        // Those edges that no other facet shares: the border, which nothing else draws.
        std::unordered_map<std::uint64_t, int> uses;
        for (const std::uint64_t key : inPlane)
            uses[key] = 0;
        for (size_t t = 0; t + 2 < wire.triangles.size(); t += 3)
            for (int e = 0; e < 3 && Usable(wire, wire.triangles.data() + t); ++e) {
                const auto it = uses.find(EdgeKey(wire.triangles[t + e], wire.triangles[t + (e + 1) % 3]));
                if (it != uses.end())
                    ++it->second;
            }
        for (const auto& [key, count] : uses)
            if (count == 1)
                graph.AddPiece(wire.Point(key >> 32), wire.Point(key & 0xFFFFFFFFu));
    }
    std::vector<SectionCurve> curves = graph.Curves();
    JoinNearEnds(curves, JoinTolerance(wire));
    return curves;
}
