#include "chronometer_panel.h"

ChronometerPanel::ChronometerPanel(bool firstCycle) : hosted("Orlix") {
    setVar(clockPowerVar, 1.0);
    setVar(tickVar, 0.0);
    setVar(timeSourceVar, 0.0);
    setClock(12, 0);
    if (firstCycle) cycles(1);
}

void ChronometerPanel::click(int x, int y, uint32_t flags) {
    makeActive(hosted.host);
    EXPECT_TRUE(clickGauge(hosted.gauge, x, y, flags)) << "no area takes the click at " << x << "," << y;
}

ElementHeader* ChronometerPanel::displayBacking() const {
    return hosted.gauge.gauge->elementList[0]->children[0];
}

StringElement* ChronometerPanel::element(Face which) const {
    ElementHeader* clock = displayBacking()->children[0]->children[0];
    ElementHeader* flight = clock->children[0];
    ElementHeader* elapsed = flight->children[0];
    ElementHeader* found = nullptr;
    switch (which) {
        case Face::clockText: found = clock; break;
        case Face::flightTimeText: found = flight; break;
        case Face::elapsedTimeText: found = elapsed; break;
        case Face::upperText: found = elapsed->children[0]; break;
        case Face::timeModeLabel: found = elapsed->children[1]; break;
        case Face::timerModeLabel: found = elapsed->children[2]; break;
    }
    return reinterpret_cast<StringElement*>(found);
}

std::string ChronometerPanel::lowerText() {
    std::string shown = "?";
    int count = 0;
    for (Face face : {Face::clockText, Face::flightTimeText, Face::elapsedTimeText}) {
        if (hidden(face)) continue;
        shown = text(face);
        ++count;
    }
    return count == 1 ? shown : "?";
}
