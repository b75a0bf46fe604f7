#include "host_clock.h"

#include <cmath>

namespace {
constexpr double secondsPerDay = 86400.0;

double wrapDay(double seconds) {
    double wrapped = std::fmod(seconds, secondsPerDay);
    return wrapped < 0 ? wrapped + secondsPerDay : wrapped;
}

int zuluHours(const HostClock& clock) { return int(clock.zuluSecondsOfDay / 3600.0) % 24; }
int zuluMinutes(const HostClock& clock) { return int(clock.zuluSecondsOfDay / 60.0) % 60; }
int localHours(const HostClock& clock) { return ((zuluHours(clock) + clock.localOffsetHours) % 24 + 24) % 24; }
}  // namespace

double hostVariable(const HostVariables& variables, int32_t id) {
    auto found = variables.fixed.find(id);
    if (found != variables.fixed.end()) return found->second;
    const HostClock& clock = variables.clock;
    switch (id) {
        case varTickCount: return double(clock.tickCount);
        case varLocalHours: return localHours(clock);
        case varLocalMinutes: return zuluMinutes(clock);
        case varZuluHours: return zuluHours(clock);
        case varZuluMinutes: return zuluMinutes(clock);
        case varSimSeconds: return clock.simSeconds;
        default: return 0.0;
    }
}

void setHostVariable(HostVariables& variables, int32_t id, double value) { variables.fixed[id] = value; }

void advanceClock(HostClock& clock) {
    const double step = clock.speed / cyclesPerSecond;
    ++clock.tickCount;
    clock.simSeconds += step;
    clock.zuluSecondsOfDay = wrapDay(clock.zuluSecondsOfDay + step);
}

void setClockTime(HostClock& clock, int hours, int minutes, int seconds) {
    clock.zuluSecondsOfDay = wrapDay(hours * 3600.0 + minutes * 60.0 + seconds);
}

void applyKeyEvent(HostClock& clock, uint32_t eventId, uint32_t value) {
    const double seconds = std::fmod(clock.zuluSecondsOfDay, 60.0);
    const int hours = zuluHours(clock);
    const int minutes = zuluMinutes(clock);
    switch (eventId) {
        case keySetZuluHours: setClockTime(clock, int(value % 24), minutes, 0); clock.zuluSecondsOfDay += seconds; break;
        case keySetZuluMinutes: setClockTime(clock, hours, int(value % 60), 0); clock.zuluSecondsOfDay += seconds; break;
        case keySetLocalHours: clock.localOffsetHours = (int(value % 24) - hours + 24) % 24; break;
        default: break;
    }
}
