// The WAV reader over the real multimedia file functions: which files it
// takes, the format block it keeps, and the bytes and counts it hands out.
#include <cstring>
#include <vector>

#include "gauge_test_support.h"
#include "wav_builder.h"
#include "wave_file_reader.h"

namespace {

const std::string pcmFormat = waveFormatBytes(1, 1, 8000, 8);
const std::string samples = patternBytes(1000);

struct OpenCase {
    const char* what;
    std::string file;
    HRESULT result;
    WORD formatTag;       // when it opens
    WORD cbSize;
    std::string extra;    // the bytes after the 18 of WAVEFORMATEX
    DWORD dataBytes;
};

std::vector<OpenCase> openCases() {
    const std::string adpcm = waveFormatBytes(0x11, 1, 8000, 4);
    return {
        {"pcm fmt of 16 bytes", riff("WAVE", chunk("fmt ", pcmFormat) + chunk("data", samples)), S_OK, 1, 0, "", 1000},
        {"pcm fmt of 18 bytes", riff("WAVE", chunk("fmt ", pcmFormat + le16(0)) + chunk("data", samples)), S_OK, 1, 0, "", 1000},
        {"pcm fmt of 20 bytes skips the rest",
         riff("WAVE", chunk("fmt ", pcmFormat + le16(2) + "zz") + chunk("data", samples)), S_OK, 1, 0, "", 1000},
        {"non-pcm keeps its extra bytes",
         riff("WAVE", chunk("fmt ", adpcm + le16(2) + "\xF9\x01") + chunk("data", samples)), S_OK, 0x11, 2, "\xF9\x01", 1000},
        {"non-pcm fmt of 16 bytes takes its extra size from the bytes after the chunk",
         riff("WAVE", chunk("fmt ", adpcm) + chunk(std::string("\x03\0xy", 4), "") + chunk("data", samples)),
         S_OK, 0x11, 3, std::string("xy\0", 3), 1000},
        {"data before fmt", riff("WAVE", chunk("data", samples) + chunk("fmt ", pcmFormat)), S_OK, 1, 0, "", 1000},
        {"another chunk in between",
         riff("WAVE", chunk("fmt ", pcmFormat) + chunk("LIST", "INFOsome text") + chunk("data", samples)), S_OK, 1, 0, "", 1000},
        {"odd data size", riff("WAVE", chunk("fmt ", pcmFormat) + chunk("data", samples.substr(0, 999))), S_OK, 1, 0, "", 999},
        {"fmt of 14 bytes", riff("WAVE", chunk("fmt ", pcmFormat.substr(0, 14)) + chunk("data", samples)), E_FAIL},
        {"no fmt", riff("WAVE", chunk("data", samples)), E_FAIL},
        {"no data", riff("WAVE", chunk("fmt ", pcmFormat)), E_FAIL},
        {"form type not WAVE", riff("AVI ", chunk("fmt ", pcmFormat) + chunk("data", samples)), E_FAIL},
        {"not RIFF", chunk("LIST", "WAVE" + chunk("fmt ", pcmFormat) + chunk("data", samples)), E_FAIL},
        {"empty file", "", E_FAIL},
        {"non-pcm extra bytes cut off", riff("WAVE", chunk("fmt ", adpcm + le16(40) + "ab")), E_FAIL},
    };
}

TEST(WaveFileReader, OpensTheFilesItShouldAndKeepsTheirFormat) {
    ScratchFolder folder;
    for (const OpenCase& c : openCases()) {
        SCOPED_TRACE(c.what);
        writeBinaryFile("case.wav", c.file);
        WaveFileReader reader;
        const HRESULT result = reader.open("case.wav");
        ASSERT_EQ(result, c.result);
        if (FAILED(result)) {
            // Only a failure in finding "data" leaves the file open, its format read.
            const bool failedInReset = std::strcmp(c.what, "no data") == 0;
            EXPECT_EQ(reader.fileHandle != nullptr, failedInReset);
            EXPECT_EQ(reader.waveFormat != nullptr, failedInReset);
            continue;
        }
        ASSERT_NE(reader.waveFormat, nullptr);
        EXPECT_EQ(reader.waveFormat->wFormatTag, c.formatTag);
        EXPECT_EQ(reader.waveFormat->cbSize, c.cbSize);
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(reader.waveFormat + 1), c.cbSize), c.extra);
        EXPECT_EQ(reader.dataChunk.cksize, c.dataBytes);
        EXPECT_EQ(reader.close(), S_OK);
    }
}

TEST(WaveFileReader, MissingFileFailsAndHoldsNothing) {
    ScratchFolder folder;
    WaveFileReader reader;
    EXPECT_EQ(reader.open("no_such.wav"), E_FAIL);
    EXPECT_EQ(reader.fileHandle, nullptr);
    EXPECT_EQ(reader.waveFormat, nullptr);
    EXPECT_EQ(reader.close(), S_OK);
}

std::string readAll(WaveFileReader& reader, UINT count, UINT* copied) {
    std::string bytes(count, '\0');
    EXPECT_EQ(reader.read(count, reinterpret_cast<BYTE*>(bytes.data()), copied), S_OK);
    bytes.resize(*copied);
    return bytes;
}

TEST(WaveFileReader, ReadsCountsDownAndResetReadsTheSameBytesAgain) {
    ScratchFolder folder;
    // Larger than the I/O buffer, so the read refills it many times.
    const std::string data = patternBytes(100003);
    writeBinaryFile("big.wav", riff("WAVE", chunk("fmt ", pcmFormat) + chunk("LIST", "junk") + chunk("data", data)));
    WaveFileReader reader;
    ASSERT_EQ(reader.open("big.wav"), S_OK);

    std::string first;
    UINT copied = 0;
    for (UINT piece : {1u, 4095u, 4096u, 50000u}) {
        first += readAll(reader, piece, &copied);
        EXPECT_EQ(copied, piece);
    }
    first += readAll(reader, 1000000, &copied);
    EXPECT_EQ(copied, 100003u - 58192u) << "a read larger than what is left copies only that";
    EXPECT_EQ(reader.dataChunk.cksize, 0u);
    EXPECT_EQ(first, data);

    readAll(reader, 10, &copied);
    EXPECT_EQ(copied, 0u) << "nothing is left to read, and that is no failure";

    ASSERT_EQ(reader.reset(), S_OK);
    EXPECT_EQ(reader.dataChunk.cksize, 100003u);
    EXPECT_EQ(readAll(reader, 100003, &copied), data);
}

TEST(WaveFileReader, DataClaimingMoreThanTheFileFailsInRead) {
    ScratchFolder folder;
    writeBinaryFile("short.wav", riff("WAVE", chunk("fmt ", pcmFormat) + chunkClaiming("data", 50000, samples)));
    WaveFileReader reader;
    ASSERT_EQ(reader.open("short.wav"), S_OK);
    EXPECT_EQ(reader.dataChunk.cksize, 50000u);
    std::vector<BYTE> buffer(50000);
    UINT copied = 12345;
    EXPECT_EQ(reader.read(50000, buffer.data(), &copied), E_FAIL);
    EXPECT_EQ(copied, 0u);
    EXPECT_EQ(reader.reset(), S_OK) << "reset brings the reader back";
    EXPECT_EQ(reader.dataChunk.cksize, 50000u);
}

TEST(WaveFileReader, OpeningAgainLetsGoOfTheEarlierFile) {
    ScratchFolder folder;
    writeBinaryFile("a.wav", pcmWave(1, 8000, 8, "abc"));
    writeBinaryFile("b.wav", pcmWave(2, 8000, 8, "defghi"));
    WaveFileReader reader;
    ASSERT_EQ(reader.open("a.wav"), S_OK);
    ASSERT_EQ(reader.open("b.wav"), S_OK);
    UINT copied = 0;
    EXPECT_EQ(readAll(reader, 100, &copied), "defghi");
    EXPECT_EQ(reader.waveFormat->nChannels, 2);
    // The first file is closed: it can be removed.
    EXPECT_TRUE(std::filesystem::remove("a.wav"));
}

}  // namespace
