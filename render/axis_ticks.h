// The numbers of an axis: round steps across a span of the formulas' own units, written as a
// Spanish reader expects them (decimal comma, the minus sign).
#pragma once

#include <string>
#include <vector>

struct AxisTick {
    double      value;   // in the formulas' units
    std::string label;   // "−0,5"
};

// A step of 1, 2 or 5 times a power of ten giving about kTicksWanted ticks from low to high, and
// the ticks it puts there, both ends included when round; none for an empty or non-finite span.
std::vector<AxisTick> AxisTicks(double low, double high);

// value to the decimals a step needs ("0,25" for a step of 0.05 gives two), "0" for any zero.
std::string TickLabel(double value, double step);
