// gaugehost's window: a gauge on the desktop, driven at 18 Hz, drawn with the
// same renderer as the PNG output, and clicked with the mouse.
#pragma once

#include <string>

struct WindowOptions {
    std::string module;
    std::string gauge;
    std::string parameter;
    int scale = 4;
    bool trace = false;  // print every text a gauge writes, as it changes
};

int runGaugeWindow(const WindowOptions& options);
