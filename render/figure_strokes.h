// The figure's strokes, shared by its surface and its axes: the projection at the picture's size,
// pieces joined into paths, and a segment's seen and hidden parts tested against the depth.
#pragma once

#include <vector>

#include "render/figure.h"
#include "render/figure_depth.h"

struct EyeView {
    std::vector<double> cols, rows;   // in the square, before the title's band
    std::vector<double> depths, keys;
    std::vector<int>    finite;
    double nearest = 0.0, farthest = 0.0;
};

// The frame's projection with every coordinate scaled before it becomes a pixel: at the frame's
// own size the scale is 1 and the pixels are the plain frame's.
void ProjectFigure(const Camera& camera, bool parallel, double scale, const Wireframe& wire, EyeView& out);

// Adds pieces to a layer, joining each to the path it goes on from.
class PathSink {
public:
    PathSink(FigureLayer& layer, double side, double top) : m_layer(layer), m_side(side), m_top(top) {}

    // The part of a -> b inside the square, when it has one.
    void Add(FigurePoint a, FigurePoint b, Rgb colour, bool dashed);

private:
    FigureLayer& m_layer;
    double       m_side, m_top;
};

// The seen and hidden parts of a -> b, tested once a pixel along it: hidden parts dashed or left out.
void AddTestedSegment(FigurePoint a, FigurePoint b, double ka, double kb, Rgb colour, bool dashHidden,
                      const FigureDepth& depth, PathSink& sink);
