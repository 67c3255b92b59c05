// The shown frame written as PNG or SVG, through a temporary file renamed into place.
#include "ui/frame_export.h"

#include <cstdio>

#include "render/file_output.h"
#include "render/frame.h"
#include "render/svg_canvas.h"

namespace {

bool EndsWithNoCase(std::string_view text, std::string_view suffix)
{
    if (text.size() < suffix.size())
        return false;
    text.remove_prefix(text.size() - suffix.size());
    for (size_t i = 0; i < suffix.size(); ++i) {
        const char c = text[i] >= 'A' && text[i] <= 'Z' ? static_cast<char>(text[i] - 'A' + 'a') : text[i];
        if (c != suffix[i])
            return false;
    }
    return true;
}

const char* ExtensionOf(ImageFormat format)
{
    return format == ImageFormat::Svg ? ".svg" : ".png";
}

}   // namespace

ImageFormat ImageFormatOf(std::string_view path)
{
    return EndsWithNoCase(path, ".svg") ? ImageFormat::Svg : ImageFormat::Png;
}

std::string WithImageExtension(std::string path, ImageFormat chosen)
{
    if (!EndsWithNoCase(path, ".png") && !EndsWithNoCase(path, ".svg"))
        path += ExtensionOf(chosen);
    return path;
}

std::string ImageFileName(SurfaceKind kind, ImageFormat format)
{
    std::string name = "vexilon";
    for (const SurfaceInfo& info : kSurfaces)
        if (info.kind == kind)
            name = info.name;
    return name + ExtensionOf(format);
}

bool WriteFrameImage(const std::string& path, const RasterCanvas& picture, const ViewState& frameView,
                     std::string& error)
{
    if (ImageFormatOf(path) == ImageFormat::Png)
        return WriteFileAtomically(
            path, [&](std::FILE* file) { return WritePng(file, picture); }, error);
    ViewState view = frameView;   // the window's own record is never drawn twice
    SvgCanvas svg;
    DrawFrame(view, svg);
    const std::string document = svg.Document();
    return WriteFileAtomically(
        path,
        [&](std::FILE* file) { return std::fwrite(document.data(), 1, document.size(), file) == document.size(); },
        error);
}
