// The face of the gauge "D803": its element tree, mouse areas, failure list
// and the four time variables, all static data; and the mode labels.
#pragma once

#include "host_panel.h"

// The host's clock, read through these four records in this order.
enum ClockTimeVariable { localHourVar, localMinuteVar, zuluHourVar, zuluMinuteVar, clockTimeVariableCount };
extern ModuleVariable clockTimeVariables[clockTimeVariableCount];

double HOST_CALL updateTimeModeLabel(StringElement* element);
double HOST_CALL updateTimerModeLabel(StringElement* element);
