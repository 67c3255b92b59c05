// What a frame costs to write in a vector format, counted before anything is drawn: such a file
// holds every piece of every segment in memory before it is written, each eye's, each dash's and,
// in the frame's own SVG or trace, each pass of a wide line. A picture of pixels needs no count:
// its size bounds its memory, and the heaviest takes a few seconds.
#pragma once

#include "export/output_format.h"
#include "render/frame_style.h"
#include "surfaces/wireframe.h"

// The largest surface (2 million segments) with both eyes, or dashed: about 0.5 GB and 5 s at most.
constexpr long long kMaxVectorPieces = 6000000;

// The pieces format would write for wire in style, at most; 0 for PNG and GIF.
long long VectorPieces(const Wireframe& wire, const FrameStyle& style, OutputFormat format);

inline bool WithinFigureWork(const Wireframe& wire, const FrameStyle& style, OutputFormat format)
{
    return VectorPieces(wire, style, format) <= kMaxVectorPieces;
}
