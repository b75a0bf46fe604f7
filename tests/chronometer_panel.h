// The chronometer loaded into gaugehost, with its elements found through the
// face's links and its buttons pressed where the face puts them.
#pragma once

#include "gauge_test_support.h"

enum class Face { clockText, flightTimeText, elapsedTimeText, upperText, timeModeLabel, timerModeLabel };

// Host variable numbers the chronometer reads.
enum ChronometerVariable : int32_t {
    tickVar = 1,
    panelLightsVar = 10,
    flightHoldVar = 60,
    oatCelsiusVar = 341,
    timeSourceVar = 557,
    busVoltsVar = 753,
    clockPowerVar = 769,
};

class ChronometerPanel {
public:
    // Powered, tick and time source held at 0, the host clock at 12:00; one
    // cycle run unless asked not to, so the clock has seen its power.
    explicit ChronometerPanel(bool firstCycle = true);

    void cycles(int count = 1) { hosted.cycles(count); }
    void setVar(int32_t id, double value) { setHostVariable(hosted.host.variables, id, value); }
    void setClock(int hours, int minutes) { setClockTime(hosted.host.variables.clock, hours, minutes, 0); }

    void sel() { click(25, 65, mouseLeftSingle); }
    void ctrl() { click(52, 65, mouseLeftSingle); }
    void ctrlRepeat() { click(52, 65, mouseRepeatWhileHeld); }
    void oatVolt() { click(37, 6, mouseLeftSingle); }
    void rightClick() { click(50, 40, mouseRightSingle); }
    void click(int x, int y, uint32_t flags);

    StringElement* element(Face which) const;
    ElementHeader* displayBacking() const;
    std::string text(Face which) { return elementText(hosted.host, element(which)); }
    bool hidden(Face which) const { return element(which)->header.imageFlags & imageFlagHidden; }
    // The text of whichever lower-display time is shown; "?" when not exactly one.
    std::string lowerText();

    HostedGauge hosted;
};
