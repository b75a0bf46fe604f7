// gaugehost's command line: load a module, run its panel for a while, set and
// print named variables.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include <fstream>
#include <iostream>
#include <sstream>

#include "gauge_host.h"
#include "gauge_renderer.h"
#include "gauge_window.h"
#include "scenario.h"

namespace {

const char usage[] =
    "usage: gaugehost window MODULE.gau [GAUGE] [--param TEXT] [--scale N] [--trace]\n"
    "  Shows the gauge in a window: click it, hold its buttons, change host values\n"
    "  and named variables with the keys listed beside it.\n"
    "usage: gaugehost script FILE\n"
    "  Runs a scenario script (see docs/gaugehost.md); exits 1 when an expectation\n"
    "  fails, 2 on an error in the script.\n"
    "usage: gaugehost render MODULE.gau OUT.png [--gauge NAME] [--param TEXT]\n"
    "                        [--cycles N] [--scale N] [--night] [--language 1033|1049]\n"
    "                        [--font NAME=FAMILY[@FONTFILE]]...\n"
    "  Opens the panel, runs N cycles (default 1) and draws the gauge into OUT.png.\n"
    "usage: gaugehost run MODULE.gau [--gauge NAME] [--param TEXT] STEP...\n"
    "  Loads MODULE.gau and opens its panel window, then takes the steps in order:\n"
    "    --set NAME=VALUE   write a named variable\n"
    "    --cycles N         run N panel cycles as fast as they go\n"
    "    --seconds S        run panel cycles at 18 Hz for S seconds of real time\n"
    "    --print NAME       print a named variable as NAME=VALUE\n"
    "  then closes the panel and unloads the module. Without steps: one cycle.\n";

struct RunStep {
    std::string kind;  // "set", "cycles", "seconds", "print"
    std::string name;
    double number = 0;
};

struct RunOptions {
    std::string module;
    std::string gauge;
    std::string parameter;
    std::vector<RunStep> steps;
};

bool parseNumber(const char* text, double& value) {
    char* end = nullptr;
    value = std::strtod(text, &end);
    return end != text && *end == '\0';
}

bool parseRun(int argc, char** argv, RunOptions& options, std::string& error) {
    for (int i = 2; i < argc; ++i) {
        std::string word = argv[i];
        const char* next = i + 1 < argc ? argv[i + 1] : nullptr;
        if (word.rfind("--", 0) != 0) {
            if (!options.module.empty()) return error = "more than one module: " + word, false;
            options.module = word;
            continue;
        }
        if (next == nullptr) return error = word + " needs a value", false;
        ++i;
        double number = 0;
        if (word == "--gauge") options.gauge = next;
        else if (word == "--param") options.parameter = next;
        else if (word == "--cycles" || word == "--seconds") {
            if (!parseNumber(next, number) || !(number >= 0)) return error = "bad number for " + word + ": " + next, false;
            options.steps.push_back({word.substr(2), "", number});
        } else if (word == "--set") {
            const char* equals = std::strchr(next, '=');
            if (!equals || !parseNumber(equals + 1, number)) return error = "bad --set (NAME=VALUE): " + std::string(next), false;
            options.steps.push_back({"set", std::string(next, equals), number});
        } else if (word == "--print") options.steps.push_back({"print", next, 0});
        else return error = "unknown option " + word, false;
    }
    if (options.module.empty()) return error = "no module given", false;
    return true;
}

void runRealTime(GaugeHost& host, LoadedGauge& loaded, double seconds) {
    const double period = 1000.0 / cyclesPerSecond;
    const DWORD start = GetTickCount();
    for (long i = 0; i < long(seconds * cyclesPerSecond); ++i) {
        runCycle(host, loaded);
        const double due = (i + 1) * period;
        const double now = double(GetTickCount() - start);
        if (due > now) Sleep(DWORD(due - now));
    }
}

void takeStep(GaugeHost& host, LoadedGauge& loaded, const RunStep& step) {
    if (step.kind == "set") setNamedVariable(host, step.name, step.number);
    if (step.kind == "cycles")
        for (long i = 0; i < long(step.number); ++i) runCycle(host, loaded);
    if (step.kind == "seconds") runRealTime(host, loaded, step.number);
    if (step.kind == "print") {
        std::printf("%s=%g\n", step.name.c_str(), namedVariable(host, step.name));
        std::fflush(stdout);
    }
}

int run(const RunOptions& options) {
    static GaugeHost host;
    LoadedGauge loaded;
    std::string error;
    if (!loadGauge(host, options.module, options.gauge, options.parameter, loaded, error)) {
        std::fprintf(stderr, "gaugehost: %s\n", error.c_str());
        return 2;
    }
    openPanel(host, loaded);
    std::vector<RunStep> steps = options.steps;
    if (steps.empty()) steps.push_back({"cycles", "", 1});
    for (const RunStep& step : steps) takeStep(host, loaded, step);
    unloadGauge(host, loaded);
    for (const std::string& problem : host.errors) std::fprintf(stderr, "gaugehost: %s\n", problem.c_str());
    return host.errors.empty() ? 0 : 1;
}

int runScript(const char* path) {
    std::ifstream script(path);
    if (!script) {
        std::fprintf(stderr, "gaugehost: cannot read script %s\n", path);
        return scenarioError;
    }
    return runScenario(script, path, std::cout, std::cerr);
}

int windowCommand(int argc, char** argv) {
    WindowOptions options;
    for (int i = 2; i < argc; ++i) {
        const std::string word = argv[i];
        const bool hasValue = i + 1 < argc;
        if (word == "--param" && hasValue) options.parameter = argv[++i];
        else if (word == "--scale" && hasValue) options.scale = std::max(1, std::atoi(argv[++i]));
        else if (word == "--trace") options.trace = true;
        else if (word.rfind("--", 0) == 0) {
            std::fprintf(stderr, "gaugehost: unknown window option %s\n%s", word.c_str(), usage);
            return 2;
        } else if (options.module.empty()) options.module = word;
        else options.gauge = word;
    }
    if (options.module.empty()) {
        std::fputs(usage, stderr);
        return 2;
    }
    return runGaugeWindow(options);
}

// --font NAME=FAMILY[@FILE] as a script line.
std::string fontCommand(const std::string& mapping) {
    const size_t equals = mapping.find('=');
    if (equals == std::string::npos) return "font \"" + mapping + "\"\n";  // the script reports the usage
    const size_t at = mapping.find('@', equals);
    std::string line = "font \"" + mapping.substr(0, equals) + "\" \"" +
                       mapping.substr(equals + 1, at == std::string::npos ? std::string::npos : at - equals - 1) + "\"";
    if (at != std::string::npos) line += " \"" + mapping.substr(at + 1) + "\"";
    return line + "\n";
}

// render is a script of its own: load, open, cycles, render.
int renderCommand(int argc, char** argv) {
    if (argc < 4) {
        std::fputs(usage, stderr);
        return 2;
    }
    std::ostringstream script;
    std::string fonts;
    std::string load = std::string("load \"") + argv[2] + "\"", cycles = "1", render = std::string("render \"") + argv[3] + "\"";
    for (int i = 4; i < argc; ++i) {
        const std::string word = argv[i];
        const bool hasValue = i + 1 < argc;
        if (word == "--night") render += " night";
        else if (word == "--gauge" && hasValue) load += std::string(" gauge \"") + argv[++i] + "\"";
        else if (word == "--param" && hasValue) load += std::string(" param \"") + argv[++i] + "\"";
        else if (word == "--cycles" && hasValue) cycles = argv[++i];
        else if (word == "--scale" && hasValue) render += std::string(" scale ") + argv[++i];
        else if (word == "--language" && hasValue) render += std::string(" language ") + argv[++i];
        else if (word == "--font" && hasValue) fonts += fontCommand(argv[++i]);
        else {
            std::fprintf(stderr, "gaugehost: unknown render option %s\n%s", word.c_str(), usage);
            return 2;
        }
    }
    script << fonts << load << "\nopen\ncycles " << cycles << "\n" << render << "\n";
    std::istringstream lines(script.str());
    return runScenario(lines, "render", std::cout, std::cerr);
}

}  // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "script" && argc == 3) return runScript(argv[2]);
    if (command == "render") return renderCommand(argc, argv);
    if (command == "window") return windowCommand(argc, argv);
    if (command != "run") {
        std::fputs(usage, argc < 2 ? stdout : stderr);
        return argc < 2 ? 0 : 2;
    }
    RunOptions options;
    std::string error;
    if (!parseRun(argc, argv, options, error)) {
        std::fprintf(stderr, "gaugehost: %s\n%s", error.c_str(), usage);
        return 2;
    }
    return run(options);
}
