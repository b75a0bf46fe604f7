// The sound gauge's configuration, read on its first update from the INI file
// that its parameter text names, with the real profile-string reader.
#include <string>
#include <vector>

#include "gauge_test_support.h"

namespace {

std::vector<std::string> defaultSlotNames(int count) {
    std::vector<std::string> names;
    char name[32];
    for (int i = count - 1; i >= 0; --i) {
        std::snprintf(name, sizeof name, "vorn_xml_id_%02d", i);
        names.push_back(name);
    }
    return names;
}

std::vector<std::string> withStop(std::vector<std::string> names, const std::string& stop = "vorn_stop_sounds") {
    names.push_back(stop);
    return names;
}

TEST(SoundConfiguration, WorkedExampleRegistersInReverseSlotOrderThenStop) {
    ScratchFolder folder;
    writeTextFile("Gauges/cabin_sounds.ini",
                  "[Config]\nMaxSounds=3\nLvarStop=cabin_all_quiet\n\n"
                  "[Sounds]\nSound00=./Sound/Cabin/door_chime.wav\nSound02=./Sound/Cabin/fan_loop.wav\n\n"
                  "[LVars]\nLvar00=cabin_chime\nLvar01=cabin_click\n");
    HostedGauge hosted("TLO_sound", "./Gauges/cabin_sounds.ini");
    EXPECT_TRUE(hosted.registrations().empty()) << "nothing is registered before the first update";
    hosted.cycles(1);
    EXPECT_EQ(hosted.registrations(),
              (std::vector<std::string>{"vorn_xml_id_02", "cabin_click", "cabin_chime", "cabin_all_quiet"}));
    hosted.cycles(3);
    EXPECT_EQ(hosted.registrations().size(), 4u) << "the file is read once";
}

// Each registration is followed by a look-up of the same name.
TEST(SoundConfiguration, EveryRegistrationIsFollowedByItsLookup) {
    ScratchFolder folder;
    writeTextFile("./sounds.ini", "[Config]\nMaxSounds=2\n");
    HostedGauge hosted("TLO_sound", "./sounds.ini");
    hosted.host.calls.clear();
    hosted.cycles(1);
    std::vector<std::string> configuration;
    for (const HostCallRecord& call : hosted.host.calls) configuration.push_back(call.operation + " " + call.name);
    configuration.resize(6);  // the first poll follows
    EXPECT_EQ(configuration, (std::vector<std::string>{
                                 "register vorn_xml_id_01", "lookup vorn_xml_id_01", "register vorn_xml_id_00",
                                 "lookup vorn_xml_id_00", "register vorn_stop_sounds", "lookup vorn_stop_sounds"}));
}

struct CountCase {
    const char* line;  // the [Config] line, or empty for a file without the key
    int slots;
};

class MaxSounds : public ::testing::TestWithParam<CountCase> {};

TEST_P(MaxSounds, GivesTheNumberOfServedSlots) {
    ScratchFolder folder;
    writeTextFile("./sounds.ini", std::string("[Config]\n") + GetParam().line + "\n");
    HostedGauge hosted("TLO_sound", "./sounds.ini");
    hosted.cycles(1);
    EXPECT_EQ(hosted.registrations(), withStop(defaultSlotNames(GetParam().slots)));
}

INSTANTIATE_TEST_SUITE_P(Values, MaxSounds,
                         ::testing::Values(CountCase{"MaxSounds=250", 100}, CountCase{"MaxSounds=00050", 5},
                                           CountCase{"MaxSounds=12abc", 12}, CountCase{"MaxSounds=", 0},
                                           CountCase{"MaxSounds=-7", 0}, CountCase{"MaxSounds=  7", 7},
                                           CountCase{"maxsounds=4", 4}, CountCase{"", 100}));

TEST(SoundConfiguration, MissingOrEmptyParameterTextGivesTheDefaults) {
    ScratchFolder folder;
    for (const char* parameter : {"", "./Gauges/no_such_file.ini"}) {
        SCOPED_TRACE(parameter);
        HostedGauge hosted("TLO_sound", parameter);
        hosted.cycles(1);
        EXPECT_EQ(hosted.registrations(), withStop(defaultSlotNames(100)));
    }
}

TEST(SoundConfiguration, EmptyParameterTextReadsTheDefaultFile) {
    ScratchFolder folder;
    writeTextFile("Gauges/vorn_xml_sound.ini", "[Config]\nMaxSounds=1\nLvarStop=quiet\n");
    HostedGauge hosted("TLO_sound", "");
    hosted.cycles(1);
    EXPECT_EQ(hosted.registrations(), withStop(defaultSlotNames(1), "quiet"));
}

// A path too long for the gauge's 130-byte buffer is not cut into the name of
// another file: the gauge reads its default file instead.
TEST(SoundConfiguration, OverlongParameterTextFallsBackToTheDefaultFile) {
    ScratchFolder folder;
    writeTextFile("Gauges/vorn_xml_sound.ini", "[Config]\nMaxSounds=2\n");
    const struct {
        size_t length;
        size_t registrations;
    } cases[] = {{129, 6}, {130, 3}, {400, 3}};
    for (const auto& c : cases) {
        const std::string name(c.length - 6, 'x');
        const std::string path = "./" + name + ".ini";
        if (name.size() < 200) writeTextFile(name + ".ini", "[Config]\nMaxSounds=5\n");
        HostedGauge hosted("TLO_sound", path);
        hosted.cycles(1);
        EXPECT_EQ(hosted.registrations().size(), c.registrations) << "path of " << c.length << " characters";
    }
}

TEST(SoundConfiguration, EmptyValuesAndKeysBeyondTheCountGiveDefaults) {
    ScratchFolder folder;
    writeTextFile("./sounds.ini",
                  "[Config]\nMaxSounds=10\nLvarStop=\n[Sounds]\nSound07=\n[LVars]\nLvar07=\nLvar42=far_away\n"
                  "Lvar03=shared\nLvar05=shared\n");
    HostedGauge hosted("TLO_sound", "./sounds.ini");
    hosted.cycles(1);
    std::vector<std::string> expected = defaultSlotNames(10);
    expected[10 - 1 - 3] = "shared";
    expected[10 - 1 - 5] = "shared";
    EXPECT_EQ(hosted.registrations(), withStop(expected));
    // Both slots follow the one variable they share.
    EXPECT_EQ(hosted.host.named.ids.count("shared"), 1u);
    EXPECT_EQ(hosted.host.named.ids.count("far_away"), 0u);
}

TEST(SoundConfiguration, LongValuesAreCutTo127Characters) {
    ScratchFolder folder;
    const std::string longName(200, 'v');
    writeTextFile("./sounds.ini", "[Config]\nMaxSounds=1\nLvarStop=" + longName + "\n");
    HostedGauge hosted("TLO_sound", "./sounds.ini");
    hosted.cycles(1);
    EXPECT_EQ(hosted.registrations().back(), longName.substr(0, 127));
}

}  // namespace
