// The SEL and CTRL buttons, the right click that enters set mode, and the
// long-press detector that resets the flight time.
#pragma once

#include "host_panel.h"

int32_t HOST_CALL onSelClick(PixelPoint* clickPoint, uint32_t eventFlags);
int32_t HOST_CALL onCtrlClick(PixelPoint* clickPoint, uint32_t eventFlags);
int32_t HOST_CALL onSetModeClick(PixelPoint* clickPoint, uint32_t eventFlags);

// One call per service 6 while flight time is shown.
void ctrlHoldTick();

constexpr uint32_t ctrlCallsForReset = 38;
constexpr uint8_t ctrlQuietTicksEndingPress = 19;
