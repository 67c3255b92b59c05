// Drawing a frame in the format asked for and encoding it onto a stream.
#include "export/frame_encoder.h"

#include "export/gif_encoder.h"
#include "export/png_encoder.h"
#include "render/frame.h"
#include "render/svg_canvas.h"

void FrameEncoder::Draw(const Camera& camera, const Wireframe& wire, const FrameStyle& style)
{
    switch (m_format) {
    case OutputFormat::Png:
    case OutputFormat::Gif: DrawFrame(camera, wire, style, m_picture); break;
    case OutputFormat::Svg: {
        SvgCanvas svg;
        DrawFrame(camera, wire, style, svg);
        m_text = svg.Document();
        break;
    }
    case OutputFormat::Trace:
        m_recording.calls.clear();
        DrawFrame(camera, wire, style, m_recording);
        m_text = FormatTrace(m_recording.calls);
        break;
    }
}

bool FrameEncoder::Write(std::FILE* file) const
{
    if (m_format == OutputFormat::Png)
        return WritePng(file, m_picture);
    if (m_format == OutputFormat::Gif)
        return WriteGif(file, m_picture);
    return std::fwrite(m_text.data(), 1, m_text.size(), file) == m_text.size();
}
