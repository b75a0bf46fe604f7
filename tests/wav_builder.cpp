#include "wav_builder.h"

#include <cmath>
#include <filesystem>
#include <fstream>

std::string le16(uint16_t value) { return {char(value & 0xFF), char(value >> 8)}; }

std::string le32(uint32_t value) { return le16(uint16_t(value & 0xFFFF)) + le16(uint16_t(value >> 16)); }

std::string chunkClaiming(const std::string& id, uint32_t claimedSize, const std::string& payload) {
    std::string bytes = id + le32(claimedSize) + payload;
    if (payload.size() % 2 == 1) bytes += '\0';
    return bytes;
}

std::string chunk(const std::string& id, const std::string& payload) {
    return chunkClaiming(id, uint32_t(payload.size()), payload);
}

std::string riff(const std::string& formType, const std::string& chunks) { return chunk("RIFF", formType + chunks); }

std::string waveFormatBytes(uint16_t formatTag, uint16_t channels, uint32_t rate, uint16_t bits) {
    const uint16_t blockAlign = uint16_t(channels * bits / 8);
    return le16(formatTag) + le16(channels) + le32(rate) + le32(rate * blockAlign) + le16(blockAlign) + le16(bits);
}

std::string toneSamples16(double frequency, double seconds, uint32_t rate, uint16_t channels, double amplitude) {
    std::string samples;
    const size_t frames = size_t(seconds * rate);
    for (size_t i = 0; i < frames; ++i) {
        const double value = amplitude * std::sin(2 * M_PI * frequency * double(i) / rate);
        const auto sample = uint16_t(int16_t(std::lround(value * 32767)));
        for (uint16_t c = 0; c < channels; ++c) samples += le16(sample);
    }
    return samples;
}

std::string patternBytes(size_t count) {
    std::string bytes(count, '\0');
    for (size_t i = 0; i < count; ++i) bytes[i] = char((i * 7 + i / 251) & 0xFF);
    return bytes;
}

std::string pcmWave(uint16_t channels, uint32_t rate, uint16_t bits, const std::string& samples) {
    return riff("WAVE", chunk("fmt ", waveFormatBytes(1, channels, rate, bits)) + chunk("data", samples));
}

std::string toneWave(double seconds, double frequency) {
    return pcmWave(2, 22050, 16, toneSamples16(frequency, seconds, 22050, 2));
}

void writeBinaryFile(const std::string& path, const std::string& bytes) {
    const std::filesystem::path file(path);
    if (file.has_parent_path()) std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << bytes;
}
