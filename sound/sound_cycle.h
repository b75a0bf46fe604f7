// The sound gauge's service callback: configuration, the per-update poll of
// the slot variables, the stop pass, and shutdown when the panel closes.
#pragma once

#include <cstdint>

#include "host_panel.h"

void HOST_CALL soundGaugeCallback(GaugeHeader* gauge, uint32_t serviceId, uint32_t extra);

// A variable's value as a slot reads it: truncated toward zero; a value with
// no 32-bit integer (NaN, infinities, out of range) reads as INT32_MIN, which
// is no request, as the processor's own conversion would give.
int32_t slotValueFromVariable(double value);
