// Vector arithmetic on Vec3: pure functions, no state, no failure path.
// Defined inline: they sit in the innermost loop of every frame.
#pragma once

#include <cmath>

struct Vec3 {
    double x = 0.0, y = 0.0, z = 0.0;
};

// acos(-1.0), evaluated at every call.
inline double PiValue()
{
    return std::acos(-1.0);
}

// (b.x + a.x, b.y + a.y, b.z + a.z).
inline Vec3 VecAdd(Vec3 a, Vec3 b)
{
    return {b.x + a.x, b.y + a.y, b.z + a.z};
}

// a - b: the first operand minus the second.
inline Vec3 VecSub(Vec3 a, Vec3 b)
{
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}

// (v.x * s, v.y * s, v.z * s); the scalar comes first.
inline Vec3 VecScale(double s, Vec3 v)
{
    return {v.x * s, v.y * s, v.z * s};
}

// (z*z + y*y) + x*x: z and y first, x last; the order keeps results reproducible.
inline double VecDot(Vec3 a, Vec3 b)
{
    return (a.z * b.z + a.y * b.y) + a.x * b.x;
}

// Right-handed a x b.
inline Vec3 VecCross(Vec3 a, Vec3 b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

// sqrt of the dot product of v with itself, summed in the same order.
inline double VecLength(Vec3 v)
{
    return std::sqrt((v.z * v.z + v.y * v.y) + v.x * v.x);
}

// Three divisions by the length, not one reciprocal and three products; zero gives NaNs.
inline Vec3 VecNormalize(Vec3 v)
{
    const double length = VecLength(v);
    return {v.x / length, v.y / length, v.z / length};
}
