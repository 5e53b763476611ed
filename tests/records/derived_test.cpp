#include "records/derived.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

double hundredths(double value)
{
    return std::round(value * 100.0) / 100.0;
}

TEST(Derived, MagnusPointsAndUndefinedRecords)
{
    struct Point {
        int32_t temperature, humidity;
        double dewPoint, absolute;
    };
    const Point points[] = {
        {250, 100, -8.77, 2.30},
        {500, 900, 47.90, 74.51},
        {220, 500, 11.09, 9.68},
        {200, 1000, 20.00, 17.24},
        {-100, 800, -12.80, 1.89},
    };
    for (const Point& p : points) {
        records::Derived d = records::derivedValues({0, p.humidity, p.temperature});
        ASSERT_TRUE(d.valid) << p.temperature << " " << p.humidity;
        EXPECT_DOUBLE_EQ(hundredths(d.dewPoint), p.dewPoint) << p.temperature << " " << p.humidity;
        EXPECT_DOUBLE_EQ(hundredths(d.absoluteHumidity), p.absolute) << p.temperature << " " << p.humidity;
    }
    // A gap, humidity out of (0, 100] and temperature out of [-45, 60] have none.
    const records::Record undefined[] = {
        {0, 0, 0}, {0, 0, 200}, {0, -5, 200}, {0, 1001, 200}, {0, 500, -451}, {0, 500, 601},
    };
    for (const records::Record& r : undefined)
        EXPECT_FALSE(records::derivedValues(r).valid) << r.temperature << " " << r.humidity;
    // The limits themselves are inside; a humidity of 0 with a temperature is no gap but still undefined.
    EXPECT_TRUE(records::derivedValues({0, 1, -450}).valid);
    EXPECT_TRUE(records::derivedValues({0, 1000, 600}).valid);
    EXPECT_DOUBLE_EQ(records::toFahrenheit(-40.0), -40.0);
    EXPECT_DOUBLE_EQ(records::toFahrenheit(100.0), 212.0);
}

// Every reading pair with derived values gives the very doubles of the Magnus
// formula computed for that record alone, as the exports and the readout always
// printed them (the program keeps the per-reading terms in tables), and a dew
// point above that of the humidity a tenth lower.
TEST(Derived, SameDoublesAsTheFormulaForEveryReadingPair)
{
    size_t compared = 0;
    for (int32_t temperature = -450; temperature <= 600; ++temperature)
        for (int32_t humidity = 1; humidity <= 1000; ++humidity) {
            // The dew point grows strictly with the humidity: the statistics find
            // its extremes at each temperature's highest and lowest humidity.
            if (humidity > 1 && !(records::derivedValues({0, humidity, temperature}).dewPoint
                                  > records::derivedValues({0, humidity - 1, temperature}).dewPoint)) {
                ADD_FAILURE() << temperature << " " << humidity << ": the dew point does not grow";
                return;
            }
            const double t = temperature / 10.0;
            const double rh = humidity / 1000.0;
            const double magnus = 17.62 * t / (243.12 + t);
            const double gamma = std::log(rh) + magnus;
            const double dewPoint = 243.12 * gamma / (17.62 - gamma);
            const double absolute = 216.7 * (rh * 6.112 * std::exp(magnus)) / (t + 273.15);
            const records::Derived d = records::derivedValues({0, humidity, temperature});
            if (!d.valid || d.dewPoint != dewPoint || d.absoluteHumidity != absolute) {
                ADD_FAILURE() << temperature << " " << humidity << ": " << d.dewPoint << " " << d.absoluteHumidity;
                return;
            }
            ++compared;
        }
    EXPECT_EQ(compared, 1051u * 1000u);
}

} // namespace
