// Vector arithmetic on Vec3, in the operation order that makes every frame reproducible.
#include "geometry/vec3.h"

#include <cmath>

double PiValue()
{
    return std::acos(-1.0);
}

Vec3 VecAdd(Vec3 a, Vec3 b)
{
    return {b.x + a.x, b.y + a.y, b.z + a.z};
}

Vec3 VecSub(Vec3 a, Vec3 b)
{
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}

Vec3 VecScale(double s, Vec3 v)
{
    return {v.x * s, v.y * s, v.z * s};
}

double VecDot(Vec3 a, Vec3 b)
{
    return (a.z * b.z + a.y * b.y) + a.x * b.x;   // z and y first, x last
}

Vec3 VecCross(Vec3 a, Vec3 b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

double VecLength(Vec3 v)
{
    return std::sqrt((v.z * v.z + v.y * v.y) + v.x * v.x);
}

Vec3 VecNormalize(Vec3 v)
{
    const double length = VecLength(v);
    return {v.x / length, v.y / length, v.z / length};   // three divisions, not a reciprocal
}
