#include "time_displays.h"

#include "clock_state.h"
#include "display_text.h"

namespace {

constexpr uint32_t blinkTicks = 18;
constexpr uint32_t litTicks = 9;
// Seconds shown while a counter catches up after a jump of the time source:
// a value of three digits would not fit the display.
constexpr int catchUpSecondsShown = 59;

ClockState& s = clockState;

double firstSource(const StringElement* e) { return e->sources[0].varValue; }
double secondSource(const StringElement* e) { return e->sources[1].varValue; }
double tickSource(const StringElement* e) { return e->sources[2].varValue; }

void blinkTexts(StringElement* e, const char* lit, const char* dark, int first, int second) {
    if (litHalf(tickSource(e))) writeDisplayText(e, lit, first, second);
    else writeDisplayText(e, dark, first, second);
}

void blinkColon(StringElement* e, int first, int second) { blinkTexts(e, "%2d:%02d", "%2d %02d", first, second); }

void flash(StringElement* e, int first, int second) {
    if (litHalf(tickSource(e))) writeDisplayText(e, "%2d:%02d", first, second);
    else writeDisplayText(e, "%1s", " ");
}

// The pair P:Q being set, the digit of setStep blinking. In FT and ET the
// colon goes dark with the tens of P.
void setModeText(StringElement* e, int p, int q, bool colonBlinks) {
    if (litHalf(tickSource(e))) {
        writeDisplayText(e, "%02d:%02d", p, q);
        return;
    }
    switch (s.setStep) {
        case 1: writeDisplayText(e, colonBlinks ? "%2d %02d" : "%2d:%02d", p % 10, q); break;
        case 2: writeDisplayText(e, "%01d :%02d", (p - p % 10) / 10, q); break;
        case 3: writeDisplayText(e, "%02d:%2d", p, q % 10); break;
        case 4: writeDisplayText(e, "%02d:%01d ", p, (q - q % 10) / 10); break;
        default: break;
    }
}

int shownSeconds() {
    const int seconds = lowByte(s.etSeconds);
    return seconds > 99 ? catchUpSecondsShown : seconds;
}

// One minute at most is carried per call.
void carryMinute(double& seconds, uint8_t& minutes, uint8_t& hours) {
    if (seconds < 60.0) return;
    seconds -= 60.0;
    minutes = uint8_t(minutes + 1);
    if (minutes != 60) return;
    minutes = 0;
    hours = uint8_t(hours + 1);
    if (hours == 100) hours = 0;
}

void countFlightTime() {
    if (s.elapsedSource != s.ftLastTime) {
        s.ftSeconds += s.elapsedSource - s.ftLastTime;
        s.ftLastTime = s.elapsedSource;
    }
    carryMinute(s.ftSeconds, s.ftMinutes, s.ftHours);
    const bool alarmSet = s.ftAlarmHours != 0 || s.ftAlarmMinutes != 0;
    if (alarmSet && s.ftHours == s.ftAlarmHours && s.ftMinutes == s.ftAlarmMinutes) s.ftAlarmReached = 1;
}

void countElapsedUp(double now) {
    if (now != s.etLastTime) {
        s.etSeconds += now - s.etLastTime;
        s.etLastTime = now;
    }
    carryMinute(s.etSeconds, s.etMinutes, s.etHours);
    if (s.etPhase == 2 && s.setStep == 0) s.lowerMode = lowerEt;
}

void countElapsedDown(double now) {
    if (now != s.etLastTime) {
        s.etSeconds -= now - s.etLastTime;
        s.etLastTime = now;
    }
    if (s.etSeconds >= 0.0) return;
    s.etSeconds += 60.0;
    if (s.etMinutes != 0) {
        s.etMinutes = uint8_t(s.etMinutes - 1);
        return;
    }
    // Run out: from here the count goes on upwards.
    s.etRun = 1;
    s.etPhase = 2;
    s.etSeconds -= 59.0;
}

}  // namespace

bool litHalf(double tickCount) {
    const auto tick = uint16_t(truncateToInt64(tickCount) & 0xFFFF);
    return tick % blinkTicks < litTicks;
}

double HOST_CALL updateClockText(StringElement* e) {
    s.powerValue = firstSource(e);
    if (s.setStep == 0) blinkColon(e, s.clockHours, s.clockMinutes);
    else setModeText(e, s.clockHours, s.clockMinutes, false);
    return zeroFlag(firstSource(e));
}

double HOST_CALL updateFlightTimeText(StringElement* e) {
    if (s.setStep != 0) {
        setModeText(e, s.ftAlarmHours, s.ftAlarmMinutes, true);
    } else if (s.powerValue == 0.0) {
        // unpowered: nothing counts and the last text stays
    } else if (s.ftResetShown == 1) {
        writeDisplayText(e, "%5s", "99:59");
    } else if (secondSource(e) != 0.0) {
        s.ftLastTime = s.elapsedSource;  // held time is never added
        writeDisplayText(e, "%2d:%02d", s.ftHours, s.ftMinutes);
    } else {
        countFlightTime();
        if (s.ftAlarmReached == 1) {
            s.lowerMode = lowerFt;
            flash(e, s.ftHours, s.ftMinutes);
        } else {
            blinkColon(e, s.ftHours, s.ftMinutes);
        }
    }
    return zeroFlag(firstSource(e));
}

double HOST_CALL updateElapsedTimeText(StringElement* e) {
    const double now = secondSource(e);
    s.elapsedSource = now;
    if (s.etRun == 1) countElapsedUp(now);
    else if (s.etRun == 2) countElapsedDown(now);
    else if (s.etRun == 0) s.etLastTime = now;

    if (s.setStep != 0) {
        setModeText(e, s.etMinutes, lowByte(s.etSeconds), true);
    } else if (s.etHours == 0) {
        if (s.etPhase == 2) flash(e, s.etMinutes, shownSeconds());
        else writeDisplayText(e, "%2d:%02d", s.etMinutes, shownSeconds());
    } else {
        if (s.etPhase == 2) flash(e, s.etHours, s.etMinutes);
        else blinkColon(e, s.etHours, s.etMinutes);
    }
    return zeroFlag(firstSource(e));
}
