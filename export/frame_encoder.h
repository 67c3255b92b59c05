// One frame drawn in an output format, ready to be written to a file or a stream.
#pragma once

#include <cstdio>
#include <string>

#include "export/output_format.h"
#include "geometry/view_state.h"
#include "render/figure.h"
#include "render/figure_picture.h"
#include "render/frame_style.h"
#include "render/raster_canvas.h"
#include "render/recording_canvas.h"
#include "surfaces/wireframe.h"

class GifEncoder;

class FrameEncoder {
public:
    explicit FrameEncoder(OutputFormat format) : m_format(format) {}

    OutputFormat Format() const { return m_format; }

    // Draws the frame of wire seen by camera, drawn in style; the next Write writes it.
    void Draw(const Camera& camera, const Wireframe& wire, const FrameStyle& style = {});

    // The encoded frame onto file; false when writing or encoding failed (errno tells why).
    bool Write(std::FILE* file) const;

    // The picture the last Draw made, for the PNG and GIF formats; an animation takes its frames here.
    const IndexedCanvas& Picture() const { return m_picture; }
    // The last GIF frame drawn, onto an animation: the frame's picture, or a figure's of any size.
    bool AddTo(GifEncoder& gif) const;

    // Whether the last Draw made a figure (an option of the figure on, or a figure's format).
    bool DrewFigure() const { return m_drewFigure; }
    const FigurePicture& FigurePixels() const { return m_figurePicture; }   // its PNG's pixels

private:
    bool GifOfFigure() const;   // a GIF's figure other than the frame's 500 x 500
    OutputFormat    m_format;
    IndexedCanvas   m_picture;     // palette indices: a quarter of the memory of the window's picture
    RecordingCanvas m_recording;
    std::string     m_text;        // the SVG document or the trace
    bool            m_drewFigure = false;
    std::vector<Rgb> m_framePalette;        // while m_picture's palette is in a theme's colours, the frame's own
    Figure          m_figure;
    FigurePicture   m_figurePicture;
};

// Writes what frame last drew to path, whole or not at all; on failure false, with the reason.
bool WriteFrameFile(const std::string& path, const FrameEncoder& frame, std::string& error);
