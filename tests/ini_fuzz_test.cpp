// INI files and parameter texts of any shape: the configuration never writes
// past its buffers, registers sane names and never crashes.
#include <algorithm>
#include <cstring>

#include "fuzz_support.h"
#include "gauge_test_support.h"

namespace {

const char* const sections[] = {"Config", "Sounds", "LVars", "config", "SOUNDS", "Other", ""};
const char* const keys[] = {"MaxSounds", "LvarStop", "Sound00", "Sound07", "Lvar00", "Lvar99", "Lvar05", "Sound42"};

std::string mutatedIni(Fuzzer& f) {
    std::string ini;
    const int lines = int(f.below(40));
    for (int i = 0; i < lines; ++i) {
        switch (f.below(6)) {
            case 0: ini += "[" + std::string(sections[f.below(std::size(sections))]) + "]\n"; break;
            case 1: ini += f.bytes(f.below(300)) + "\n"; break;  // binary noise
            default: {
                const std::string key = f.chance(80) ? keys[f.below(std::size(keys))] : f.bytes(f.below(200));
                const size_t length = f.chance(30) ? 100 + f.below(400) : f.below(40);
                std::string value = f.chance(50) ? std::string(length, char('a' + f.below(26))) : f.bytes(length);
                if (f.chance(20)) value = std::to_string(int(f.below(300)) - 50);
                ini += key + "=" + value + "\n";
            }
        }
    }
    return ini;
}

bool sane(const std::string& name) { return name.size() <= 127 && name.find('\0') == std::string::npos; }

// Service 15 with another parameter text: the next update configures
// afresh, as after a reload of the module (no sound device is needed).
std::vector<std::string> reconfigure(HostedGauge& hosted, const std::string& parameter) {
    hosted.service(servicePanelClosed);
    hosted.gauge.parameterText = parameter;
    hosted.gauge.gauge->parameterText = hosted.gauge.parameterText.c_str();
    hosted.host.calls.clear();
    hosted.cycles(2);
    return hosted.registrations();
}

TEST(IniFuzz, ConfigurationSurvivesAnyFile) {
    ScratchFolder folder;
    const FuzzBudget budget = fuzzBudget(300, 60);
    Fuzzer fuzzer(budget.seed + 2);
    HostedGauge hosted("TLO_sound", "", false);
    const auto end = std::chrono::steady_clock::now() + budget.time;
    long tried = 0;
    for (; tried < budget.inputs && std::chrono::steady_clock::now() < end; ++tried) {
        writeTextFile("./fuzz.ini", mutatedIni(fuzzer));
        const std::vector<std::string> names = reconfigure(hosted, "./fuzz.ini");
        ASSERT_FALSE(names.empty()) << "the stop variable is always registered";
        ASSERT_LE(names.size(), 101u);
        for (const std::string& name : names) ASSERT_TRUE(sane(name)) << name.size() << " characters";
    }
    std::printf("  seed %u: %ld INI files tried\n", budget.seed + 2, tried);
}

TEST(IniFuzz, HugeFileAndDuplicates) {
    ScratchFolder folder;
    // Of duplicate keys and of duplicate sections the first counts.
    std::string ini = "[Config]\nMaxSounds=3\nMaxSounds=1\nLvarStop=first\nLvarStop=second\n"
                      "[Config]\nLvarStop=third\n[LVars]\n";
    while (ini.size() < (8u << 20)) ini += "Lvar01=" + std::string(200, 'z') + "\nNoise" + std::to_string(ini.size()) + "=x\n";
    writeTextFile("./huge.ini", ini);
    HostedGauge hosted("TLO_sound", "./huge.ini");
    hosted.cycles(1);
    const std::vector<std::string> names = hosted.registrations();
    ASSERT_EQ(names.size(), 4u);
    EXPECT_EQ(names[1], std::string(127, 'z'));
    EXPECT_EQ(names[3], "first");
}

TEST(IniFuzz, ParameterTextOfEveryLength) {
    ScratchFolder folder;
    writeTextFile("./Gauges/vorn_xml_sound.ini", "[Config]\nMaxSounds=1\n");
    HostedGauge hosted("TLO_sound", "", false);
    for (size_t length = 0; length <= 400; ++length) {
        const std::string parameter(length, length % 2 ? 'p' : '/');
        const size_t registered = reconfigure(hosted, parameter).size();
        // Too long, empty, or naming no file: the defaults of the default file.
        EXPECT_TRUE(registered == 2 || registered == 101) << "length " << length << ": " << registered;
    }
}

}  // namespace
