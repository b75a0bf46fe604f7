// What the tests share: the built modules, a scratch folder to work in, and a
// gauge loaded into a host of its own.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "gauge_host.h"

std::string gaugeModulePath(const std::string& moduleName);

void writeTextFile(const std::filesystem::path& path, const std::string& text);

// A fresh folder that is the current directory while the object lives, so a
// gauge's relative paths land in it.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    const std::filesystem::path& path() const { return folder_; }

private:
    std::filesystem::path previous_;
    std::filesystem::path folder_;
};

// A module loaded into its own host, panel open; closed and unloaded at the end.
class HostedGauge {
public:
    explicit HostedGauge(const std::string& moduleName, const std::string& parameterText = "",
                         bool openWindow = true);
    ~HostedGauge();

    void cycles(int count);
    // Cycles at the simulator's 18 Hz in real time.
    void cyclesFor(std::chrono::milliseconds duration);
    // Real-time cycles until the condition holds; false at the deadline.
    bool cycleUntil(const std::function<bool()>& condition, std::chrono::milliseconds deadline);
    void service(uint32_t serviceId);
    void set(const std::string& name, double value) { setNamedVariable(host, name, value); }
    double get(const std::string& name) const { return namedVariable(host, name); }
    // Names handed to registerNamedVariable, in order.
    std::vector<std::string> registrations() const;
    std::vector<HostCallRecord> callsOf(const std::string& operation) const;

    GaugeHost host;
    LoadedGauge gauge;
};
