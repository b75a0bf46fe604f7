// The sound buffer layer over the real DirectSound of the platform, playing
// into the tests' own sound server.
#include <chrono>
#include <functional>
#include <thread>

#include "gauge_test_support.h"
#include "sound_device.h"
#include "wav_builder.h"

namespace {

using namespace std::chrono_literals;

// Waits for a condition with a deadline far beyond any sane machine.
bool within(std::chrono::milliseconds deadline, const std::function<bool()>& condition) {
    const auto end = std::chrono::steady_clock::now() + deadline;
    while (std::chrono::steady_clock::now() < end) {
        if (condition()) return true;
        std::this_thread::sleep_for(10ms);
    }
    return condition();
}

DWORD playPosition(SoundSlotIndex slot) {
    DWORD play = 0, write = 0;
    soundDevice.slotBuffers[slot]->GetCurrentPosition(&play, &write);
    return play;
}

class SoundDeviceTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(openDevice(), S_OK); }
    void TearDown() override {
        for (SoundSlotIndex slot = 0; slot < maxSoundSlots; ++slot) releaseSound(slot);
        closeDevice();
        EXPECT_EQ(soundDevice.directSound, nullptr);
    }
    ScratchFolder folder;
};

TEST_F(SoundDeviceTest, SlotWithoutBufferIsHarmless) {
    EXPECT_EQ(isSoundPlaying(3), E_FAIL);
    EXPECT_EQ(playSound(3, 0), E_FAIL);
    stopSound(3, 1);
    EXPECT_EQ(restoreSound(3), S_OK);
    EXPECT_EQ(releaseSound(3), S_OK);
    EXPECT_EQ(loadSound(3, "no_such.wav"), E_FAIL);
    EXPECT_NE(soundDevice.slotReaders[3], nullptr) << "the reader stays in the slot until it is released";
    EXPECT_EQ(soundDevice.slotBuffers[3], nullptr);
    EXPECT_EQ(isSoundPlaying(3), E_FAIL);
    EXPECT_EQ(releaseSound(3), S_OK);
    EXPECT_EQ(soundDevice.slotReaders[3], nullptr);
}

TEST_F(SoundDeviceTest, BufferTakesTheFileOwnFormatAndSize) {
    const std::string samples = patternBytes(11025);
    writeBinaryFile("mono8.wav", pcmWave(1, 11025, 8, samples));
    ASSERT_EQ(loadSound(0, "mono8.wav"), S_OK);
    WAVEFORMATEX format = {};
    ASSERT_EQ(soundDevice.slotBuffers[0]->GetFormat(&format, sizeof format, nullptr), DS_OK);
    EXPECT_EQ(format.nChannels, 1);
    EXPECT_EQ(format.nSamplesPerSec, 11025u);
    EXPECT_EQ(format.wBitsPerSample, 8);
    DSBCAPS caps = {sizeof caps};
    ASSERT_EQ(soundDevice.slotBuffers[0]->GetCaps(&caps), DS_OK);
    EXPECT_EQ(caps.dwBufferBytes, 11025u);
    EXPECT_EQ(soundDevice.slotBufferBytes[0], 11025u);
    EXPECT_TRUE(caps.dwFlags & DSBCAPS_STATIC);

    // The buffer holds the file's bytes.
    void* region = nullptr;
    DWORD bytes = 0;
    ASSERT_EQ(soundDevice.slotBuffers[0]->Lock(0, 11025, &region, &bytes, nullptr, nullptr, 0), DS_OK);
    EXPECT_EQ(std::string(static_cast<char*>(region), bytes), samples);
    soundDevice.slotBuffers[0]->Unlock(region, bytes, nullptr, 0);
    EXPECT_EQ(soundDevice.slotReaders[0]->dataChunk.cksize, 11025u) << "the reader is reset for a refill";
}

TEST_F(SoundDeviceTest, PlaysOnceToTheEndOrLoopsUntilStopped) {
    writeBinaryFile("tone.wav", toneWave(0.3));
    ASSERT_EQ(loadSound(1, "tone.wav"), S_OK);
    EXPECT_EQ(isSoundPlaying(1), 0);
    ASSERT_EQ(playSound(1, 0), S_OK);
    EXPECT_EQ(isSoundPlaying(1), 1);
    EXPECT_TRUE(within(10s, [] { return isSoundPlaying(1) == 0; })) << "a single play ends by itself";

    stopSound(1, 1);
    ASSERT_EQ(playSound(1, 1), S_OK);
    std::this_thread::sleep_for(800ms);  // well past the sound's length
    EXPECT_EQ(isSoundPlaying(1), 1) << "a loop goes on";
    stopSound(1, 1);
    EXPECT_EQ(isSoundPlaying(1), 0);
    EXPECT_EQ(playPosition(1), 0u) << "rewound";
}

TEST_F(SoundDeviceTest, StopWithoutRewindContinuesWhereItStopped) {
    writeBinaryFile("long.wav", toneWave(3.0));
    ASSERT_EQ(loadSound(2, "long.wav"), S_OK);
    ASSERT_EQ(playSound(2, 0), S_OK);
    ASSERT_TRUE(within(10s, [] { return playPosition(2) > 0; }));
    stopSound(2, 0);
    const DWORD stoppedAt = playPosition(2);
    EXPECT_GT(stoppedAt, 0u);
    ASSERT_EQ(playSound(2, 0), S_OK);
    EXPECT_GE(playPosition(2), stoppedAt);
    stopSound(2, 1);
    EXPECT_EQ(playPosition(2), 0u);
}

TEST_F(SoundDeviceTest, LoadingALoadedSlotAgainReplacesBufferAndReader) {
    writeBinaryFile("a.wav", pcmWave(1, 8000, 8, patternBytes(800)));
    writeBinaryFile("b.wav", pcmWave(1, 8000, 8, patternBytes(1600)));
    ASSERT_EQ(loadSound(4, "a.wav"), S_OK);
    ASSERT_EQ(loadSound(4, "b.wav"), S_OK);
    EXPECT_EQ(soundDevice.slotBufferBytes[4], 1600u);
    EXPECT_TRUE(std::filesystem::remove("a.wav")) << "the first file was closed";
}

TEST(SoundDeviceWithoutDevice, CreatingABufferFailsWithoutCallingIntoNothing) {
    ScratchFolder folder;
    writeBinaryFile("tone.wav", toneWave(0.1));
    ASSERT_EQ(soundDevice.directSound, nullptr);
    EXPECT_LT(loadSound(5, "tone.wav"), 0);
    EXPECT_EQ(soundDevice.slotBuffers[5], nullptr);
    EXPECT_EQ(isSoundPlaying(5), E_FAIL);
    EXPECT_EQ(releaseSound(5), S_OK);
    EXPECT_EQ(closeDevice(), S_OK);
}

TEST(SoundDeviceOpen, SecondOpenKeepsTheDeviceItHolds) {
    ASSERT_EQ(openDevice(), S_OK);
    IDirectSound* first = soundDevice.directSound;
    EXPECT_EQ(openDevice(), S_OK);
    EXPECT_EQ(soundDevice.directSound, first);
    EXPECT_EQ(closeDevice(), S_OK);
    EXPECT_EQ(soundDevice.directSound, nullptr);
}

}  // namespace
