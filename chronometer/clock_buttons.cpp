#include "clock_buttons.h"

#include "clock_state.h"
#include "gauge_module.h"

namespace {

constexpr uint32_t keySetZuluHours = 66075;
constexpr uint32_t keySetZuluMinutes = 66076;
constexpr uint32_t keySetLocalHours = 66044;
constexpr uint8_t clockHourLimit = 23;
constexpr uint8_t alarmHourLimit = 24;

ClockState& s = clockState;

bool unpowered() { return s.powerValue == 0.0; }

// The digit operations, in wrapping 8-bit arithmetic.
void tensOfHours(uint8_t& hours) {
    hours = uint8_t(hours + 10);
    if (hours >= 30) hours = uint8_t(hours - 30);
}

void unitsOfHours(uint8_t& hours, uint8_t limit) {
    hours = uint8_t(hours + 1);
    if (hours > limit) hours = 20;
    else if (hours % 10 == 0) hours = uint8_t(hours - 10);
}

void tensOfMinutes(uint8_t& minutes) {
    minutes = uint8_t(minutes + 10);
    if (minutes >= 60) minutes = uint8_t(minutes - 60);
}

void unitsOfMinutes(uint8_t& minutes) {
    minutes = uint8_t(minutes + 1);
    if (minutes % 10 == 0) minutes = uint8_t(minutes - 10);
}

void tensOfSeconds(double& seconds) {
    seconds += 10.0;
    if (seconds >= 60.0) seconds -= 60.0;
}

void unitsOfSeconds(double& seconds) {
    seconds += 1.0;
    if (lowByte(seconds) % 10 == 0) seconds -= 10.0;
}

void acknowledgeAlarm() {
    s.ftAlarmReached = 0;
    s.ftAlarmHours = 0;
    s.ftAlarmMinutes = 0;
}

void setDigit() {
    const bool clock = s.lowerMode == lowerUt || s.lowerMode == lowerLt;
    const bool alarm = s.lowerMode == lowerFt;
    if (s.lowerMode == lowerEt) {
        if (s.setStep == 1) tensOfMinutes(s.etMinutes);
        if (s.setStep == 2) unitsOfMinutes(s.etMinutes);
        if (s.setStep == 3) tensOfSeconds(s.etSeconds);
        if (s.setStep == 4) unitsOfSeconds(s.etSeconds);
        return;
    }
    if (!clock && !alarm) return;
    uint8_t& hours = clock ? s.clockHours : s.ftAlarmHours;
    uint8_t& minutes = clock ? s.clockMinutes : s.ftAlarmMinutes;
    if (s.setStep == 1) tensOfHours(hours);
    if (s.setStep == 2) unitsOfHours(hours, clock ? clockHourLimit : alarmHourLimit);
    if (s.setStep == 3) tensOfMinutes(minutes);
    if (s.setStep == 4) unitsOfMinutes(minutes);
}

void countTowardsReset() {
    ++s.ctrlHoldCount;
    if (s.ctrlHoldCount < ctrlCallsForReset) return;
    s.ftHours = 0;
    s.ftMinutes = 0;
    s.ftSeconds = 59.0;
    s.ftResetShown = 1;
}

void controlElapsedTimer() {
    if (s.etRun == 0) {
        s.etRun = s.etPhase == 0 ? 1 : 2;
    } else if (s.etPhase == 2) {
        s.etPhase = 0;
    } else {
        s.etRun = 0;
        s.etMinutes = 0;
        s.etHours = 0;
        s.etSeconds = 0.0;
    }
}

void advanceSetStep() {
    s.setStep = uint8_t(s.setStep + 1);
    if (s.setStep == 2 && s.clockHours > clockHourLimit) s.clockHours = clockHourLimit;
    switch (s.lowerMode) {
        case lowerUt:
            if (s.setStep != 5) return;
            hostPanel().sendKeyEvent(keySetZuluHours, s.clockHours);
            hostPanel().sendKeyEvent(keySetZuluMinutes, s.clockMinutes);
            s.setStep = 0;
            return;
        case lowerLt:
            if (s.setStep != 3) return;
            hostPanel().sendKeyEvent(keySetLocalHours, s.clockHours);
            s.setStep = 0;
            return;
        case lowerFt:
            if (s.setStep == 5) s.setStep = 0;
            return;
        case lowerEt:
            if (s.setStep != 5) return;
            s.etPhase = 1;
            s.etRun = 0;
            s.setStep = 0;
            return;
        default: return;
    }
}

}  // namespace

int32_t HOST_CALL onSelClick(PixelPoint*, uint32_t) {
    if (unpowered()) return 0;
    if (s.setStep != 0) {
        advanceSetStep();
    } else if (s.ftAlarmReached == 1) {
        acknowledgeAlarm();
    } else if (s.etPhase == 2) {
        s.etPhase = 0;
    } else {
        s.lowerMode = uint8_t(s.lowerMode + 1);
        if (s.lowerMode > lowerEt) s.lowerMode = lowerUt;
    }
    return 0;
}

int32_t HOST_CALL onCtrlClick(PixelPoint*, uint32_t) {
    if (unpowered()) return 0;
    if (s.setStep != 0) {
        setDigit();
    } else if (s.lowerMode == lowerFt) {
        if (s.ftAlarmReached == 1) acknowledgeAlarm();
        else countTowardsReset();
    } else if (s.lowerMode == lowerEt) {
        controlElapsedTimer();
    }
    return 0;
}

int32_t HOST_CALL onSetModeClick(PixelPoint*, uint32_t) {
    if (s.setStep != 0) return 0;
    s.setStep = 1;
    if (s.lowerMode == lowerEt) s.etRun = 0;
    return 0;
}

void ctrlHoldTick() {
    if (s.ctrlHoldSeen < s.ctrlHoldCount) {
        ++s.ctrlHoldSeen;
        s.ctrlIdleTicks = 0;
    } else if (s.ctrlIdleTicks < ctrlQuietTicksEndingPress) {
        ++s.ctrlIdleTicks;
    } else {
        s.ctrlHoldCount = 0;
        s.ctrlHoldSeen = 0;
        s.ctrlIdleTicks = 0;
        s.ftResetShown = 0;
    }
}
