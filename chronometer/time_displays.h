// The lower display's three time texts, and the flight-time and elapsed-time
// counters that run inside their callbacks.
#pragma once

#include "host_panel.h"

double HOST_CALL updateClockText(StringElement* element);
double HOST_CALL updateFlightTimeText(StringElement* element);
double HOST_CALL updateElapsedTimeText(StringElement* element);

// The blink cycle of the tick count: 18 ticks, lit in the first 9.
bool litHalf(double tickCount);
