// A canvas that keeps its calls, so that drawing can be checked and written out as a trace.
#pragma once

#include <string>
#include <vector>

#include "render/canvas.h"

struct CanvasCall {
    enum class Op { SelectPen, MoveTo, LineTo, Rectangle } op;
    Pixel p;             // MoveTo, LineTo; Rectangle: left, top
    Pixel q;             // Rectangle: right, bottom
    Rgb   colour;        // SelectPen: the pen; Rectangle: the fill
    friend bool operator==(const CanvasCall&, const CanvasCall&) = default;
};

class RecordingCanvas final : public Canvas {
public:
    void SelectPen(Rgb colour) override { calls.push_back({CanvasCall::Op::SelectPen, {}, {}, colour}); }
    void MoveTo(Pixel p) override { calls.push_back({CanvasCall::Op::MoveTo, p, {}, {}}); }
    void LineTo(Pixel p) override { calls.push_back({CanvasCall::Op::LineTo, p, {}, {}}); }
    void Rectangle(int left, int top, int right, int bottom, Rgb fill) override
    {
        calls.push_back({CanvasCall::Op::Rectangle, {left, top}, {right, bottom}, fill});
    }

    std::vector<CanvasCall> calls;
};

// The moves and line-tos of calls, one "M col row" or "L col row" line each, in order.
std::string FormatTrace(const std::vector<CanvasCall>& calls);
