// The trace text of recorded canvas calls.
#include "render/recording_canvas.h"

#include <charconv>

namespace {

void AppendInt(std::string& out, int value)
{
    char digits[16];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    out.append(digits, result.ptr);
}

}   // namespace

std::string FormatTrace(const std::vector<CanvasCall>& calls)
{
    std::string out;
    out.reserve(calls.size() * 12);
    for (const CanvasCall& call : calls) {
        if (call.op != CanvasCall::Op::MoveTo && call.op != CanvasCall::Op::LineTo)
            continue;
        out += call.op == CanvasCall::Op::MoveTo ? "M " : "L ";
        AppendInt(out, call.p.col);
        out += ' ';
        AppendInt(out, call.p.row);
        out += '\n';
    }
    return out;
}
