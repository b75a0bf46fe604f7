// gaugehost: loads a gauge module, hands it the panel table and drives it
// through the panel's life the way the simulator does.
#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "host_clock.h"
#include "host_panel.h"
#include "named_variables.h"

struct KeyEventRecord {
    uint32_t eventId;
    uint32_t value;
};

// One host call as a test or a script may want to see it.
struct HostCallRecord {
    std::string operation;  // "register", "lookup", "read", "write", "key", or an element-list operation
    std::string name;       // the variable's name, where there is one
    double value = 0.0;
    const void* element = nullptr;  // the root element of an element-list operation
};

// Storage the host gives a string element: charCount + 1 bytes, then guards.
struct TextStorage {
    std::vector<char> bytes;
    size_t capacity = 0;
};

constexpr size_t textGuardBytes = 16;
constexpr char textGuardByte = char(0xA5);

struct LoadedGauge {
    HMODULE module = nullptr;
    Linkage* linkage = nullptr;
    ImportTable* imports = nullptr;
    GaugeHeader* gauge = nullptr;
    std::string parameterText;
    bool panelOpen = false;
};

struct GaugeHost {
    NamedVariables named;
    HostVariables variables;
    std::vector<KeyEventRecord> keyEvents;
    std::vector<HostCallRecord> calls;
    bool recordCalls = false;
    std::vector<std::string> errors;  // overruns and calls the host does not offer
    std::map<const StringElement*, TextStorage> texts;
    std::map<const IconElement*, double> iconResults;
    HWND mainWindow = nullptr;
    uint64_t cycles = 0;
};

// The host whose table the loaded modules call; set by makeActive.
GaugeHost& activeHost();
void makeActive(GaugeHost& host);

// The host's panel function table, with a trap in every entry it does not offer.
HostPanelTable* hostPanelTable();

// Loads the module, checks its import entry, writes the panel table into it
// and finds the named gauge (empty: the first). On failure says why.
bool loadGauge(GaugeHost& host, const std::string& path, const std::string& gaugeName,
               const std::string& parameterText, LoadedGauge& loaded, std::string& error);
void unloadGauge(GaugeHost& host, LoadedGauge& loaded);

// The panel window's life: install, service 3, initialise, service 14 ...
void openPanel(GaugeHost& host, LoadedGauge& loaded);
// ... one cycle: service 6, update of every element, service 10, draw ...
void runCycle(GaugeHost& host, LoadedGauge& loaded);
// ... and service 15, then the kill routine.
void closePanel(GaugeHost& host, LoadedGauge& loaded);

void sendService(LoadedGauge& loaded, uint32_t serviceId);

// Mouse routing: the first area of the gauge's list whose box holds the point
// and whose flags ask for the event gets it. Returns false when none does.
bool clickGauge(LoadedGauge& loaded, int x, int y, uint32_t eventFlags);
const MouseArea* mouseAreaAt(const LoadedGauge& loaded, int x, int y, uint32_t eventFlags);

// Text the host holds for a string element, as it would draw it.
std::string elementText(GaugeHost& host, const StringElement* element);

// Named variables as a panel's other gauges see them.
void setNamedVariable(GaugeHost& host, const std::string& name, double value);
double namedVariable(const GaugeHost& host, const std::string& name);
