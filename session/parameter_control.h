// One parameter of the shown surface as its slider shows it, and the slider's positions, the same
// in the window and on the page.
#pragma once

#include <string>

constexpr int kSliderSteps = 1000;   // a slider's positions from the least to the greatest

struct ParameterControl {
    std::string name;
    double      least = 0.0, greatest = 1.0, value = 0.0;
};

// The value at a slider's position 0..kSliderSteps: the greatest exactly at the last one.
double SliderValue(const ParameterControl& control, int position);
// The position nearest to value, held to the slider's ends.
int SliderPosition(const ParameterControl& control, double value);
