// The eight surfaces as loops over their parameters, emitting world points into a sink.
//
// Every constant is the double that is used, and every parameter advances by repeated addition
// with a strict bound tested after the body: the numbers of lines and samples come out of that
// accumulation.
#pragma once

#include <cmath>
#include <concepts>

#include "geometry/vec3.h"
#include "surfaces/registry.h"

// What a tracer emits into. Parameter lines: Sample(p, startsLine) for each sample in order, with
// startsLine on the first of a line; a drawing sink moves there and draws a line-to on every
// sample, the first included. Separate segments (the staircases): Project(p) turns a point into
// a handle, and Segment(from, to) joins two handles. Points arrive in world units.
template <class S>
concept TracingSink = requires(S& sink, Vec3 p, bool startsLine, typename S::Point handle) {
    sink.Sample(p, startsLine);
    { sink.Project(p) } -> std::same_as<typename S::Point>;
    sink.Segment(handle, handle);
};

struct ParamRange {
    double start, step, bound;
};

// Calls body(v) for v = start, start + step, ... while the accumulated sum stays below bound;
// at least once, since the test follows the body.
template <class Body>
void Sweep(ParamRange range, Body&& body)
{
    double v = range.start;
    do {
        body(v);
        v = v + range.step;   // accumulated, never start + i * step
    } while (v < range.bound);
}

template <TracingSink Sink>
void TraceMoebius(Sink& sink)
{
    constexpr ParamRange kAngle{0.0, 0.1047197, 3.3};
    constexpr ParamRange kWidth{-0.5, 0.1, 0.6};
    auto point = [](double t, double v) {
        const double r = 1.0 - std::sin(t) * v;
        return Vec3{std::cos(t + t) * r * 30.0, std::sin(t + t) * r * 30.0, std::cos(t) * v * 30.0};
    };
    Sweep(kWidth, [&](double v) {
        Sweep(kAngle, [&](double t) { sink.Sample(point(t, v), t == kAngle.start); });
    });
    Sweep(kAngle, [&](double t) {
        Sweep(kWidth, [&](double v) { sink.Sample(point(t, v), v == kWidth.start); });
    });
}

template <TracingSink Sink>
void TraceSaddle(Sink& sink)
{
    constexpr ParamRange kGrid{-5.0, 0.4, 5.0};
    auto point = [](double p, double q) { return Vec3{10.0 * p, 10.0 * q, p * p - q * q}; };
    Sweep(kGrid, [&](double p) {
        Sweep(kGrid, [&](double q) { sink.Sample(point(p, q), q == kGrid.start); });
    });
    Sweep(kGrid, [&](double q) {
        Sweep(kGrid, [&](double p) { sink.Sample(point(p, q), p == kGrid.start); });
    });
}

template <TracingSink Sink>
void TraceSphere(Sink& sink)
{
    constexpr ParamRange kAzimuth{0.0, 0.1745328888888889, 3.141592};
    constexpr ParamRange kPolar{-3.141592, 0.1745328888888889, 3.141592};
    constexpr double kRadius = 35.0;
    Sweep(kAzimuth, [&](double a) {
        const double ca = std::cos(a), sa = std::sin(a);
        Sweep(kPolar, [&](double b) {
            const double sb = std::sin(b);
            sink.Sample(Vec3{sb * ca * kRadius, sb * sa * kRadius, std::cos(b) * kRadius}, b == kPolar.start);
        });
    });
}

template <TracingSink Sink>
void TraceSine(Sink& sink)
{
    constexpr ParamRange kGrid{-30.0, 0.75, 30.0};
    // z = 2 sin(sqrt(running^2 + held^2)), the sine doubled by adding it to itself.
    auto height = [](double running, double heldSquare) {
        const double s = std::sin(std::sqrt(running * running + heldSquare));
        return s + s;
    };
    Sweep(kGrid, [&](double p) {
        const double x = p + p, pp = p * p;
        Sweep(kGrid, [&](double q) { sink.Sample(Vec3{x, q + q, height(q, pp)}, q == kGrid.start); });
    });
    Sweep(kGrid, [&](double q) {
        const double y = q + q, qq = q * q;
        Sweep(kGrid, [&](double p) { sink.Sample(Vec3{p + p, y, height(p, qq)}, p == kGrid.start); });
    });
}

template <TracingSink Sink>
void TraceTorus(Sink& sink)
{
    const double fullTurn = 4.0 * std::asin(1.0);
    const double h = fullTurn * 0.011111111111111112;   // the double nearest 1/90
    const ParamRange angle{0.0, h, h + fullTurn};
    Sweep(angle, [&](double c) {
        const double cc = std::cos(c), sc = std::sin(c);
        Sweep(angle, [&](double a) {
            const double r = std::cos(a) * 10.0 + 30.0;
            sink.Sample(Vec3{r * cc, r * sc, std::sin(a) * 10.0}, a == angle.start);
        });
    });
}

template <TracingSink Sink>
void TracePseudosphere(Sink& sink)
{
    constexpr double kScale = 25.0;
    constexpr ParamRange kAround{0.0, 0.20943951333333333, 6.2831854};
    constexpr ParamRange kMeridian{0.05235987833333333, 0.05235987833333333, 3.0892328216666667};
    // The rim, from the stored approximations of pi/2 and pi/4: radius 1 and height 0 to the last bits.
    const double r0 = std::sin(1.57079635);
    const double z0 = (std::log(std::tan(0.785398175)) + std::cos(1.57079635)) * kScale;
    Sweep(kAround, [&](double c) {
        sink.Sample(Vec3{std::cos(c) * r0 * kScale, std::sin(c) * r0 * kScale, z0}, c == kAround.start);
    });
    // The meridians never reach a = 0 or a = pi, where the logarithm has no finite value.
    Sweep(kAround, [&](double c) {
        const double cc = std::cos(c), sc = std::sin(c);
        Sweep(kMeridian, [&](double a) {
            const double q = std::log(std::tan(a * 0.5)) + std::cos(a);
            const double sa = std::sin(a);
            sink.Sample(Vec3{sa * cc * kScale, sa * sc * kScale, q * kScale}, a == kMeridian.start);
        });
    });
}

// One flight of stairs: k from first while below bound, a = k / 15, z = 45 - 6a + lift. Each step
// draws the previous-to-current segment of both rails, then the rung between the current points.
template <TracingSink Sink, class Rails>
void TraceFlight(Sink& sink, double first, double bound, double lift, Rails&& rails)
{
    typename Sink::Point previousInner{}, previousOuter{};
    for (double k = first; k < bound; k = k + 1.0) {
        const double a = k * 0.06666666666666667;   // the double nearest 1/15
        const double z = (45.0 - a * 6.0) + lift;   // adding a lift of 0 changes no bit
        Vec3 inner, outer;
        rails(a, z, inner, outer);
        const auto currentInner = sink.Project(inner);
        const auto currentOuter = sink.Project(outer);
        if (k == first) {   // the first rail segments have zero length
            previousInner = currentInner;
            previousOuter = currentOuter;
        }
        sink.Segment(previousInner, currentInner);
        sink.Segment(previousOuter, currentOuter);
        sink.Segment(currentInner, currentOuter);
        previousInner = currentInner;
        previousOuter = currentOuter;
    }
}

template <TracingSink Sink>
void TraceSpiralStair(Sink& sink)
{
    // The "inner" rail here is the outer edge at radius 30 and the "outer" one the axis: the
    // rail is drawn first, then the axis, then the rung from rail to axis.
    TraceFlight(sink, 0.0, 255.0, 0.0, [](double a, double z, Vec3& rail, Vec3& axis) {
        rail = Vec3{std::cos(a) * 30.0, std::sin(a) * 30.0, z};
        axis = Vec3{0.0, 0.0, z};
    });
}

template <TracingSink Sink>
void TraceLeonardoStair(Sink& sink)
{
    auto rails = [](double a, double z, Vec3& inner, Vec3& outer) {
        inner = Vec3{std::cos(a) * 15.0, std::sin(a) * 15.0, z};
        outer = Vec3{inner.x + inner.x, inner.y + inner.y, z};   // radius 30, doubled by addition
    };
    TraceFlight(sink, 0.0, 255.0, 0.0, rails);
    TraceFlight(sink, 45.0, 300.0, 20.0, rails);   // 20 units higher, not joined to the first
}

// Runs the tracer of kind; kinds outside 1..8 emit nothing.
template <TracingSink Sink>
void TraceSurfaceInto(SurfaceKind kind, Sink& sink)
{
    switch (kind) {
    case kMoebius: TraceMoebius(sink); break;
    case kSaddle: TraceSaddle(sink); break;
    case kSphere: TraceSphere(sink); break;
    case kSine: TraceSine(sink); break;
    case kTorus: TraceTorus(sink); break;
    case kPseudosphere: TracePseudosphere(sink); break;
    case kSpiralStair: TraceSpiralStair(sink); break;
    case kLeonardoStair: TraceLeonardoStair(sink); break;
    default: break;
    }
}
