// The rules of the frame style that the window, the page and the command line share.
#pragma once

#include "render/frame_style.h"
#include "render/theme.h"

// A theme chosen brings its own line width (the projector's thick lines), which stays the user's
// to change afterwards.
inline FrameStyle WithTheme(FrameStyle style, Theme theme)
{
    style.theme = theme;
    style.lineWidth = InfoOf(theme).lineWidth;
    return style;
}

// Why style cannot be written as a trace, which lists the drawing calls of the 500-pixel frame as
// it is: nothing, a section drawn over it, or another option of the figure (size, theme, colours,
// dashes, axes, title, label, printed width).
enum class TraceConflict { None, Section, Figure };

inline TraceConflict TraceConflictOf(const FrameStyle& style)
{
    return style.section ? TraceConflict::Section : style.IsFigure() ? TraceConflict::Figure : TraceConflict::None;
}
