// The sound gauge's DirectSound device and one static buffer per slot, each
// filled from the slot's WAV file.
#pragma once

#include <windows.h>
#include <dsound.h>

#include <cstdint>

#include "sound_slots.h"
#include "wave_file_reader.h"

struct SoundDevice {
    IDirectSound* directSound;
    IDirectSoundBuffer* slotBuffers[maxSoundSlots];
    WaveFileReader* slotReaders[maxSoundSlots];
    uint32_t slotBufferBytes[maxSoundSlots];
};

extern SoundDevice soundDevice;

using SoundSlotIndex = uint16_t;

HRESULT openDevice();
HRESULT closeDevice();
HRESULT loadSound(SoundSlotIndex slot, const char* path);
HRESULT createSoundBuffer(SoundSlotIndex slot, const char* path);
HRESULT fillSoundBuffer(SoundSlotIndex slot);
HRESULT isSoundPlaying(SoundSlotIndex slot);
HRESULT playSound(SoundSlotIndex slot, int32_t loop);
void stopSound(SoundSlotIndex slot, int32_t rewind);
HRESULT restoreSound(SoundSlotIndex slot);
HRESULT releaseSound(SoundSlotIndex slot);

// How many restore passes a lost buffer gets before playing gives up, so a
// device that never restores cannot hold the simulator's thread for long.
constexpr int maxRestorePasses = 50;
