// A presentation before a room: which controls stay on the screen, and how large the controls' text
// is in full screen. The window and the page both follow these rules, so they live here once.
#pragma once

// The controls of either front end, in the groups a presentation keeps or hides.
enum class ControlGroup {
    Picture,      // the square
    Parameters,   // "Parámetros": the sliders and "Animar"
    Bars,         // "Z" and "P"
    Surfaces,     // the surface buttons, "Otra:", "Definir…"
    View,         // "Vista"
    Section,      // "Corte"
    Files,        // saving, links
    Window,       // the title, "Instrucciones", "Sobre…", "Pantalla completa", "Cerrar"
};

// With the controls hidden (the key H), only the picture and the parameters' sliders stay.
constexpr bool ShownInPresentation(ControlGroup group)
{
    return group == ControlGroup::Picture || group == ControlGroup::Parameters;
}

// The controls' text in pixels on a full screen of width x height: a sixtieth of its shorter side,
// so text read from the back of a room grows with the screen (18 at 1920 x 1080), never below the
// front end's own size ownPixels nor above kLargestTextPixels.
constexpr int kLargestTextPixels = 72;
int FullScreenTextPixels(int ownPixels, int width, int height);
