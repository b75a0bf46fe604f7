// Files from users and other add-ons can be anything: mutated RIFF files fed
// to the WAV reader and to the whole sound gauge must never crash or hang.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "fuzz_support.h"
#include "gauge_test_support.h"
#include "sound_slot_names.h"
#include "wav_builder.h"
#include "wave_file_reader.h"

namespace {

using Clock = std::chrono::steady_clock;

// Reads the data in pieces; false when a result breaks the reader's promises.
bool readerKeepsItsPromises(const std::string& path, Fuzzer& fuzzer, bool& opened) {
    WaveFileReader reader;
    opened = SUCCEEDED(reader.open(path.c_str()));
    if (!opened) return reader.waveFormat == nullptr || reader.fileHandle != nullptr;
    if (reader.waveFormat == nullptr || reader.fileHandle == nullptr) return false;
    std::vector<BYTE> piece(70000);
    for (int pass = 0; pass < 2; ++pass) {
        const DWORD total = reader.dataChunk.cksize;
        DWORD seen = 0;
        for (int step = 0; step < 64; ++step) {
            const UINT count = 1 + fuzzer.below(UINT(piece.size()));
            const DWORD left = reader.dataChunk.cksize;
            UINT copied = 0xDEAD;
            const HRESULT result = reader.read(count, piece.data(), &copied);
            if (result != S_OK && result != E_FAIL) return false;
            if (FAILED(result)) {
                if (copied != 0) return false;
                break;
            }
            if (copied != std::min<DWORD>(count, left) || reader.dataChunk.cksize != left - copied) return false;
            seen += copied;
            if (copied == 0) break;
        }
        if (seen > total) return false;
        if (reader.reset() != S_OK) return true;  // a reader that cannot reset stays failed, safely
    }
    return reader.close() == S_OK;
}

TEST(WavFuzz, ReaderSurvivesMutatedFiles) {
    ScratchFolder folder;
    const FuzzBudget budget = fuzzBudget(3000, 60);
    Fuzzer fuzzer(budget.seed);
    const auto end = Clock::now() + budget.time;
    long tried = 0, opened = 0, broken = 0;
    for (; tried < budget.inputs && Clock::now() < end; ++tried) {
        const std::string file = mutatedWave(fuzzer);
        writeBinaryFile("case.wav", file);
        bool wasOpened = false;
        if (!readerKeepsItsPromises("case.wav", fuzzer, wasOpened)) {
            ++broken;
            ADD_FAILURE() << "kept as " << keepFailingInput("wav", file);
        }
        opened += wasOpened;
    }
    std::printf("  seed %u: %ld files tried, %ld opened as WAV, %ld broke a promise\n", budget.seed, tried, opened, broken);
    EXPECT_GT(opened, 0) << "the mutator must reach the reading code too";
}

// A valid file cut at every chunk boundary and at every byte of its headers.
TEST(WavFuzz, TruncationAtEveryBoundary) {
    ScratchFolder folder;
    const std::string whole = riff("WAVE", chunk("fmt ", waveFormatBytes(1, 1, 8000, 8)) + chunk("LIST", "INFOabc") +
                                               chunk("data", patternBytes(301)));
    Fuzzer fuzzer(1);
    int openedCount = 0;
    for (size_t length = 0; length <= whole.size(); ++length) {
        if (length > 80 && length < whole.size() - 4) continue;  // the data's middle says nothing new
        writeBinaryFile("cut.wav", whole.substr(0, length));
        bool opened = false;
        EXPECT_TRUE(readerKeepsItsPromises("cut.wav", fuzzer, opened)) << "cut at " << length;
        openedCount += opened;
    }
    EXPECT_GT(openedCount, 0);
}

TEST(WavFuzz, FixturesThatOnceFailedStayFixed) {
    ScratchFolder folder;
    const std::filesystem::path fixtures = std::filesystem::path(FIXTURE_DIR) / "wav";
    Fuzzer fuzzer(2);
    int replayed = 0;
    for (const auto& entry : std::filesystem::directory_iterator(fixtures)) {
        bool opened = false;
        EXPECT_TRUE(readerKeepsItsPromises(entry.path().string(), fuzzer, opened)) << entry.path();
        ++replayed;
    }
    EXPECT_GT(replayed, 0);
}

// Whole gauge: a batch of mutated files in the slots, requests, a stop, the
// panel closed and opened again so every slot loads afresh.
TEST(WavFuzz, GaugeSurvivesMutatedFiles) {
    ScratchFolder folder;
    const FuzzBudget budget = fuzzBudget(300, 60);
    Fuzzer fuzzer(budget.seed + 1);
    HostedGauge hosted("TLO_sound", "");
    const auto end = Clock::now() + budget.time;
    long tried = 0;
    while (tried < budget.inputs && Clock::now() < end) {
        const int batch = int(std::min<long>(100, budget.inputs - tried));
        for (int slot = 0; slot < batch; ++slot) {
            writeBinaryFile(slotFile(slot), mutatedWave(fuzzer));
            hosted.set(slotVariable(slot), 1.0);
        }
        hosted.cycles(3);
        hosted.set("vorn_stop_sounds", 1.0);
        hosted.cycles(2);
        for (int slot = 0; slot < batch; ++slot)
            EXPECT_EQ(hosted.get(slotVariable(slot)), 0.0) << slotVariable(slot) << ": a request for an existing file ends at 0 after a stop";
        closePanel(hosted.host, hosted.gauge);
        openPanel(hosted.host, hosted.gauge);
        tried += batch;
    }
    std::printf("  seed %u: %ld files played through the gauge\n", budget.seed + 1, tried);
}

}  // namespace

namespace {

// Every fixture played through the gauge: nothing crashes, and the request
// ends at 0 once the stop variable has been set.
TEST(WavFuzz, GaugePlaysEveryFixtureSafely) {
    ScratchFolder folder;
    HostedGauge hosted("TLO_sound", "");
    int slot = 0;
    for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(FIXTURE_DIR) / "wav")) {
        std::filesystem::create_directories("./Sound/vorn");
        std::filesystem::copy_file(entry.path(), slotFile(slot));
        hosted.set(slotVariable(slot++), 2.0);
    }
    hosted.cyclesFor(std::chrono::milliseconds(1500));
    hosted.set("vorn_stop_sounds", 1.0);
    hosted.cycles(1);
    EXPECT_GT(slot, 5);
}

}  // namespace
