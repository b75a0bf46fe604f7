// Benchmarks of the sound gauge's update and load and the chronometer's
// cycle, each measured against its floor side by side in one run.
// Prints a table and writes out/bench/results.csv.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "gauge_host.h"
#include "process_footprint.h"
#include "sound_slot_names.h"
#include "wav_builder.h"

namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

std::string gaugeDir;

double seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

// Median seconds of one call of work, over repetitions.
double median(int repetitions, int callsPerRepetition, const std::function<void()>& work) {
    std::vector<double> samples;
    for (int r = 0; r < repetitions; ++r) {
        const auto start = Clock::now();
        for (int i = 0; i < callsPerRepetition; ++i) work();
        samples.push_back(seconds(Clock::now() - start) / callsPerRepetition);
    }
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

struct Result {
    std::string name;
    double measured;
    double floor;
    std::string unit;
    std::string note;
};

std::vector<Result> results;

void report(const Result& r) {
    results.push_back(r);
    const double ratio = r.floor > 0 ? r.measured / r.floor : 0;
    std::printf("%-44s %12.3f %12.3f %8.2f  %s\n", r.name.c_str(), r.measured, r.floor, ratio, r.note.c_str());
    std::fflush(stdout);
}

struct Session {
    GaugeHost host;
    LoadedGauge gauge;
    Session(const std::string& module, const std::string& parameter) {
        std::string error;
        if (!loadGauge(host, gaugeDir + "/" + module, "", parameter, gauge, error)) {
            std::fprintf(stderr, "bench: %s\n", error.c_str());
            std::exit(2);
        }
        openPanel(host, gauge);
    }
    ~Session() { unloadGauge(host, gauge); }
    void update() { makeActive(host); sendService(gauge, serviceBeforeUpdate); }
};

void writeIni(int slots) {
    std::ofstream("./bench.ini") << "[Config]\nMaxSounds=" << slots << "\n";
}

// The same host calls the poll makes, straight through the host's table.
double pollFloor(GaugeHost& host, int slots) {
    HostPanelTable* table = hostPanelTable();
    std::vector<std::string> names;
    for (int i = 0; i < slots; ++i) names.push_back(slotVariable(i));
    names.push_back("vorn_stop_sounds");
    makeActive(host);
    volatile double sink = 0;
    return median(15, 400, [&] {
        for (const std::string& name : names) sink = sink + table->readNamedVariable(table->lookupNamedVariable(name.c_str()));
    });
}

void benchPoll() {
    for (int slots : {1, 10, 50, 100}) {
        writeIni(slots);
        Session s("TLO_sound.gau", "./bench.ini");
        s.update();
        const double gauge = median(15, 400, [&] { s.update(); });
        const double floor = pollFloor(s.host, slots);
        report({"poll, " + std::to_string(slots) + " slots never loaded (us)", gauge * 1e6, floor * 1e6, "us",
                std::to_string(2 * slots + 2) + " host calls"});
    }
    // Loaded and silent: every slot played a short sound to its end.
    writeIni(100);
    const std::string tiny = pcmWave(1, 8000, 8, std::string(80, '\x80'));
    for (int i = 0; i < 100; ++i) writeBinaryFile(slotFile(i), tiny);
    Session s("TLO_sound.gau", "./bench.ini");
    s.update();
    for (int i = 0; i < 100; ++i) setNamedVariable(s.host, slotVariable(i), 1.0);
    for (int round = 0; round < 400; ++round) {
        s.update();
        Sleep(5);
        bool allDone = true;
        for (int i = 0; i < 100; ++i) allDone = allDone && namedVariable(s.host, slotVariable(i)) == 0.0;
        if (allDone) break;
    }
    const double gauge = median(15, 200, [&] { s.update(); });
    report({"poll, 100 slots loaded and silent (us)", gauge * 1e6, pollFloor(s.host, 100) * 1e6, "us",
            "adds a status query per slot"});
}

std::string bigWave(size_t dataBytes) {
    std::string data(dataBytes, '\0');
    for (size_t i = 0; i < dataBytes; ++i) data[i] = char((i * 31) >> 3);
    return pcmWave(2, 22050, 16, data);
}

// One ReadFile of the whole file and one memcpy into a buffer of its size.
double loadFloor(const std::string& path, size_t bytes) {
    return median(9, 1, [&] {
        std::vector<char> file(bytes + 64), target(bytes);
        HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        DWORD got = 0;
        ReadFile(h, file.data(), DWORD(file.size()), &got, nullptr);
        CloseHandle(h);
        std::memcpy(target.data(), file.data() + 44, bytes);
    });
}

// The byte-at-a-time copy out of the multimedia I/O buffer: the baseline.
double loadByteAtATime(const std::string& path, size_t bytes) {
    return median(3, 1, [&] {
        std::vector<char> target(bytes);
        HMMIO h = mmioOpenA(const_cast<char*>(path.c_str()), nullptr, MMIO_ALLOCBUF | MMIO_READ);
        MMCKINFO riff = {}, data = {};
        mmioDescend(h, &riff, nullptr, 0);
        data.ckid = mmioFOURCC('d', 'a', 't', 'a');
        mmioDescend(h, &data, &riff, MMIO_FINDCHUNK);
        MMIOINFO info;
        mmioGetInfo(h, &info, 0);
        for (size_t i = 0; i < bytes; ++i) {
            if (info.pchNext == info.pchEndRead) mmioAdvance(h, &info, MMIO_READ);
            target[i] = *info.pchNext++;
        }
        mmioSetInfo(h, &info, 0);
        mmioClose(h, 0);
    });
}

double firstRequest(const std::string& parameter) {
    std::vector<double> samples;
    for (int r = 0; r < 9; ++r) {
        Session s("TLO_sound.gau", parameter);
        s.update();
        setNamedVariable(s.host, slotVariable(0), 1.0);
        const auto start = Clock::now();
        s.update();
        samples.push_back(seconds(Clock::now() - start));
    }
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

void benchLoad() {
    writeIni(1);
    for (size_t mib : {1, 10, 50}) {
        const size_t bytes = mib << 20;
        writeBinaryFile(slotFile(0), bigWave(bytes));
        const double gauge = firstRequest("./bench.ini");
        const double floor = loadFloor(slotFile(0), bytes);
        const double byteWise = loadByteAtATime(slotFile(0), bytes);
        report({"first request, " + std::to_string(mib) + " MiB (ms)", gauge * 1e3, floor * 1e3, "ms",
                "byte-at-a-time reference " + std::to_string(int(byteWise * 1e3)) + " ms, " +
                    std::to_string(byteWise / gauge).substr(0, 5) + "x slower"});
    }
}

void benchMemory() {
    writeIni(100);
    const std::string oneMiB = bigWave(1 << 20);
    for (int i = 0; i < 100; ++i) writeBinaryFile(slotFile(i), oneMiB);
    Session s("TLO_sound.gau", "./bench.ini");
    s.update();
    const size_t before = privateBytes();
    for (int i = 0; i < 100; ++i) setNamedVariable(s.host, slotVariable(i), 1.0);
    s.update();
    setNamedVariable(s.host, "vorn_stop_sounds", 1.0);
    s.update();
    const size_t grown = privateBytes() - before;
    const double data = 100.0 * (1 << 20);
    report({"private bytes for 100 x 1 MiB loaded (MiB)", grown / 1048576.0, data / 1048576.0, "MiB",
            "target: at most 1.05 x data + 1 MiB"});
}

// What the platform's heap itself commits for 100 blocks of 1 MiB: the
// least any holder of 100 such buffers can take.
void benchHeapFloor() {
    std::vector<void*> blocks;
    const size_t before = privateBytes();
    for (int i = 0; i < 100; ++i) blocks.push_back(HeapAlloc(GetProcessHeap(), 0, 1 << 20));
    const size_t grown = privateBytes() - before;
    for (void* block : blocks) HeapFree(GetProcessHeap(), 0, block);
    report({"private bytes for 100 x 1 MiB heap blocks (MiB)", grown / 1048576.0, 100.0, "MiB",
            "the platform heap alone"});
}

void benchChronometer() {
    Session s("Orlix.gau", "");
    setHostVariable(s.host.variables, 769, 1.0);
    const double cycle = median(15, 2000, [&] { runCycle(s.host, s.gauge); });
    report({"chronometer cycle (us)", cycle * 1e6, 0, "us", "service 6, 9 element callbacks, service 10, draw"});
}

void writeCsv(const std::string& path) {
    std::ofstream csv(path);
    csv << "benchmark,measured,floor,unit,ratio,note\n";
    for (const Result& r : results)
        csv << '"' << r.name << "\"," << r.measured << ',' << r.floor << ',' << r.unit << ','
            << (r.floor > 0 ? r.measured / r.floor : 0) << ",\"" << r.note << "\"\n";
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: gauge_bench GAUGE_DIR RESULTS.csv\n");
        return 2;
    }
    gaugeDir = argv[1];
    const fs::path results = fs::absolute(argv[2]);
    const fs::path work = fs::temp_directory_path() / "gauge-bench";
    fs::remove_all(work);
    fs::create_directories(work);
    fs::current_path(work);
    std::printf("%-44s %12s %12s %8s\n", "benchmark", "measured", "floor", "ratio");
    benchPoll();
    benchLoad();
    benchMemory();
    benchHeapFloor();
    benchChronometer();
    fs::create_directories(results.parent_path());
    writeCsv(results.string());
    fs::current_path(fs::temp_directory_path());
    fs::remove_all(work);
    return 0;
}
