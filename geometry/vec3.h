// Vector arithmetic on Vec3: pure functions, no state, no failure path.
#pragma once

struct Vec3 {
    double x = 0.0, y = 0.0, z = 0.0;
};

double PiValue();                    // acos(-1.0), evaluated at every call
Vec3   VecAdd(Vec3 a, Vec3 b);       // (b.x + a.x, b.y + a.y, b.z + a.z)
Vec3   VecSub(Vec3 a, Vec3 b);       // a - b: the first operand minus the second
Vec3   VecScale(double s, Vec3 v);   // (v.x * s, v.y * s, v.z * s); the scalar comes first
double VecDot(Vec3 a, Vec3 b);       // (z*z + y*y) + x*x; the order keeps results reproducible
Vec3   VecCross(Vec3 a, Vec3 b);     // right-handed a x b
double VecLength(Vec3 v);            // sqrt of the dot product of v with itself, same order
Vec3   VecNormalize(Vec3 v);         // three divisions by the length; the zero vector gives NaNs
