#include "gauge_host.h"

#include <cstring>

#include "element_walk.h"

namespace {

const char mainWindowClass[] = "FS98MAIN";

// The simulator's main window: modules look it up by class name.
HWND createMainWindow() {
    HWND existing = FindWindowA(mainWindowClass, nullptr);
    if (existing != nullptr) return nullptr;
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = mainWindowClass;
    RegisterClassA(&windowClass);
    return CreateWindowExA(0, mainWindowClass, "gaugehost", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                           windowClass.hInstance, nullptr);
}

GaugeHeader* findGauge(Linkage* linkage, const std::string& gaugeName) {
    for (GaugeHeader* gauge : linkage->gaugeList) {
        if (gauge == nullptr) break;
        if (gaugeName.empty() || (gauge->gaugeName && gaugeName == gauge->gaugeName)) return gauge;
    }
    return nullptr;
}

bool fail(std::string& error, const std::string& message) {
    error = message;
    return false;
}

}  // namespace

bool loadGauge(GaugeHost& host, const std::string& path, const std::string& gaugeName,
               const std::string& parameterText, LoadedGauge& loaded, std::string& error) {
    makeActive(host);
    if (host.mainWindow == nullptr) host.mainWindow = createMainWindow();
    HMODULE module = LoadLibraryA(path.c_str());
    if (module == nullptr) return fail(error, "cannot load module " + path + " (error " + std::to_string(GetLastError()) + ")");
    auto* linkage = reinterpret_cast<Linkage*>(GetProcAddress(module, "Linkage"));
    auto* imports = reinterpret_cast<ImportTable*>(GetProcAddress(module, "ImportTable"));
    GaugeHeader* gauge = linkage ? findGauge(linkage, gaugeName) : nullptr;
    std::string problem;
    if (linkage == nullptr) problem = "exports no Linkage";
    else if (imports == nullptr) problem = "exports no ImportTable";
    else if (imports->panel.importId != panelTableImportId) problem = "has no panel table entry in its ImportTable";
    else if (gauge == nullptr) problem = gaugeName.empty() ? "offers no gauge" : "has no gauge named " + gaugeName;
    if (!problem.empty()) {
        FreeLibrary(module);
        return fail(error, "module " + path + " " + problem);
    }
    imports->panel.tablePointer = hostPanelTable();
    loaded = LoadedGauge{module, linkage, imports, gauge, parameterText, false};
    if (linkage->initRoutine) linkage->initRoutine();
    gauge->parameterText = loaded.parameterText.c_str();
    return true;
}

void unloadGauge(GaugeHost& host, LoadedGauge& loaded) {
    if (loaded.module == nullptr) return;
    makeActive(host);
    if (loaded.panelOpen) closePanel(host, loaded);
    if (loaded.linkage->deinitRoutine) loaded.linkage->deinitRoutine();
    FreeLibrary(loaded.module);
    loaded = LoadedGauge{};
}

void sendService(LoadedGauge& loaded, uint32_t serviceId) {
    if (loaded.gauge->serviceCallback) loaded.gauge->serviceCallback(loaded.gauge, serviceId, 0);
}

void openPanel(GaugeHost& host, LoadedGauge& loaded) {
    makeActive(host);
    GaugeHeader* gauge = loaded.gauge;
    if (gauge->queryRoutine) gauge->queryRoutine();
    if (gauge->installRoutine) gauge->installRoutine(0);
    sendService(loaded, serviceAfterInstall);
    if (gauge->initializeRoutine) gauge->initializeRoutine();
    sendService(loaded, servicePanelOpened);
    loaded.panelOpen = true;
}

void runCycle(GaugeHost& host, LoadedGauge& loaded) {
    makeActive(host);
    GaugeHeader* gauge = loaded.gauge;
    sendService(loaded, serviceBeforeUpdate);
    if (gauge->updateRoutine) gauge->updateRoutine();
    sendService(loaded, serviceBeforeDraw);
    if (gauge->drawRoutine) gauge->drawRoutine();
    advanceClock(host.variables.clock);
    ++host.cycles;
}

void closePanel(GaugeHost& host, LoadedGauge& loaded) {
    makeActive(host);
    sendService(loaded, servicePanelClosed);
    if (loaded.gauge->killRoutine) loaded.gauge->killRoutine();
    loaded.panelOpen = false;
}

const MouseArea* mouseAreaAt(const LoadedGauge& loaded, int x, int y, uint32_t eventFlags) {
    for (const MouseArea* area = loaded.gauge->mouseAreas; area && area->areaKind != mouseListEnd; ++area) {
        if (area->areaKind != mouseArea || (area->eventFlags & eventFlags) == 0) continue;
        if (x >= area->x && x < area->x + area->width && y >= area->y && y < area->y + area->height) return area;
    }
    return nullptr;
}

bool clickGauge(LoadedGauge& loaded, int x, int y, uint32_t eventFlags) {
    const MouseArea* area = mouseAreaAt(loaded, x, y, eventFlags);
    if (area == nullptr || area->handler == nullptr) return false;
    PixelPoint point{x, y};
    area->handler(&point, eventFlags);
    return true;
}

std::string elementText(GaugeHost& host, const StringElement* element) {
    auto found = host.texts.find(element);
    if (found == host.texts.end()) return std::string();
    const TextStorage& storage = found->second;
    return std::string(storage.bytes.data(), strnlen(storage.bytes.data(), storage.capacity));
}

void setNamedVariable(GaugeHost& host, const std::string& name, double value) {
    writeVariable(host.named, registerName(host.named, name), value);
}

double namedVariable(const GaugeHost& host, const std::string& name) {
    return readVariable(host.named, lookupName(host.named, name));
}
