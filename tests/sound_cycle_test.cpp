// The sound gauge end to end through gaugehost: named-variable requests play,
// loop and stop real sounds; one-shot variables come back to 0.
#include <cmath>
#include <limits>

#include "gauge_test_support.h"
#include "sound_slot_names.h"
#include "wav_builder.h"

namespace {

using namespace std::chrono_literals;

constexpr auto generous = 15s;

class SoundCycle : public ::testing::Test {
protected:
    void SetUp() override {
        writeTextFile("./Gauges/sounds.ini", "[Config]\nMaxSounds=10\n");
        for (int slot : {0, 1, 2}) writeBinaryFile(slotFile(slot), toneWave(0.3));
        writeBinaryFile(slotFile(3), toneWave(30.0));  // plays far longer than any test
        hosted = std::make_unique<HostedGauge>("TLO_sound", "./Gauges/sounds.ini");
        hosted->cycles(1);
    }
    void TearDown() override { hosted.reset(); }

    void set(int slot, double value) { hosted->set(slotVariable(slot), value); }
    double get(int slot) const { return hosted->get(slotVariable(slot)); }
    bool backToZero(int slot) {
        return hosted->cycleUntil([&] { return get(slot) == 0.0; }, generous);
    }
    // Whether the slot plays, as the stop variable sees it: the stop pass
    // writes 0 only into the variables of slots that play. It stops them all.
    bool playing(int slot) {
        const double before = get(slot);
        hosted->set("vorn_stop_sounds", 1.0);
        hosted->cycles(1);
        const bool wasPlaying = get(slot) == 0.0 && before != 0.0;
        EXPECT_EQ(hosted->get("vorn_stop_sounds"), 0.0);
        return wasPlaying;
    }

    ScratchFolder folder;
    std::unique_ptr<HostedGauge> hosted;
};

TEST_F(SoundCycle, PlayOnceWritesZeroAfterTheSoundHasEnded) {
    set(0, 1.0);
    hosted->cycles(3);
    EXPECT_EQ(get(0), 1.0) << "the variable stays 1 while the sound plays";
    const auto started = std::chrono::steady_clock::now();
    ASSERT_TRUE(backToZero(0));
    EXPECT_GT(std::chrono::steady_clock::now() - started, 100ms);
    set(0, 1.0);
    hosted->cycles(1);
    EXPECT_EQ(get(0), 1.0) << "a new request plays again";
    EXPECT_TRUE(backToZero(0));
}

struct ValueCase {
    double value;
    const char* meaning;  // "once", "loop", "nothing"
};

class SlotValue : public SoundCycle, public ::testing::WithParamInterface<ValueCase> {};

TEST_P(SlotValue, IsTruncatedTowardZero) {
    const ValueCase c = GetParam();
    set(1, c.value);
    hosted->cyclesFor(900ms);  // three times the sound's length
    const std::string meaning = c.meaning;
    if (meaning == "once") {
        EXPECT_TRUE(backToZero(1));
    } else if (meaning == "loop") {
        EXPECT_EQ(get(1), c.value);
        EXPECT_TRUE(playing(1));
    } else {
        EXPECT_FALSE(playing(1));
        EXPECT_TRUE(get(1) == c.value || (std::isnan(c.value) && std::isnan(get(1))));
    }
}

const double nan = std::numeric_limits<double>::quiet_NaN();
const double infinity = std::numeric_limits<double>::infinity();

INSTANTIATE_TEST_SUITE_P(
    Values, SlotValue,
    ::testing::Values(ValueCase{1.0, "once"}, ValueCase{1.9, "once"}, ValueCase{2.0, "loop"}, ValueCase{2.5, "loop"},
                      ValueCase{0.99, "nothing"}, ValueCase{-0.5, "nothing"}, ValueCase{-1.0, "nothing"},
                      ValueCase{3.0, "nothing"}, ValueCase{nan, "nothing"}, ValueCase{infinity, "nothing"},
                      ValueCase{-infinity, "nothing"}, ValueCase{4294967297.0, "nothing"},
                      ValueCase{-4294967294.0, "nothing"}, ValueCase{1e300, "nothing"}));

TEST_F(SoundCycle, ZeroOrAFractionStopsALoop) {
    for (double stop : {0.0, 0.99, -0.5}) {
        SCOPED_TRACE(stop);
        set(2, 2.0);
        hosted->cyclesFor(500ms);
        set(2, stop);
        hosted->cycles(1);
        set(2, 3.0);  // no request: the probe below must not start it again
        EXPECT_FALSE(playing(2));
        set(2, 0.0);
        hosted->cycles(1);
    }
}

TEST_F(SoundCycle, OneWhileLoopingKeepsTheLoop) {
    set(1, 2.0);
    hosted->cyclesFor(200ms);
    set(1, 1.0);
    hosted->cyclesFor(900ms);
    EXPECT_EQ(get(1), 1.0) << "the loop never ends, so the request never completes";
    EXPECT_TRUE(playing(1));
}

TEST_F(SoundCycle, TwoDuringAOneShotLoopsAfterItEnds) {
    set(0, 1.0);
    hosted->cycles(1);
    set(0, 2.0);
    hosted->cyclesFor(1200ms);
    EXPECT_EQ(get(0), 2.0);
    EXPECT_TRUE(playing(0));
}

TEST_F(SoundCycle, ThreeDuringAOneShotLeavesItEndedThenOneOnlyCompletes) {
    set(0, 1.0);
    hosted->cycles(1);
    set(0, 3.0);
    hosted->cyclesFor(900ms);
    EXPECT_EQ(get(0), 3.0);
    set(0, 1.0);
    hosted->cycles(1);
    EXPECT_EQ(get(0), 0.0) << "the ended sound completes the request at once, without playing";
    set(0, 1.0);
    hosted->cycles(2);
    EXPECT_EQ(get(0), 1.0) << "the next request plays";
    EXPECT_TRUE(backToZero(0));
}

TEST_F(SoundCycle, StopVariableSilencesEverythingOnlyAboveZero) {
    set(1, 2.0);
    set(2, 2.0);
    set(5, 1.0);  // no file for slot 5: it waits and keeps its request
    hosted->cyclesFor(300ms);

    hosted->set("vorn_stop_sounds", -1.0);
    hosted->cycles(2);
    EXPECT_EQ(hosted->get("vorn_stop_sounds"), -1.0);
    EXPECT_EQ(get(1), 2.0);

    hosted->set("vorn_stop_sounds", 0.5);
    hosted->cycles(1);
    EXPECT_EQ(hosted->get("vorn_stop_sounds"), 0.0);
    EXPECT_EQ(get(1), 0.0);
    EXPECT_EQ(get(2), 0.0);
    EXPECT_EQ(get(5), 1.0);
}

TEST_F(SoundCycle, RequestAndStopInOneUpdateBothEndAtZero) {
    set(3, 1.0);
    hosted->set("vorn_stop_sounds", 1.0);
    hosted->cycles(1);
    EXPECT_EQ(get(3), 0.0);
    EXPECT_EQ(hosted->get("vorn_stop_sounds"), 0.0);
    hosted->cycles(2);
    EXPECT_EQ(get(3), 0.0);
}

TEST_F(SoundCycle, MissingFileIsTriedAgainEveryUpdate) {
    set(6, 1.0);
    hosted->cyclesFor(300ms);
    EXPECT_EQ(get(6), 1.0);
    writeBinaryFile(slotFile(6), toneWave(0.2));
    EXPECT_TRUE(backToZero(6)) << "the file that appeared is loaded and played";
}

TEST_F(SoundCycle, FileThatIsNoWaveCountsAsPlayingUntilStopped) {
    writeBinaryFile(slotFile(7), "this is not a RIFF file at all");
    set(7, 1.0);
    hosted->cyclesFor(500ms);
    EXPECT_EQ(get(7), 1.0);
    EXPECT_TRUE(playing(7));
    EXPECT_EQ(get(7), 0.0);
}

TEST_F(SoundCycle, ShutdownLeavesVariablesAndReleasesFiles) {
    set(3, 1.0);
    set(1, 2.0);
    hosted->cyclesFor(200ms);
    std::error_code error;
    EXPECT_FALSE(std::filesystem::remove(slotFile(3), error)) << "a loaded slot keeps its file open";
    closePanel(hosted->host, hosted->gauge);
    EXPECT_EQ(get(3), 1.0);
    EXPECT_EQ(get(1), 2.0);
    EXPECT_TRUE(std::filesystem::remove(slotFile(3))) << "shutdown closes every reader";
    EXPECT_TRUE(std::filesystem::remove(slotFile(1)));
}

TEST_F(SoundCycle, SoundsWorkAgainAfterThePanelWindowReopens) {
    set(0, 1.0);
    ASSERT_TRUE(backToZero(0));
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        closePanel(hosted->host, hosted->gauge);
        hosted->service(servicePanelClosed);  // a second close finds nothing to release
        openPanel(hosted->host, hosted->gauge);
        hosted->cycles(1);
        set(0, 1.0);
        hosted->cycles(2);
        EXPECT_EQ(get(0), 1.0);
        EXPECT_TRUE(backToZero(0));
    }
}

TEST(SoundCycleWithoutSlots, StopVariableIsStillServed) {
    ScratchFolder folder;
    writeTextFile("./none.ini", "[Config]\nMaxSounds=0\n");
    HostedGauge hosted("TLO_sound", "./none.ini");
    hosted.cycles(1);
    hosted.set("vorn_xml_id_00", 1.0);
    hosted.set("vorn_stop_sounds", 7.0);
    hosted.host.calls.clear();
    hosted.cycles(1);
    EXPECT_EQ(hosted.get("vorn_stop_sounds"), 0.0);
    EXPECT_EQ(hosted.get("vorn_xml_id_00"), 1.0);
    EXPECT_EQ(hosted.callsOf("read").size(), 1u) << "only the stop variable is read";
}

// Per update and slot: one look-up and one read; the stop pass adds two.
TEST(SoundCycleCalls, EachUpdateLooksUpAndReadsEverySlotThenTheStopVariable) {
    ScratchFolder folder;
    HostedGauge hosted("TLO_sound", "");
    hosted.cycles(1);
    hosted.host.calls.clear();
    hosted.cycles(1);
    std::vector<HostCallRecord> calls;
    for (const HostCallRecord& call : hosted.host.calls)
        if (call.operation == "lookup" || call.operation == "read") calls.push_back(call);
    ASSERT_EQ(calls.size(), 2u * 101u);
    EXPECT_EQ(hosted.callsOf("write").size(), 0u);
    std::vector<std::string> first;
    for (size_t i = 0; i < 4; ++i) first.push_back(calls[i].operation + " " + calls[i].name);
    EXPECT_EQ(first, (std::vector<std::string>{"lookup vorn_xml_id_00", "read vorn_xml_id_00", "lookup vorn_xml_id_01",
                                                "read vorn_xml_id_01"}));
    EXPECT_EQ(calls[198].name, "vorn_xml_id_99");
    EXPECT_EQ(calls[200].name, "vorn_stop_sounds");
    EXPECT_EQ(calls[201].name, "vorn_stop_sounds");
}

}  // namespace

namespace {

// The host may send services in any order; the gauge must neither crash nor
// touch what it has released.
TEST(SoundServiceOrder, AnyOrderOfServicesIsSafe) {
    ScratchFolder folder;
    writeBinaryFile("./Sound/vorn/vorn_xml_00.wav", toneWave(0.2));
    HostedGauge hosted("TLO_sound", "", false);
    const uint32_t orders[][9] = {
        {6, 6, 14, 6, 15, 15, 6, 14, 6},   // updates before the window, two closes
        {14, 14, 6, 15, 6, 6, 14, 14, 6},  // two opens, updates after a close
        {15, 6, 15, 14, 15, 14, 6, 99, 3},
    };
    for (const auto& order : orders) {
        for (uint32_t id : order) {
            hosted.set("vorn_xml_id_00", 1.0);
            hosted.set("vorn_stop_sounds", id == 6 ? 1.0 : 0.0);
            hosted.service(id);
        }
    }
    hosted.service(servicePanelOpened);
    hosted.service(serviceBeforeUpdate);
    hosted.set("vorn_stop_sounds", 0.0);
    hosted.set("vorn_xml_id_00", 1.0);
    EXPECT_TRUE(hosted.cycleUntil([&] { return hosted.get("vorn_xml_id_00") == 0.0; }, 15s))
        << "after all that a request still plays to its end";
}

TEST(SoundServiceOrder, UnloadingWhilePlayingReleasesEverything) {
    ScratchFolder folder;
    writeBinaryFile("./Sound/vorn/vorn_xml_00.wav", toneWave(10.0));
    for (int round = 0; round < 3; ++round) {
        HostedGauge hosted("TLO_sound");
        hosted.set("vorn_xml_id_00", 2.0);
        hosted.cycles(3);
    }  // each unload closes the panel window first, then frees the library
    std::error_code error;
    EXPECT_TRUE(std::filesystem::remove("./Sound/vorn/vorn_xml_00.wav", error)) << "no reader kept the file";
}

}  // namespace
