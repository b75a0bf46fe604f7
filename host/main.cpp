// gaugehost's command line: load a module, run its panel for a while, set and
// print named variables.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "gauge_host.h"

namespace {

const char usage[] =
    "usage: gaugehost run MODULE.gau [--gauge NAME] [--param TEXT] [--cycles N]\n"
    "                     [--set NAME=VALUE]... [--print NAME]...\n"
    "  Loads MODULE.gau, opens its panel window, sets the named variables,\n"
    "  runs N panel cycles (default 1), prints the named variables asked for,\n"
    "  then closes the panel and unloads the module.\n";

struct RunOptions {
    std::string module;
    std::string gauge;
    std::string parameter;
    long cycles = 1;
    std::vector<std::pair<std::string, double>> sets;
    std::vector<std::string> prints;
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
        else if (word == "--cycles") {
            if (!parseNumber(next, number) || number < 0) return error = "bad cycle count: " + std::string(next), false;
            options.cycles = long(number);
        } else if (word == "--set") {
            const char* equals = std::strchr(next, '=');
            if (!equals || !parseNumber(equals + 1, number)) return error = "bad --set (NAME=VALUE): " + std::string(next), false;
            options.sets.emplace_back(std::string(next, equals), number);
        } else if (word == "--print") options.prints.push_back(next);
        else return error = "unknown option " + word, false;
    }
    if (options.module.empty()) return error = "no module given", false;
    return true;
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
    for (const auto& [name, value] : options.sets) setNamedVariable(host, name, value);
    for (long i = 0; i < options.cycles; ++i) runCycle(host, loaded);
    for (const std::string& name : options.prints) std::printf("%s=%g\n", name.c_str(), namedVariable(host, name));
    unloadGauge(host, loaded);
    for (const std::string& problem : host.errors) std::fprintf(stderr, "gaugehost: %s\n", problem.c_str());
    return host.errors.empty() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || std::strcmp(argv[1], "run") != 0) {
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
