#include "upper_display.h"

#include <cstdio>

#include "clock_state.h"
#include "display_text.h"

namespace {

enum UpperMode : uint8_t { upperVolts = 0, upperFahrenheit = 1, upperCelsius = 2 };

// Readings beyond these would need six characters; the display stops at the
// last value that fits, as a meter pinned at its end.
constexpr double highestVoltsShown = 99.9;
constexpr double lowestVoltsShown = -9.9;

double clamp(double value, double low, double high) {
    if (value > high) return high;
    if (value < low) return low;
    return value;
}

void writeVolts(StringElement* e, double volts) {
    double shown = volts;
    if (volts >= 99.95) shown = highestVoltsShown;
    else if (volts <= -9.95) shown = lowestVoltsShown;
    char text[64];
    std::snprintf(text, sizeof text, "%3.1fE", shown);
    writeFittedText(e, text);
}

void writeTemperature(StringElement* e, double t, char unit) {
    const int n = int(truncateToInt64(t));
    const int tens = n / 10;
    const int units = n < 0 ? -n % 10 : n % 10;
    const char withTens[] = {'%', '2', 'd', ' ', '%', '1', 'd', unit, '\0'};
    const char withSign[] = {'%', '2', 's', ' ', '%', '1', 'd', unit, '\0'};
    if (tens != 0) writeDisplayText(e, withTens, tens, units);
    else writeDisplayText(e, withSign, t < 0 ? "- " : " ", units);
}

}  // namespace

double HOST_CALL updateUpperText(StringElement* e) {
    const double volts = e->sources[0].varValue;
    const double celsius = e->sources[1].varValue;
    double displayed = volts;
    switch (clockState.upperMode) {
        case upperVolts: writeVolts(e, volts); break;
        case upperFahrenheit:
            displayed = clamp(celsius * 1.8 + 32, -99, 300);
            writeTemperature(e, displayed, 'F');
            break;
        case upperCelsius:
            displayed = clamp(celsius, -99, 150);
            writeTemperature(e, displayed, 'C');
            break;
        default: break;
    }
    return zeroFlag(displayed);
}

int32_t HOST_CALL onOatVoltClick(PixelPoint*, uint32_t) {
    clockState.upperMode = uint8_t(clockState.upperMode + 1);
    if (clockState.upperMode == 3) clockState.upperMode = upperVolts;
    return 0;
}
