// The upper display: bus volts, or the outside air temperature in F or C.
#pragma once

#include "host_panel.h"

double HOST_CALL updateUpperText(StringElement* element);
int32_t HOST_CALL onOatVoltClick(PixelPoint* clickPoint, uint32_t eventFlags);
