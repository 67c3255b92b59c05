// A frame as a figure: the pieces to draw in picture coordinates (doubles, not yet pixels), their
// colours and dashes, the axes and the texts. Every format of a figure draws this one list, so a
// PDF, an EPS, a TikZ picture, an SVG and a PNG hold the same pieces.
#pragma once

#include <string>
#include <vector>

#include "geometry/view_state.h"
#include "render/canvas.h"
#include "render/frame_style.h"
#include "surfaces/wireframe.h"

struct FigurePoint {
    double x = 0.0, y = 0.0;   // picture pixels: x right, y down; pixel (c, r) covers [c, c+1) x [r, r+1)
};

// A polyline in one colour; dashes run on along it.
struct FigurePath {
    std::vector<FigurePoint> points;
    Rgb  colour;
    bool dashed = false;
};

// How a layer's lines meet what lies under them: the two pictures of a stereo figure add up on
// a dark ground (the lighter channel wins) and like inks on a light one (the darker wins).
enum class FigureBlend { Over, Lighten, Darken };

struct FigureLayer {
    FigureBlend             blend = FigureBlend::Over;
    int                     lineWidth = 0;   // pixels; 0: the figure's
    std::vector<FigurePath> paths;
};

struct FigureText {
    FigurePoint at;            // the middle of the text's box
    double      height;        // of a capital letter, in pixels
    std::string text;          // UTF-8; a title's may hold mathematics between $…$ (title_text.h)
    Rgb         colour;
    bool        title = false; // a line of the title
    bool        label = false; // a corner's label: its left edge where a font's would start, in strokes in a picture
};

struct Figure {
    int width = 0, height = 0;          // the picture, in pixels
    double top = 0.0;                   // the square's top edge: below the title's band
    int side = 0;                       // the square, in pixels
    Rgb background;
    bool hasOutline = false;            // one pixel inside the square's edges
    Rgb outline;
    int lineWidth = 1;                  // pixels, at every size
    int WidthOf(const FigureLayer& layer) const { return layer.lineWidth > 0 ? layer.lineWidth : lineWidth; }
    double printedWidthCm = kPrintedWidthCm;   // the picture's width on paper, for vector formats
    double dashOn = 0.0, dashOff = 0.0; // pixels along a dashed path
    std::vector<FigureLayer> layers;    // the surface (one layer an eye, each then its section), then the axes
    std::vector<FigureText>  texts;     // axis labels and the title's lines
    std::string title;                  // the whole title, for a format that sets it itself (TikZ)
};

// A vector format's line width in the picture's pixels: the width lineWidth has in the 500-pixel
// square printed 12 cm wide, kept on paper whatever the size and the printed width.
double VectorLineWidth(const Figure& f);

// A vector format's dashes for that width, as the picture's dashes are for its own.
double VectorDashOn(const Figure& f);
double VectorDashOff(const Figure& f);

// The band above the square that holds a title, for a square of side pixels.
int TitleBand(int side);

// The figure of wire seen by camera, drawn in style: the square at style.size, the theme's and
// the user's colours, hidden lines tested at that size and left out or dashed, axes and title.
// Lines are clipped to the square, so that no format meets a coordinate far outside it.
void BuildFigure(const Camera& camera, const Wireframe& wire, const FrameStyle& style, Figure& out);
