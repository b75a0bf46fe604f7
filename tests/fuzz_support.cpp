#include "fuzz_support.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>

#include "wav_builder.h"

namespace {

long environmentNumber(const char* name, long fallback) {
    const char* text = std::getenv(name);
    return text && *text ? std::strtol(text, nullptr, 10) : fallback;
}

const char* const chunkIds[] = {"RIFF", "WAVE", "fmt ", "data", "LIST", "JUNK", "fact", "\0\0\0\0", "datA"};

std::string pickId(Fuzzer& f) {
    if (f.chance(10)) return f.bytes(4);
    return std::string(chunkIds[f.below(std::size(chunkIds))], 4);
}

uint32_t pickSize(Fuzzer& f, uint32_t real) {
    switch (f.below(10)) {
        case 0: return 0;
        case 1: return real + 1 + f.below(64);
        case 2: return real > 0 ? real - 1 - f.below(real) : 0;
        case 3: return 0xFFFFFFFF - f.below(16);
        case 4: return 0x7FFFFFFF;
        case 5: return f.below(1 << 20);
        default: return real;
    }
}

std::string formatPayload(Fuzzer& f) {
    const uint16_t tags[] = {1, 1, 1, 2, 3, 0x11, 0xFFFE, 0};
    const uint16_t channels = uint16_t(f.chance(80) ? 1 + f.below(2) : f.below(0x10000));
    const uint32_t rate = f.chance(80) ? 8000 + f.below(40000) : uint32_t(f.random());
    const uint16_t bits = uint16_t(f.chance(80) ? 8 * (1 + f.below(3)) : f.below(0x10000));
    std::string payload = waveFormatBytes(tags[f.below(std::size(tags))], channels, rate, bits);
    if (f.chance(50)) {
        const uint16_t extra = uint16_t(f.chance(70) ? f.below(40) : f.below(0x10000));
        payload += le16(extra) + f.bytes(f.chance(70) ? extra : f.below(extra + 1));
    }
    if (f.chance(20)) payload.resize(f.below(uint32_t(payload.size()) + 1));  // short "fmt "
    return payload;
}

std::string oneChunk(Fuzzer& f, int depth);

std::string chunkList(Fuzzer& f, int depth) {
    std::string chunks;
    const int count = int(f.below(5));
    for (int i = 0; i < count; ++i) chunks += oneChunk(f, depth);
    return chunks;
}

std::string oneChunk(Fuzzer& f, int depth) {
    std::string id = pickId(f);
    std::string payload;
    if (id == "fmt ") payload = formatPayload(f);
    else if (id == "data") payload = f.bytes(f.below(f.chance(10) ? 70000 : 300));
    else if ((id == "RIFF" || id == "LIST") && depth < 3) payload = (f.chance(50) ? "WAVE" : f.bytes(4)) + chunkList(f, depth + 1);
    else payload = f.bytes(f.below(40));
    std::string chunk = id + le32(pickSize(f, uint32_t(payload.size()))) + payload;
    if (payload.size() % 2 == 1 && f.chance(70)) chunk += '\0';  // padding, or not
    return chunk;
}

}  // namespace

FuzzBudget fuzzBudget(long defaultInputs, long defaultSeconds) {
    return {defaultInputs * environmentNumber("FUZZ_SCALE", 1),
            std::chrono::seconds(environmentNumber("FUZZ_SECONDS", defaultSeconds)),
            uint32_t(environmentNumber("FUZZ_SEED", 20261211))};
}

std::string Fuzzer::bytes(size_t count) {
    std::string out(count, '\0');
    for (char& c : out) c = char(below(256));
    return out;
}

std::string mutatedWave(Fuzzer& f) {
    if (f.chance(2)) return "";
    // Mostly a plausible file with its parts in any order, then damage.
    std::string inner = f.chance(80) ? "WAVE" : f.bytes(4);
    std::string chunks;
    std::string parts[] = {chunk("fmt ", formatPayload(f)), chunk("data", f.bytes(f.below(2000))), oneChunk(f, 1)};
    const int order = int(f.below(6));
    const int a = order % 3, b = (order / 3 + a + 1) % 3, c = 3 - a - b;
    for (int i : {a, b, c})
        if (f.chance(85)) chunks += parts[i];
    if (f.chance(30)) chunks += chunkList(f, 1);
    std::string file = "RIFF" + le32(pickSize(f, uint32_t(inner.size() + chunks.size()))) + inner + chunks;
    if (f.chance(10)) file.replace(0, 4, pickId(f));
    if (f.chance(25)) file.resize(f.below(uint32_t(file.size()) + 1));  // cut anywhere, boundaries included
    for (int flips = f.chance(30) ? int(f.below(4)) : 0; flips > 0 && !file.empty(); --flips)
        file[f.below(uint32_t(file.size()))] = char(f.below(256));
    return file;
}

std::string keepFailingInput(const std::string& kind, const std::string& bytes) {
    const std::filesystem::path folder = std::filesystem::path(FAILURE_DIR) / kind;
    std::filesystem::create_directories(folder);
    const std::filesystem::path file = folder / (std::to_string(std::hash<std::string>{}(bytes)) + ".bin");
    std::ofstream(file, std::ios::binary) << bytes;
    return file.string();
}
