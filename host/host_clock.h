// The host's own clock and the host variables a gauge reads by number.
#pragma once

#include <cstdint>
#include <map>

// Host variable numbers that gaugehost derives from its clock.
enum HostVariableId : int32_t {
    varTickCount = 1,
    varLocalHours = 3,
    varLocalMinutes = 4,
    varZuluHours = 6,
    varZuluMinutes = 7,
    varSimSeconds = 557,
};

// Key events that set the clock.
enum HostKeyEvent : uint32_t {
    keySetZuluHours = 66075,
    keySetZuluMinutes = 66076,
    keySetLocalHours = 66044,
};

constexpr double cyclesPerSecond = 18.0;

struct HostClock {
    double zuluSecondsOfDay = 12 * 3600.0;
    int32_t localOffsetHours = 0;
    uint32_t tickCount = 0;
    double simSeconds = 0.0;  // seconds since the host started
    double speed = 1.0;       // simulated seconds per real second
};

struct HostVariables {
    HostClock clock;
    std::map<int32_t, double> fixed;  // values set by a caller; win over the clock
};

double hostVariable(const HostVariables& variables, int32_t id);
void setHostVariable(HostVariables& variables, int32_t id, double value);

// One panel cycle's worth of time.
void advanceClock(HostClock& clock);
void setClockTime(HostClock& clock, int hours, int minutes, int seconds);
void applyKeyEvent(HostClock& clock, uint32_t eventId, uint32_t value);
