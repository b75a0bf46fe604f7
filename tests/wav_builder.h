// Builds RIFF files byte by byte, well formed or not, for the tests.
#pragma once

#include <cstdint>
#include <string>

std::string le16(uint16_t value);
std::string le32(uint32_t value);

// A chunk: id, size, payload and a pad byte after an odd payload. A size
// other than the payload's may be claimed.
std::string chunk(const std::string& id, const std::string& payload);
std::string chunkClaiming(const std::string& id, uint32_t claimedSize, const std::string& payload);
std::string riff(const std::string& formType, const std::string& chunks);

// The 16 bytes of a PCMWAVEFORMAT (format tag, channels, rate, ..., bits).
std::string waveFormatBytes(uint16_t formatTag, uint16_t channels, uint32_t rate, uint16_t bits);

// Samples: a sine tone, or a counting pattern that shows where bytes came from.
std::string toneSamples16(double frequency, double seconds, uint32_t rate, uint16_t channels, double amplitude = 0.5);
std::string patternBytes(size_t count);

// A plain PCM WAV file: "fmt " of 16 bytes, then "data".
std::string pcmWave(uint16_t channels, uint32_t rate, uint16_t bits, const std::string& samples);
std::string toneWave(double seconds, double frequency = 440.0);

void writeBinaryFile(const std::string& path, const std::string& bytes);
