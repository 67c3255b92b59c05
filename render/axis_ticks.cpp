// Round steps and their labels.
#include "render/axis_ticks.h"

#include <cmath>
#include <cstdio>

namespace {

constexpr double kTicksWanted = 5.0;
constexpr int kTicksAtMost = 12;

double RoundStep(double span)
{
    const double rough = span / kTicksWanted;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    for (const double m : {1.0, 2.0, 5.0})
        if (m * power >= rough)
            return m * power;
    return 10.0 * power;
}

}   // namespace

std::string TickLabel(double value, double step)
{
    const int decimals = step >= 1.0 ? 0 : static_cast<int>(std::ceil(-std::log10(step) - 1e-9));
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, std::fabs(value));
    std::string out;
    bool zero = true;
    for (const char* c = text; *c; ++c) {
        out += *c == '.' ? ',' : *c;
        zero = zero && (*c == '0' || *c == '.');
    }
    return value < 0.0 && !zero ? "\u2212" + out : out;
}

std::vector<AxisTick> AxisTicks(double low, double high)
{
    std::vector<AxisTick> ticks;
    const double span = high - low;
    if (!(span > 0.0) || !std::isfinite(span))
        return ticks;
    const double step = RoundStep(span);
    const double first = std::ceil(low / step - 1e-9), last = std::floor(high / step + 1e-9);
    if (!(last - first < kTicksAtMost))
        return ticks;
    for (double k = first; k <= last; ++k) {
        const double value = k * step;
        ticks.push_back({value, TickLabel(value, step)});
    }
    return ticks;
}
