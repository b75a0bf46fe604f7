#include "clock_state.h"

ClockState clockState = clockStateAtLoad;

int64_t truncateToInt64(double value) {
    if (!(value == value)) return 0;
    if (value >= 9223372036854775807.0) return INT64_MAX;
    if (value <= -9223372036854775808.0) return INT64_MIN;
    return int64_t(value);
}
