// Where the square and the controls right of it stand in a main window of a given size. The left
// column never moves; the square takes the free space and the bars and "Parámetros" follow it.
#pragma once

#include <QRect>
#include <QSize>

#include "render/canvas.h"

constexpr QSize kWindowSize{764, 522};                           // the template's size, the smallest
constexpr QRect kFrameRect{175, 10, kCanvasSide, kCanvasSide};   // the square at that size

struct WindowLayout {
    QRect square;        // the picture, side x side
    QRect zoomBar;       // "Z"
    QRect distanceBar;   // "P"
    QRect barLabels;     // "Z         P" under them
    QRect parameters;    // the "Parámetros" group, under the labels down to the square's bottom
    QRect section;       // "Corte" while a plane is chosen, under the labels
    QRect parametersUnderSection;   // "Parámetros" then, below it
};

// The square's side is the free space's: min(width - 264, height - 22), never below kCanvasSide nor
// above the largest figure; centred across the free width, at the top. At kWindowSize, the template.
// scale: the controls' size against the template's (larger in full screen), every margin with it;
// presenting (the key H): no left column and no bars, "Parámetros" from the top beside the square.
WindowLayout LayOutWindow(QSize window, double scale = 1, bool presenting = false);

// Whether the columns and margins, grown by scale, leave the smallest square room in window.
bool SquareFits(QSize window, double scale);
