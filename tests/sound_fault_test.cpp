// The sound gauge over a DirectSound that fails on command: every failure
// ends silent or harmless, nothing hangs, and shutdown leaves no object alive.
#include "fault_dsound.h"
#include "gauge_test_support.h"
#include "wav_builder.h"

namespace {

using namespace std::chrono_literals;

// The sound gauge loaded over the faulty DirectSound, panel open, first
// update done; the faults go back to none at the end.
class FaultyGauge {
public:
    explicit FaultyGauge(const DirectSoundFaults& faults) : hosted("TLO_sound", "", false) {
        directSoundFaults = faults;
        directSoundCounts = DirectSoundCounts{};
        std::string error;
        EXPECT_TRUE(injectDirectSoundFaults(hosted.gauge.module, error)) << error;
        openPanel(hosted.host, hosted.gauge);
        devicesAfterOpen = directSoundCounts.devicesLive;
        hosted.cycles(1);
    }
    ~FaultyGauge() { directSoundFaults = DirectSoundFaults{}; }

    HostedGauge hosted;
    int devicesAfterOpen = 0;
};

DirectSoundFaults lostBuffers(int restoreFailures) {
    DirectSoundFaults faults;
    faults.buffersLost = true;
    faults.restoreFailures = restoreFailures;
    return faults;
}

struct FaultCase {
    const char* what;
    DirectSoundFaults faults;
    bool requestCompletes;  // a 1 comes back to 0 by itself
    int devicesWhileOpen;
};

class SoundFaults : public ::testing::TestWithParam<FaultCase> {
protected:
    void SetUp() override {
        writeBinaryFile("./Sound/vorn/vorn_xml_00.wav", toneWave(0.2));
        writeTextFile("./Gauges/vorn_xml_sound.ini", "[Config]\nMaxSounds=2\n");
    }
    ScratchFolder folder;
};

TEST_P(SoundFaults, EndSilentOrPlayingAndLeakNothing) {
    const FaultCase& c = GetParam();
    FaultyGauge faulty(c.faults);
    HostedGauge& hosted = faulty.hosted;
    EXPECT_EQ(faulty.devicesAfterOpen, c.devicesWhileOpen);

    hosted.set("vorn_xml_id_00", 1.0);
    const auto start = std::chrono::steady_clock::now();
    const bool completed = hosted.cycleUntil([&] { return hosted.get("vorn_xml_id_00") == 0.0; }, 3s);
    EXPECT_EQ(completed, c.requestCompletes);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 10s) << "no update may hold the simulator";
    if (!completed) {
        hosted.set("vorn_stop_sounds", 1.0);
        hosted.cycles(1);
        EXPECT_EQ(hosted.get("vorn_xml_id_00"), 0.0) << "the stop variable clears a request that cannot play";
    }

    closePanel(hosted.host, hosted.gauge);
    EXPECT_EQ(directSoundCounts.devicesLive, 0);
    EXPECT_EQ(directSoundCounts.buffersLive, 0);
    std::printf("  %-34s creates %d, buffers %d, locks %d, plays %d, restores %d\n", c.what, directSoundCounts.creates,
                directSoundCounts.createBuffers, directSoundCounts.locks, directSoundCounts.plays,
                directSoundCounts.restores);
    if (c.faults.create != DS_OK) {
        EXPECT_EQ(directSoundCounts.createBuffers, 0) << "no call into a missing device";
    }
    if (c.faults.restoreFailures < 0) {
        EXPECT_GT(directSoundCounts.restores, 0);
    }
}

DirectSoundFaults with(void (*change)(DirectSoundFaults&)) {
    DirectSoundFaults f;
    change(f);
    return f;
}

INSTANTIATE_TEST_SUITE_P(
    Faults, SoundFaults,
    ::testing::Values(
        FaultCase{"no fault", {}, true, 1},
        FaultCase{"DirectSoundCreate fails", with([](auto& f) { f.create = DSERR_NODRIVER; }), false, 0},
        FaultCase{"SetCooperativeLevel fails", with([](auto& f) { f.cooperativeLevel = DSERR_INVALIDPARAM; }), true, 1},
        FaultCase{"CreateSoundBuffer fails", with([](auto& f) { f.createBuffer = DSERR_OUTOFMEMORY; }), false, 1},
        FaultCase{"Lock fails", with([](auto& f) { f.lock = DSERR_INVALIDCALL; }), true, 1},
        FaultCase{"Play fails", with([](auto& f) { f.play = DSERR_PRIOLEVELNEEDED; }), true, 1},
        FaultCase{"buffer lost, restored on 3rd try", lostBuffers(3), true, 1},
        FaultCase{"buffer lost, never restored", lostBuffers(-1), true, 1}),
    [](const auto& info) { return std::to_string(info.index); });

TEST(SoundFaultsRestore, ALostBufferIsRefilledBeforeItPlays) {
    ScratchFolder folder;
    writeBinaryFile("./Sound/vorn/vorn_xml_00.wav", toneWave(0.2));
    FaultyGauge faulty(lostBuffers(3));
    HostedGauge& hosted = faulty.hosted;
    hosted.set("vorn_xml_id_00", 1.0);
    hosted.cycles(1);
    EXPECT_EQ(directSoundCounts.locks, 2) << "filled on load, refilled after the restore";
    EXPECT_EQ(directSoundCounts.restores, 4) << "two passes of two calls: fail, fail; fail, succeed";
    EXPECT_EQ(hosted.get("vorn_xml_id_00"), 1.0) << "it plays";
}

TEST(SoundFaultsRestore, ANeverRestoringDeviceCostsABoundedWait) {
    ScratchFolder folder;
    writeBinaryFile("./Sound/vorn/vorn_xml_00.wav", toneWave(0.2));
    FaultyGauge faulty(lostBuffers(-1));
    HostedGauge& hosted = faulty.hosted;
    hosted.set("vorn_xml_id_00", 1.0);
    const auto start = std::chrono::steady_clock::now();
    hosted.cycles(1);
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(directSoundCounts.restores, 100) << "50 passes of two calls, then it gives up";
    EXPECT_LT(took, 10s);
    std::printf("  one update with a never-restoring buffer took %.0f ms\n",
                std::chrono::duration<double, std::milli>(took).count());
}

}  // namespace
