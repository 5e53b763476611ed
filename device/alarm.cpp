// alarm.cpp: the Monitor's alarm.
#include "device/alarm.h"

#include "analysis/limits.h"
#include "analysis/limit_text.h"

#include <optional>

namespace device {

namespace {

constexpr int64_t msPerMinute = 60000;

bool isTemperature(int kind)
{
    return kind == analysis::TemperatureHigh || kind == analysis::TemperatureLow;
}

} // namespace

bool watchReadings(AlarmState& alarm, const analysis::Limits& limits, const ReadingTexts& readings, int64_t nowMs)
{
    const std::optional<int32_t> temperature = readingTenths(readings.temperature);
    const std::optional<int32_t> humidity = readingTenths(readings.humidity);
    bool entered = false;
    for (int kind = 0; kind < analysis::limitKindCount; ++kind) {
        const std::optional<int32_t>& reading = isTemperature(kind) ? temperature : humidity;
        if (!reading)
            continue;
        if (!limits.value[kind] || !analysis::isBeyond(limits, static_cast<analysis::LimitKind>(kind), *reading)) {
            alarm.beyondSince[kind] = -1;
            alarm.alarmed[kind] = false;
            continue;
        }
        if (alarm.beyondSince[kind] < 0)
            alarm.beyondSince[kind] = nowMs;
        const bool due = nowMs - alarm.beyondSince[kind] >= limits.delayMinutes * msPerMinute;
        entered = entered || (due && !alarm.alarmed[kind]);
        alarm.alarmed[kind] = due;
    }
    return entered;
}

bool temperatureAlarmed(const AlarmState& alarm)
{
    return alarm.alarmed[analysis::TemperatureHigh] || alarm.alarmed[analysis::TemperatureLow];
}

bool humidityAlarmed(const AlarmState& alarm)
{
    return alarm.alarmed[analysis::HumidityHigh] || alarm.alarmed[analysis::HumidityLow];
}

std::string alarmText(const AlarmState& alarm, const analysis::Limits& limits)
{
    std::string text;
    for (int kind = 0; kind < analysis::limitKindCount; ++kind) {
        if (!alarm.alarmed[kind] || !limits.value[kind])
            continue;
        text += text.empty() ? "ALARM: " : ", ";
        text += isTemperature(kind) ? "temperature " : "humidity ";
        text += analysis::beyondText(static_cast<analysis::LimitKind>(kind), *limits.value[kind]);
    }
    return text;
}

} // namespace device
