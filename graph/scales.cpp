#include "graph/scales.h"

#include "records/derived.h"

#include <algorithm>
#include <cmath>

namespace graph {

namespace {

constexpr int64_t stepChoices[] = {20, 30, 40, 50, 100, 200, 300, 400, 500};
constexpr int64_t widestStep = 1000;

// Nearest integer, halves to the even one (the default rounding mode).
int64_t roundEven(double value)
{
    return static_cast<int64_t>(std::nearbyint(value));
}

int64_t chooseStep(int64_t top, int64_t bottom, int64_t gridSteps)
{
    for (int64_t step : stepChoices)
        if ((top - bottom) / step < gridSteps)
            return step;
    return widestStep;
}

} // namespace

Scales computeScales(const Extremes& e, bool celsius)
{
    Scales s{};
    s.humidityTop = std::clamp<int64_t>((int64_t{e.humidityMax} + 10) / 50 * 50 + 50, 200, 1000);
    s.gridSteps = s.humidityTop / 50;
    // One degree of margin on each side of the extremes.
    int64_t top = (celsius ? int64_t{e.temperatureMax} : records::fahrenheitTenths(e.temperatureMax)) + 10;
    int64_t bottom = (celsius ? int64_t{e.temperatureMin} : records::fahrenheitTenths(e.temperatureMin)) - 10;
    s.temperatureStep = chooseStep(top, bottom, s.gridSteps);
    int64_t step = s.temperatureStep;
    s.temperatureBottom = bottom >= 0 ? bottom / step * step : (bottom / step - 1) * step;
    s.temperatureTop = s.temperatureBottom + step * s.gridSteps;
    return s;
}

int clampPixel(int64_t v)
{
    constexpr int64_t limit = int64_t{1} << 30;
    return static_cast<int>(std::clamp(v, -limit, limit));
}

int64_t gridY(const Scales& s, int64_t height, int64_t k)
{
    return (height - 75) - (height - 125) * k * 50 / s.humidityTop;
}

int64_t recordX(int64_t index, int64_t first, int64_t width, int64_t visible)
{
    return (index - first) * (width - 50) / visible + 25;
}

int64_t recordsAtPixels(int64_t pixels, int64_t width, int64_t visible)
{
    int64_t plotWidth = width - 50;
    if (plotWidth <= 0 || visible <= 0)
        return 0;
    int64_t twice = 2 * pixels * visible + plotWidth;   // rounds halves up
    int64_t divisor = 2 * plotWidth;
    return twice >= 0 ? twice / divisor : -((-twice + divisor - 1) / divisor);
}

int64_t nearestRecord(int64_t mouseX, int64_t first, int64_t last, int64_t width, int64_t visible)
{
    int64_t plotWidth = width - 50;
    if (mouseX < 25 || last <= first)
        return first;
    auto ceilDiv = [](int64_t a, int64_t b) { return (a + b - 1) / b; };
    // The last record at or left of the mouse, and the first of its column.
    int64_t left = std::min(ceilDiv((mouseX - 25 + 1) * visible, plotWidth) - 1, last - first);
    int64_t column = left * plotWidth / visible;
    int64_t leftmost = ceilDiv(column * visible, plotWidth);
    if (left == last - first)
        return first + leftmost;
    int64_t rightX = recordX(left + 1, 0, width, visible);
    return mouseX - (column + 25) <= rightX - mouseX ? first + leftmost : first + left + 1;
}

int64_t humidityY(const Scales& s, int64_t height, int64_t humidity)
{
    return (height - 75) - (height - 125) * humidity / s.humidityTop;
}

int64_t temperatureY(const Scales& s, int64_t height, int64_t temperature, bool celsius)
{
    int64_t range = s.temperatureTop - s.temperatureBottom;
    if (celsius)
        return (height - 75) - (height - 125) * (temperature - s.temperatureBottom) / range;
    double shown = (temperature * 1.8 - static_cast<double>(s.temperatureBottom) + 320) * static_cast<double>(height - 125)
        / static_cast<double>(range);
    return roundEven(static_cast<double>(height - 75) - shown);
}

std::vector<DashSegment> dashSegments(int64_t from, int64_t to)
{
    std::vector<DashSegment> dashes;
    for (int64_t x = from; x <= to; x += dashOn + dashOff)
        dashes.push_back({x, std::min(x + dashOn - 1, to)});
    return dashes;
}

} // namespace graph
