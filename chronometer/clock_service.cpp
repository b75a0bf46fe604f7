#include "clock_service.h"

#include "clock_buttons.h"
#include "clock_face.h"
#include "clock_state.h"
#include "gauge_module.h"

namespace {

ClockState& s = clockState;

// The face's elements, reached afresh through the header's links.
ElementHeader* childOf(ElementHeader* element, int index) { return element->children[index]; }
ElementHeader* displayBackingOf(GaugeHeader* gauge) { return childOf(gauge->elementList[0], 0); }
ElementHeader* clockTextOf(GaugeHeader* gauge) { return childOf(childOf(displayBackingOf(gauge), 0), 0); }
ElementHeader* flightTimeTextOf(GaugeHeader* gauge) { return childOf(clockTextOf(gauge), 0); }
ElementHeader* elapsedTimeTextOf(GaugeHeader* gauge) { return childOf(flightTimeTextOf(gauge), 0); }
ElementHeader* timeModeLabelOf(GaugeHeader* gauge) { return childOf(elapsedTimeTextOf(gauge), 1); }
ElementHeader* timerModeLabelOf(GaugeHeader* gauge) { return childOf(elapsedTimeTextOf(gauge), 2); }

void show(ElementHeader* element, bool shown) {
    if (shown) element->imageFlags &= ~imageFlagHidden;
    else element->imageFlags |= imageFlagHidden;
}

void copyTime(ClockTimeVariable hours, ClockTimeVariable minutes) {
    s.clockHours = lowByte(clockTimeVariables[hours].varValue);
    s.clockMinutes = lowByte(clockTimeVariables[minutes].varValue);
}

void showLowerMode(GaugeHeader* gauge) {
    if (s.lowerMode > lowerEt) return;
    const bool clock = s.lowerMode == lowerUt || s.lowerMode == lowerLt;
    show(clockTextOf(gauge), clock);
    show(flightTimeTextOf(gauge), s.lowerMode == lowerFt);
    show(elapsedTimeTextOf(gauge), s.lowerMode == lowerEt);
    show(timeModeLabelOf(gauge), clock);
    show(timerModeLabelOf(gauge), !clock);
}

void beforeUpdate(GaugeHeader* gauge) {
    for (ModuleVariable& variable : clockTimeVariables) hostPanel().refreshModuleVariable(&variable);
    if (s.setStep == 0 && s.lowerMode == lowerUt) copyTime(zuluHourVar, zuluMinuteVar);
    if (s.setStep == 0 && s.lowerMode == lowerLt) copyTime(localHourVar, localMinuteVar);
    showLowerMode(gauge);
    if (s.lowerMode == lowerFt) ctrlHoldTick();
}

void beforeDraw(GaugeHeader* gauge) {
    ElementHeader* backing = displayBackingOf(gauge);
    if (s.backlightValue == 0.0) backing->imageFlags &= ~imageFlagBright;
    else backing->imageFlags |= imageFlagBright;
}

}  // namespace

void HOST_CALL clockGaugeCallback(GaugeHeader* gauge, uint32_t serviceId, uint32_t) {
    switch (serviceId) {
        case serviceAfterInstall:
            for (ModuleVariable& variable : clockTimeVariables) hostPanel().initializeModuleVariable(&variable);
            break;
        case serviceBeforeUpdate: beforeUpdate(gauge); break;
        case serviceBeforeDraw: beforeDraw(gauge); break;
        default: break;
    }
}

double HOST_CALL updateBacklight(IconElement* element) {
    s.backlightValue = element->source.varValue == 0.0 ? 0.0 : 1.0;
    return s.backlightValue;
}
