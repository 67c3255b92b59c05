// Coloured strokes onto a canvas at a line width: how the styled frame draws what it has decided.
#pragma once

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <type_traits>

#include "render/canvas.h"
#include "render/raster_canvas.h"
#include "render/wireframe_projection.h"
#include "surfaces/wireframe.h"

// A piece of a line in one colour, both ends drawn.
struct Stroke {
    Pixel from, to;
    Rgb   colour;
};

// Offsets across a line for each width: 1 none, 2 one side, 3 both, 4 both and one more.
inline int WidthOffset(int width, int pass)
{
    return pass - (width - 1) / 2;
}

// Draws strokes as they come, each at the frame's width, keeping the pen and the position so
// that a stroke that goes on from the last one's end is one more line-to.
template <class C>
class StrokePen {
public:
    StrokePen(C& canvas, int width, bool addColours) : m_canvas(canvas), m_width(width), m_addColours(addColours) {}

    void operator()(const Stroke& s)
    {
        if (m_width == 1) {
            Line(s.from, s.to, s.colour);
            return;
        }
        const bool xMajor = std::llabs(static_cast<long long>(s.to.col) - s.from.col) >=
                            std::llabs(static_cast<long long>(s.to.row) - s.from.row);
        for (int pass = 0; pass < m_width; ++pass) {
            const int o = WidthOffset(m_width, pass);
            auto shifted = [&](Pixel p) {   // widened before the offset, then saturated: a far end stays far
                const long long col = static_cast<long long>(p.col) + (xMajor ? 0 : o);
                const long long row = static_cast<long long>(p.row) + (xMajor ? o : 0);
                return Pixel{static_cast<int>(std::clamp<long long>(col, INT_MIN, INT_MAX)),
                             static_cast<int>(std::clamp<long long>(row, INT_MIN, INT_MAX))};
            };
            Line(shifted(s.from), shifted(s.to), s.colour);
        }
    }

    // Width 1 on a picture: a stroke ending at to drawn from its walk's pixels, already found at
    // these offsets of the square. False where only a stroke can draw it.
    [[gnu::always_inline]] bool Walked(Pixel to, const std::uint32_t* offsets, std::size_t count, Rgb colour)
    {
        if constexpr (std::is_same_v<C, Canvas>) {
            return false;
        } else {
            if (m_width != 1)
                return false;
            if (!m_penSet || !(m_pen == colour)) {
                m_canvas.SelectPen(colour);
                m_pen = colour;
                m_penSet = true;
            }
            if (m_addColours)
                m_canvas.template PlotAt<true>(offsets, count);
            else
                m_canvas.template PlotAt<false>(offsets, count);
            m_canvas.MoveTo(to);   // where the line-to would have left it
            m_position = to;
            return true;
        }
    }

    // Whether Replay may be used: one-pixel lines on a picture, where a line-to is a move and a line.
    bool Direct() const { return m_width == 1 && !std::is_same_v<C, Canvas>; }

    // Width 1 on a picture: the segments as the plain frame replays them, in colours[levelOf(a, b)],
    // the pen changed only where the level changes.
    template <class Level>
    void Replay(const Wireframe& wire, const ProjectedPoints& points, const Rgb* colours, Level&& levelOf)
    {
        if constexpr (!std::is_same_v<C, Canvas>) {
            if (m_addColours)
                ReplayOn<true>(wire, points, colours, levelOf);
            else
                ReplayOn<false>(wire, points, colours, levelOf);
        }
        m_penSet = false;   // the position is the canvas's own now
    }

private:
    template <bool kLighten, class Level>
    void ReplayOn(const Wireframe& wire, const ProjectedPoints& points, const Rgb* colours, Level& levelOf)
    {
        const int* cols = points.cols.data();
        const int* rows = points.rows.data();
        int pen = -1;
        ForEachReplayedLine(wire, points.finite.data(), [&](std::uint32_t from, std::uint32_t to, bool moves) {
            const int level = levelOf(from, to);
            if (level != pen) {
                m_canvas.SelectPen(colours[level]);
                pen = level;
            }
            if (moves)
                m_canvas.MoveTo(Pixel{cols[from], rows[from]});
            if constexpr (kLighten)
                m_canvas.LightenTo(Pixel{cols[to], rows[to]});
            else
                m_canvas.LineTo(Pixel{cols[to], rows[to]});
        });
    }

    void Line(Pixel from, Pixel to, Rgb colour)
    {
        if (!m_penSet || !(m_pen == colour)) {
            m_canvas.SelectPen(colour);
            m_pen = colour;
            m_penSet = true;
            m_canvas.MoveTo(from);
        } else if (!(m_position == from)) {
            m_canvas.MoveTo(from);
        }
        if constexpr (!std::is_same_v<C, Canvas>) {
            if (m_addColours)
                m_canvas.LightenTo(to);
            else
                m_canvas.LineTo(to);
        } else {
            m_canvas.LineTo(to);
        }
        m_position = to;
    }

    C&    m_canvas;
    int   m_width;
    bool  m_addColours;
    bool  m_penSet = false;
    Rgb   m_pen;
    Pixel m_position;
};
