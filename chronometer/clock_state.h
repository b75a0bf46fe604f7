// The chronometer's one state record, shared by its buttons, displays and
// service cycle, and the safe conversions from host values to its integers.
#pragma once

#include <cstdint>

struct ClockState {
    uint8_t upperMode;       // 0 volts, 1 OAT in F, 2 OAT in C
    uint8_t lowerMode;       // 0 UT, 1 LT, 2 FT, 3 ET
    uint8_t setStep;         // 0 outside set mode, else the digit being set, 1 to 4
    uint8_t clockHours;
    uint8_t clockMinutes;
    double powerValue;       // clock power as last seen; 0.0 is unpowered
    double backlightValue;   // 1.0 while the backlight is on
    double ftSeconds;
    uint8_t ftHours;
    uint8_t ftMinutes;
    double ftLastTime;
    uint8_t ftAlarmHours;
    uint8_t ftAlarmMinutes;  // an alarm of 0:00 is no alarm
    uint8_t ftAlarmReached;
    uint8_t ftResetShown;    // "99:59" shown after a long CTRL press
    uint32_t ctrlHoldCount;
    uint32_t ctrlHoldSeen;
    uint8_t ctrlIdleTicks;
    double etSeconds;
    uint8_t etMinutes;
    uint8_t etHours;
    uint8_t etRun;           // 0 stopped, 1 up, 2 down
    uint8_t etPhase;         // 0 plain, 1 countdown armed, 2 run out
    double etLastTime;
    double elapsedSource;    // the time source of both timers, in seconds
};

constexpr ClockState clockStateAtLoad = {
    .ftSeconds = 59.0,  // the first flight-time minute shows after one more second
};

extern ClockState clockState;

enum LowerMode : uint8_t { lowerUt = 0, lowerLt = 1, lowerFt = 2, lowerEt = 3 };

// Truncation toward zero that is defined for every double: NaN gives 0 and
// values beyond the 64-bit range stop at its ends.
int64_t truncateToInt64(double value);
inline uint8_t lowByte(double value) { return uint8_t(truncateToInt64(value) & 0xFF); }
