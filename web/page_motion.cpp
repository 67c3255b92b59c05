// What moves on the page: the turn's axis, the parameters' sliders and "Animar", and a saved
// animation encoded a few frames a call, so that the page stays responsive and can cancel it.
#include <emscripten/emscripten.h>

#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

#include "export/gif_encoder.h"
#include "web/page_json.h"
#include "web/page_state.h"

namespace {

// The animation being saved, if any, dropped with its bytes.
void DropAnimation(Page& page)
{
    page.animation.reset();
    page.animationFrames.reset();
    if (page.animationStream)
        std::fclose(page.animationStream);
    page.animationStream = nullptr;
    std::free(page.animationData);
    page.animationData = nullptr;
    page.animationSize = 0;
}

}   // namespace

extern "C" {

// z: the turntable and a saved turn about the surface's z axis; else about the picture's vertical.
EMSCRIPTEN_KEEPALIVE void vx_set_turn_axis(int z) { ThePage().session.SetTurnAxis(z ? TurnAxis::Z : TurnAxis::Screen); }

// The shown surface's parameters with their sliders' ranges and the slider's position of the
// value, as JSON [{"name":"a","least":0,"greatest":2,"value":1,"position":500}, …]; empty for the eight.
EMSCRIPTEN_KEEPALIVE const char* vx_parameters()
{
    JsonArray json;
    for (const ParameterControl& control : ThePage().session.Parameters())
        json.Add(JsonObject()
                     .Add("name", control.name)
                     .Add("least", control.least)
                     .Add("greatest", control.greatest)
                     .Add("value", control.value)
                     .Add("position", SliderPosition(control, control.value)));
    return Answer(json.Text());
}

// The value at position 0..kSliderSteps of parameter name's slider; NaN without such a parameter.
EMSCRIPTEN_KEEPALIVE double vx_slider_value(const char* name, int position)
{
    for (const ParameterControl& control : ThePage().session.Parameters())
        if (control.name == name)
            return SliderValue(control, position);
    return std::numeric_limits<double>::quiet_NaN();
}

// A slider moved: the surface sampled anew at value, the view kept. 0 when it could not be.
EMSCRIPTEN_KEEPALIVE int vx_set_parameter(const char* name, double value)
{
    return ThePage().session.SetParameter(name, value) ? 1 : 0;
}

// "Animar" (SweepChoice, as the window's): another surface's sliders shown, a slider moved, the
// box checked or not (1 when its timer ticks), a tick of its parameter back and forth across its
// range, what "Guardar animación…" proposes ("" for the turn), and whether it goes on after a save
// that paused it while it ran.
EMSCRIPTEN_KEEPALIVE void vx_sweep_show() { ThePage().sweep.Show(ThePage().session.Parameters()); }
EMSCRIPTEN_KEEPALIVE void vx_sweep_moved(const char* name) { ThePage().sweep.Moved(name); }
EMSCRIPTEN_KEEPALIVE int vx_sweep_set_running(int on)
{
    ThePage().sweep.SetRunning(on != 0);
    return ThePage().sweep.Ticks() ? 1 : 0;
}
EMSCRIPTEN_KEEPALIVE void vx_sweep_tick() { ThePage().session.SweepTick(ThePage().sweep.Parameter()); }
EMSCRIPTEN_KEEPALIVE const char* vx_sweep_proposed() { return Answer(ThePage().sweep.Proposed()); }
EMSCRIPTEN_KEEPALIVE int vx_sweep_goes_on(int ran) { return ThePage().sweep.GoesOnAfterSave(ran != 0) ? 1 : 0; }

// "Guardar animación…" begun: the turn of the shown frame (sweep empty) or the sweep of that
// parameter, as the window saves them; labelled (not 0), a sweep's frames show its value in a
// corner, as --label does. {"count":N}, or {"error":"…"} in Spanish. Any animation begun before is
// dropped.
EMSCRIPTEN_KEEPALIVE const char* vx_animation_start(const char* sweep, int labelled)
{
    Page& page = ThePage();
    DropAnimation(page);
    std::string error;
    page.animationFrames = page.session.AnimationOf(sweep, error, labelled != 0);
    if (page.animationFrames)
        page.animationStream = open_memstream(&page.animationData, &page.animationSize);
    if (!page.animationFrames || !page.animationStream) {
        DropAnimation(page);
        return Answer(JsonObject().Add("error", error.empty() ? "no hay memoria para la animación" : error).Text());
    }
    const AnimationFrames& frames = *page.animationFrames;
    page.animation = std::make_unique<AnimationEncoder>(page.animationStream, kGifFpsDefault, frames.count, frames.cameraOf,
                                                        frames.wireOf, page.session.Style(), frames.labelOf);
    return Answer(JsonObject().Add("count", frames.count).Text());
}

// Up to frames more frames encoded; the frames done so far, or -1 when it failed (the reason
// from vx_animation_problem) or none was begun.
EMSCRIPTEN_KEEPALIVE int vx_animation_step(int frames)
{
    Page& page = ThePage();
    if (!page.animation)
        return -1;
    for (int i = 0; i < frames && page.animation->Done() < page.animation->Count(); ++i)
        if (!page.animation->AddNext())
            return -1;
    return page.animation->Done();
}

// Why the animation stopped, in Spanish; "" when nothing went wrong.
EMSCRIPTEN_KEEPALIVE const char* vx_animation_problem()
{
    const Page& page = ThePage();
    return Answer(page.animationFrames && !page.animationFrames->problem->empty() ? *page.animationFrames->problem : "");
}

// The whole GIF once every frame is done (its count from vx_bytes_size), or null; the animation
// is dropped either way.
EMSCRIPTEN_KEEPALIVE const unsigned char* vx_animation_finish()
{
    Page& page = ThePage();
    const bool finished = page.animation && page.animation->Finish();
    page.animation.reset();   // the encoder's last bytes reach the stream before it is closed
    const bool closed = page.animationStream && std::fclose(page.animationStream) == 0;
    page.animationStream = nullptr;
    std::vector<unsigned char> bytes;
    if (finished && closed)
        bytes.assign(page.animationData, page.animationData + page.animationSize);
    DropAnimation(page);
    return Bytes(std::move(bytes));
}

// "Cancelar": the animation and its bytes dropped.
EMSCRIPTEN_KEEPALIVE void vx_animation_cancel() { DropAnimation(ThePage()); }

}  // extern "C"
