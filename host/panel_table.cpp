// The host's side of the panel function table. Every entry is a plain
// routine over the active host; entries the host does not offer trap.
#include <cstdio>
#include <utility>

#include "element_walk.h"
#include "gauge_host.h"

namespace {

GaugeHost* currentHost = nullptr;

void record(const char* operation, const std::string& name, double value, const void* element = nullptr) {
    GaugeHost& host = activeHost();
    if (host.recordCalls) host.calls.push_back({operation, name, value, element});
}

std::string nameOf(int32_t id) {
    const NamedVariables& named = activeHost().named;
    return id > 0 && size_t(id) < named.names.size() ? named.names[size_t(id)] : std::string();
}

void HOST_CALL queryElementList(ElementHeader* root) { record("query", "", 0, root); }

void HOST_CALL installElementList(ElementHeader* root, uint32_t value) {
    record("install", "", value, root);
    installTextStorage(activeHost(), root);
}

void HOST_CALL initializeElementList(ElementHeader* root) { record("initialize", "", 0, root); }

void HOST_CALL updateElementList(ElementHeader* root) {
    record("update", "", 0, root);
    updateElements(activeHost(), root);
}

void HOST_CALL generateElementList(ElementHeader* root, uint32_t value) { record("generate", "", value, root); }

void HOST_CALL drawElementList(ElementHeader* root) {
    record("draw", "", 0, root);
    checkTextStorage(activeHost(), root);
}

void HOST_CALL killElementList(ElementHeader* root) {
    record("kill", "", 0, root);
    releaseTextStorage(activeHost(), root);
}

void HOST_CALL sendKeyEvent(uint32_t eventId, uint32_t value) {
    GaugeHost& host = activeHost();
    host.keyEvents.push_back({eventId, value});
    record("key", std::to_string(eventId), value);
    applyKeyEvent(host.variables.clock, eventId, value);
}

void HOST_CALL initializeModuleVariable(ModuleVariable* variable) {
    variable->varValue = hostVariable(activeHost().variables, variable->varId);
}

void HOST_CALL refreshModuleVariable(ModuleVariable* variable) {
    variable->varValue = hostVariable(activeHost().variables, variable->varId);
}

int32_t HOST_CALL lookupNamedVariable(const char* name) {
    record("lookup", name, 0.0);
    return lookupName(activeHost().named, name);
}

int32_t HOST_CALL registerNamedVariable(const char* name) {
    record("register", name, 0.0);
    return registerName(activeHost().named, name);
}

double HOST_CALL readNamedVariable(int32_t id) {
    double value = readVariable(activeHost().named, id);
    record("read", nameOf(id), value);
    return value;
}

void HOST_CALL writeNamedVariable(int32_t id, double value) {
    record("write", nameOf(id), value);
    writeVariable(activeHost().named, id, value);
}

// A routine the host does not offer: its arguments are unknown, so there is
// no safe way back into the module. Say which entry it was and stop.
template <int Position>
void HOST_CALL unofferedEntry() {
    std::fprintf(stderr, "gaugehost: the module called panel table entry %d, which the host does not offer\n",
                 Position);
    std::fflush(stderr);
    ExitProcess(70);
}

template <int... Index>
void fillTraps(void** entries, std::integer_sequence<int, Index...>) {
    ((entries[Index] = reinterpret_cast<void*>(&unofferedEntry<Index * 4>)), ...);
}

HostPanelTable buildTable() {
    HostPanelTable table;
    fillTraps(reinterpret_cast<void**>(&table), std::make_integer_sequence<int, sizeof(HostPanelTable) / 4>());
    table.queryElementList = queryElementList;
    table.installElementList = installElementList;
    table.initializeElementList = initializeElementList;
    table.updateElementList = updateElementList;
    table.generateElementList = generateElementList;
    table.drawElementList = drawElementList;
    table.killElementList = killElementList;
    table.sendKeyEvent = sendKeyEvent;
    table.initializeModuleVariable = initializeModuleVariable;
    table.refreshModuleVariable = refreshModuleVariable;
    table.lookupNamedVariable = lookupNamedVariable;
    table.registerNamedVariable = registerNamedVariable;
    table.readNamedVariable = readNamedVariable;
    table.writeNamedVariable = writeNamedVariable;
    return table;
}

}  // namespace

GaugeHost& activeHost() { return *currentHost; }
void makeActive(GaugeHost& host) { currentHost = &host; }

HostPanelTable* hostPanelTable() {
    static HostPanelTable table = buildTable();
    return &table;
}
