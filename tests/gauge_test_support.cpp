#include "gauge_test_support.h"

#include <windows.h>

#include <atomic>
#include <fstream>
#include <thread>

std::string gaugeModulePath(const std::string& moduleName) {
    return std::string(GAUGE_DIR) + "/" + moduleName + ".gau";
}

void writeTextFile(const std::filesystem::path& path, const std::string& text) {
    if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

ScratchFolder::ScratchFolder() : previous_(std::filesystem::current_path()) {
    static std::atomic<int> counter{0};
    folder_ = std::filesystem::temp_directory_path() /
              ("gaugetest-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(counter++));
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
    std::filesystem::current_path(folder_);
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::current_path(previous_, ignored);
    std::filesystem::remove_all(folder_, ignored);
}

HostedGauge::HostedGauge(const std::string& moduleName, const std::string& parameterText, bool openWindow) {
    host.recordCalls = true;
    std::string error;
    if (!loadGauge(host, gaugeModulePath(moduleName), "", parameterText, gauge, error)) {
        ADD_FAILURE() << error;
        return;
    }
    if (openWindow) openPanel(host, gauge);
}

HostedGauge::~HostedGauge() {
    unloadGauge(host, gauge);
    EXPECT_TRUE(host.errors.empty()) << host.errors.front();
}

void HostedGauge::cycles(int count) {
    for (int i = 0; i < count; ++i) runCycle(host, gauge);
}

void HostedGauge::cyclesFor(std::chrono::milliseconds duration) {
    cycleUntil([] { return false; }, duration);
}

bool HostedGauge::cycleUntil(const std::function<bool()>& condition, std::chrono::milliseconds deadline) {
    const auto period = std::chrono::microseconds(1000000 / 18);
    const auto end = std::chrono::steady_clock::now() + deadline;
    auto next = std::chrono::steady_clock::now();
    while (std::chrono::steady_clock::now() < end) {
        runCycle(host, gauge);
        if (condition()) return true;
        next += period;
        std::this_thread::sleep_until(next);
    }
    return false;
}

void HostedGauge::service(uint32_t serviceId) {
    makeActive(host);
    sendService(gauge, serviceId);
}

std::vector<std::string> HostedGauge::registrations() const {
    std::vector<std::string> names;
    for (const HostCallRecord& call : callsOf("register")) names.push_back(call.name);
    return names;
}

std::vector<HostCallRecord> HostedGauge::callsOf(const std::string& operation) const {
    std::vector<HostCallRecord> found;
    for (const HostCallRecord& call : host.calls)
        if (call.operation == operation) found.push_back(call);
    return found;
}
