// The names a front end proposes and completes when it saves a picture.
#pragma once

#include <string>

#include "export/output_format.h"
#include "surfaces/registry.h"

// The name as typed when its extension already says a picture format (PNG or SVG, any case);
// else the name with the extension of chosen added.
inline std::string WithImageExtension(std::string path, OutputFormat chosen)
{
    const std::optional<OutputFormat> typed = FormatOfFileName(path);
    if (typed != OutputFormat::Png && typed != OutputFormat::Svg)
        path += InfoOf(chosen).extension;
    return path;
}

// "toro.png": the surface's id and the format's extension; "vexilon" when no surface is drawn.
inline std::string ImageFileName(const SurfaceRegistry& surfaces, SurfaceKind kind, OutputFormat format)
{
    const SurfaceEntry* entry = surfaces.Find(kind);
    return (entry ? entry->id : std::string("vexilon")) + std::string(InfoOf(format).extension);
}
