// The chronometer's service callback and the backlight of its display.
#pragma once

#include "host_panel.h"

void HOST_CALL clockGaugeCallback(GaugeHeader* gauge, uint32_t serviceId, uint32_t extra);
double HOST_CALL updateBacklight(IconElement* element);
