// A parameter slider's positions as values and back.
#include "session/parameter_control.h"

#include <algorithm>
#include <cmath>

double SliderValue(const ParameterControl& control, int position)
{
    return position >= kSliderSteps ? control.greatest
                                    : control.least + position * (control.greatest - control.least) / kSliderSteps;
}

int SliderPosition(const ParameterControl& control, double value)
{
    const double t = (value - control.least) / (control.greatest - control.least);
    return static_cast<int>(std::lround(std::clamp(t, 0.0, 1.0) * kSliderSteps));
}
