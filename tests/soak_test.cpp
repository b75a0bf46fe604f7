// Long runs of random traffic: the sound gauge over 100 slots with files
// appearing, vanishing and turning corrupt, and the chronometer under random
// clicks and host values. Bounded by count and time; make stress runs more.
#include <windows.h>

#include <cmath>
#include <limits>

#include "clock_face.h"
#include "clock_state.h"
#include "fuzz_support.h"
#include "gauge_module.h"
#include "gauge_test_support.h"
#include "process_footprint.h"
#include "sound_slot_names.h"
#include "wav_builder.h"

namespace {

using Clock = std::chrono::steady_clock;

// Handles as the system counts them where it does; under Wine, which answers
// 0 there, the open file descriptors of the process instead.
DWORD handleCount() {
    DWORD count = 0;
    if (GetProcessHandleCount(GetCurrentProcess(), &count) && count > 0) return count;
    std::error_code error;
    for (auto it = std::filesystem::directory_iterator("Z:/proc/self/fd", error);
         !error && it != std::filesystem::directory_iterator(); it.increment(error))
        ++count;
    return count;
}

double wildValue(Fuzzer& f) {
    const double values[] = {0, 1, 2, 3, -1, 0.5, 1.9, 2.5, -0.5, 1e12, -1e12,
                             std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
                             -std::numeric_limits<double>::infinity()};
    return values[f.below(std::size(values))];
}

void changeFile(Fuzzer& f, int slot) {
    std::error_code ignored;
    switch (f.below(4)) {
        case 0: std::filesystem::remove(slotFile(slot), ignored); break;  // vanishes (if no reader holds it)
        case 1: writeBinaryFile(slotFile(slot), mutatedWave(f)); break;   // turns corrupt
        default: writeBinaryFile(slotFile(slot), toneWave(0.02 + f.below(10) / 100.0, 200 + f.below(800)));
    }
}

struct Footprint {
    size_t bytes;
    DWORD handles;
};

TEST(Soak, SoundGaugeUnderRandomTraffic) {
    ScratchFolder folder;
    const FuzzBudget budget = fuzzBudget(20000, 60);
    Fuzzer fuzzer(budget.seed + 3);
    for (int slot = 0; slot < 100; ++slot) changeFile(fuzzer, slot);
    HostedGauge hosted("TLO_sound", "");
    hosted.host.recordCalls = false;
    const long reopenEvery = std::max<long>(budget.inputs / 20, 500);
    std::vector<Footprint> footprints;
    const auto end = Clock::now() + budget.time;
    long cycles = 0;
    for (; cycles < budget.inputs && Clock::now() < end; ++cycles) {
        if (fuzzer.chance(30)) hosted.set(slotVariable(int(fuzzer.below(100))), wildValue(fuzzer));
        if (fuzzer.chance(1)) hosted.set("vorn_stop_sounds", wildValue(fuzzer));
        if (fuzzer.chance(1)) changeFile(fuzzer, int(fuzzer.below(100)));
        hosted.cycles(1);
        if (cycles % reopenEvery == reopenEvery - 1) {
            closePanel(hosted.host, hosted.gauge);  // everything released: the footprint is comparable
            footprints.push_back({privateBytes(), handleCount()});
            openPanel(hosted.host, hosted.gauge);
        }
    }
    // Drain, with every file a good one again: one-shots end at 0 by
    // themselves, loops end at 0 with the stop variable.
    for (int slot = 0; slot < 100; ++slot) writeBinaryFile(slotFile(slot), toneWave(0.05));
    closePanel(hosted.host, hosted.gauge);
    openPanel(hosted.host, hosted.gauge);
    std::vector<int> oneShots;
    for (int slot = 0; slot < 100; ++slot) {
        const bool once = fuzzer.chance(50);
        hosted.set(slotVariable(slot), once ? 1.0 : 2.0);
        if (once) oneShots.push_back(slot);
    }
    EXPECT_TRUE(hosted.cycleUntil([&] {
        for (int slot : oneShots)
            if (hosted.get(slotVariable(slot)) != 0.0) return false;
        return true;
    }, std::chrono::seconds(20))) << "every one-shot that plays comes back to 0";
    hosted.set("vorn_stop_sounds", 1.0);
    hosted.cycles(1);
    for (int slot = 0; slot < 100; ++slot) ASSERT_EQ(hosted.get(slotVariable(slot)), 0.0) << slotVariable(slot);

    ASSERT_GE(footprints.size(), 10u);
    const Footprint first = footprints[footprints.size() / 10];
    const Footprint last = footprints[footprints.size() * 9 / 10];
    std::printf("  seed %u: %ld cycles, %zu panel reopenings; private bytes %.2f -> %.2f MiB, handles %lu -> %lu\n",
                budget.seed + 3, cycles, footprints.size(), first.bytes / 1048576.0, last.bytes / 1048576.0,
                first.handles, last.handles);
    EXPECT_LE(last.bytes, first.bytes + (2u << 20)) << "private bytes grow";
    EXPECT_LE(last.handles, first.handles + 8) << "handles grow";
}

// The chronometer's own code, built into this program, so its state can be
// checked against its ranges after every step.
class ChronometerSoak : public ::testing::Test {
protected:
    void SetUp() override {
        clockState = clockStateAtLoad;
        makeActive(host);
        moduleImportTable.panel.tablePointer = hostPanelTable();
        gauge.linkage = &moduleLinkage;
        gauge.imports = &moduleImportTable;
        gauge.gauge = moduleLinkage.gaugeList[0];
        openPanel(host, gauge);
    }
    void TearDown() override { closePanel(host, gauge); }
    GaugeHost host;
    LoadedGauge gauge;
};

void expectInRange(const ClockState& s) {
    ASSERT_LE(s.upperMode, 2);
    ASSERT_LE(s.lowerMode, 3);
    ASSERT_LE(s.setStep, 4);
    ASSERT_LE(s.ftHours, 99);
    ASSERT_LE(s.ftMinutes, 59);
    ASSERT_LE(s.ftAlarmHours, 29);
    ASSERT_LE(s.ftAlarmMinutes, 59);
    ASSERT_LE(s.ftAlarmReached, 1);
    ASSERT_LE(s.ftResetShown, 1);
    ASSERT_LE(s.ctrlIdleTicks, 19);
    ASSERT_LE(s.ctrlHoldSeen, s.ctrlHoldCount);
    ASSERT_LE(s.etMinutes, 59);
    ASSERT_LE(s.etHours, 99);
    ASSERT_LE(s.etRun, 2);
    ASSERT_LE(s.etPhase, 2);
    ASSERT_TRUE(s.backlightValue == 0.0 || s.backlightValue == 1.0);
}

TEST_F(ChronometerSoak, RandomClicksAndHostValuesKeepEveryFieldInRange) {
    const FuzzBudget budget = fuzzBudget(100000, 60);
    Fuzzer f(budget.seed + 4);
    const int points[][3] = {{25, 65, 1}, {52, 65, 1}, {52, 65, 2}, {37, 6, 1}, {50, 40, 3}};
    const int32_t variables[] = {1, 3, 4, 6, 7, 10, 60, 341, 557, 753, 769};
    double time = 0;
    const auto end = Clock::now() + budget.time;
    long steps = 0;
    for (; steps < budget.inputs && Clock::now() < end; ++steps) {
        if (f.chance(20)) {
            const int* p = points[f.below(std::size(points))];
            clickGauge(gauge, p[0], p[1], p[2] == 1 ? mouseLeftSingle : p[2] == 2 ? mouseRepeatWhileHeld : mouseRightSingle);
        }
        if (f.chance(5)) {
            const int32_t id = variables[f.below(std::size(variables))];
            setHostVariable(host.variables, id, f.chance(70) ? double(f.below(100)) - 10 : wildValue(f));
        }
        time += f.chance(2) ? double(f.below(5000)) - 1000 : 1.0 / 18;  // jumps, also backwards
        if (!f.chance(1)) setHostVariable(host.variables, 557, time);
        runCycle(host, gauge);
        expectInRange(clockState);
        if (HasFatalFailure()) {
            ADD_FAILURE() << "after step " << steps;
            return;
        }
    }
    EXPECT_TRUE(host.errors.empty()) << host.errors.front();
    std::printf("  seed %u: %ld chronometer steps, every field in range, no text past its storage\n",
                budget.seed + 4, steps);
}

}  // namespace
