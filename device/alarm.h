// alarm.h: the Monitor's alarm: the logger's readings watched against the limits.
//
// Each whole reply's texts are read as numbers (tenths of a degree Celsius and of
// %RH, as the logger shows them) and compared with the limits in force. A limit
// is in alarm once its reading has been beyond it for at least the delay, and
// leaves it with the first reading within. A text that is no number ("---",
// garbage) changes nothing: the delay neither starts nor ends on it. Time is the
// platform's millisecond clock, passed in, so tests can choose it.
#pragma once

#include "analysis/limits.h"
#include "device/protocol.h"

#include <cstdint>
#include <string>

namespace device {

struct AlarmState {
    // Per LimitKind: when the reading went beyond (milliseconds), -1 while within.
    int64_t beyondSince[analysis::limitKindCount] = {-1, -1, -1, -1};
    bool alarmed[analysis::limitKindCount] = {};
};

// Takes the readings of one reply at `nowMs`. True when a limit went into alarm
// with it: the moment to beep, once.
bool watchReadings(AlarmState& alarm, const analysis::Limits& limits, const ReadingTexts& readings, int64_t nowMs);

bool temperatureAlarmed(const AlarmState& alarm);
bool humidityAlarmed(const AlarmState& alarm);

// "ALARM: temperature above 8.0 \xB0" "C" (the scale in force) or "humidity
// below 30.0 RH%", each limit in alarm named, joined by ", "; "" when none is.
std::string alarmText(const AlarmState& alarm, const analysis::Limits& limits);

} // namespace device
