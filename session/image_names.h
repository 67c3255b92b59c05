// The names a front end proposes and completes when it saves a picture.
#pragma once

#include <string>

#include "export/output_format.h"
#include "surfaces/registry.h"

// Whether a still picture of the window can be saved in format: PNG, SVG, PDF, EPS or TikZ.
inline bool IsImageFormat(std::optional<OutputFormat> format)
{
    return format == OutputFormat::Png || format == OutputFormat::Svg || format == OutputFormat::Pdf ||
           format == OutputFormat::Eps || format == OutputFormat::Tikz;
}

// The name as typed when its extension already says an image format (any case); else the name
// with the extension of chosen added.
inline std::string WithImageExtension(std::string path, OutputFormat chosen)
{
    if (!IsImageFormat(FormatOfFileName(path)))
        path += InfoOf(chosen).extension;
    return path;
}

// "toro.png": the surface's id and the format's extension; "vexilon" when no surface is drawn.
inline std::string ImageFileName(const SurfaceRegistry& surfaces, SurfaceKind kind, OutputFormat format)
{
    const SurfaceEntry* entry = surfaces.Find(kind);
    return (entry ? entry->id : std::string("vexilon")) + std::string(InfoOf(format).extension);
}
