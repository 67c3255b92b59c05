// The projector's rules for the page: the text size of a full screen and what a presentation keeps.
#include <emscripten/emscripten.h>

#include "session/presentation.h"

extern "C" {

EMSCRIPTEN_KEEPALIVE int vx_full_screen_text_pixels(int ownPixels, int width, int height)
{
    return FullScreenTextPixels(ownPixels, width, height);
}

// group: a ControlGroup's index; 1 when a presentation keeps it.
EMSCRIPTEN_KEEPALIVE int vx_shown_in_presentation(int group)
{
    return group >= 0 && group <= static_cast<int>(ControlGroup::Window) &&
           ShownInPresentation(static_cast<ControlGroup>(group)) ? 1 : 0;
}

}   // extern "C"
