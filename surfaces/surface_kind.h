// The numbering of the eight surfaces, with their command-line names and Spanish captions.
#pragma once

#include <array>
#include <string_view>

using SurfaceKind = int;   // 0 = none; 1..8 below; anything else draws nothing

constexpr SurfaceKind kSurfaceNone = 0;
constexpr SurfaceKind kMoebius = 1, kSaddle = 2, kSphere = 3, kSine = 4;
constexpr SurfaceKind kTorus = 5, kPseudosphere = 6, kSpiralStair = 7, kLeonardoStair = 8;
constexpr int kSurfaceCount = 8;

struct SurfaceInfo {
    SurfaceKind      kind;
    std::string_view name;      // the command-line name
    std::string_view caption;   // the button's caption
};

constexpr std::array<SurfaceInfo, kSurfaceCount> kSurfaces{{
    {kMoebius, "moebius", "Cinta de Moebius"},
    {kSaddle, "silla", "Silla de montar"},
    {kSphere, "esfera", "Esfera"},
    {kSine, "seno", "Seno"},
    {kTorus, "toro", "Toro"},
    {kPseudosphere, "pseudoesfera", "Pseudoesfera"},
    {kSpiralStair, "caracol", "Escalera de caracol"},
    {kLeonardoStair, "leonardo", "Escalera de Leonardo"},
}};

constexpr bool IsDrawableSurface(SurfaceKind kind)
{
    return kind >= kMoebius && kind <= kLeonardoStair;
}
