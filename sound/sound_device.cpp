#include "sound_device.h"

#include <cstdlib>
#include <cstring>
#include <new>

SoundDevice soundDevice = {};

namespace {

constexpr DWORD probeFlags = DSBCAPS_LOCSOFTWARE | DSBCAPS_CTRLVOLUME;  // 0x88
constexpr DWORD slotBufferFlags = DSBCAPS_STATIC | DSBCAPS_CTRLVOLUME;  // 0x82
constexpr DWORD probeBufferBytes = 0x0FFFFFFF;
constexpr DWORD restoreWaitMs = 10;

template <class T>
void releaseInterface(T*& object) {
    if (object != nullptr) {
        object->Release();
        object = nullptr;
    }
}

void destroyReader(SoundSlotIndex slot) {
    delete soundDevice.slotReaders[slot];
    soundDevice.slotReaders[slot] = nullptr;
}

// The device is usable only once the probe buffer could be created: it proves
// that the device takes a plain 16-bit stereo buffer.
HRESULT createProbeBuffer() {
    WAVEFORMATEX format = {};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = 2;
    format.nSamplesPerSec = 22050;
    format.wBitsPerSample = 16;
    format.nBlockAlign = WORD(format.wBitsPerSample / 8 * format.nChannels);
    format.nAvgBytesPerSec = format.nBlockAlign * format.nSamplesPerSec;
    format.cbSize = 0;

    DSBUFFERDESC description = {};
    description.dwSize = sizeof description;
    description.dwFlags = probeFlags;
    description.dwBufferBytes = probeBufferBytes;
    description.lpwfxFormat = &format;

    IDirectSoundBuffer* probe = nullptr;
    HRESULT result = soundDevice.directSound->CreateSoundBuffer(&description, &probe, nullptr);
    if (FAILED(result)) return result;
    probe->Release();
    return S_OK;
}

// Formats a static buffer can play: plain PCM or float samples whose header
// adds up. A file can claim anything, and the platform's mixer has been seen
// to crash the whole process on a format it accepted; such files are refused.
bool playableFormat(const WAVEFORMATEX* format) {
    constexpr WORD floatFormat = 3;
    if (format->wFormatTag != WAVE_FORMAT_PCM && format->wFormatTag != floatFormat) return false;
    if (format->nChannels < 1 || format->nChannels > 8) return false;
    const WORD bits = format->wBitsPerSample;
    if (bits != 8 && bits != 16 && bits != 24 && bits != 32) return false;
    if (format->nBlockAlign != format->nChannels * bits / 8) return false;
    if (format->nSamplesPerSec < 1000 || format->nSamplesPerSec > 192000) return false;
    return format->nAvgBytesPerSec == format->nSamplesPerSec * format->nBlockAlign;
}

DWORD bufferStatus(IDirectSoundBuffer* buffer, HRESULT* result) {
    DWORD status = 0;
    HRESULT got = buffer->GetStatus(&status);
    if (result != nullptr) *result = got;
    return status;
}

}  // namespace

HRESULT openDevice() {
    // A device already held stays: its buffers belong to it.
    if (soundDevice.directSound != nullptr) return S_OK;
    HRESULT result = DirectSoundCreate(nullptr, &soundDevice.directSound, nullptr);
    if (FAILED(result)) {
        soundDevice.directSound = nullptr;
        return result;
    }
    HWND mainWindow = FindWindowA("FS98MAIN", nullptr);
    result = soundDevice.directSound->SetCooperativeLevel(mainWindow, DSSCL_NORMAL);
    if (FAILED(result)) return result;
    return createProbeBuffer();
}

HRESULT closeDevice() {
    releaseInterface(soundDevice.directSound);
    return S_OK;
}

HRESULT createSoundBuffer(SoundSlotIndex slot, const char* path) {
    destroyReader(slot);
    releaseInterface(soundDevice.slotBuffers[slot]);

    WaveFileReader* reader = new (std::nothrow) WaveFileReader;
    if (reader == nullptr) return E_OUTOFMEMORY;
    soundDevice.slotReaders[slot] = reader;
    if (FAILED(reader->open(path))) return E_FAIL;

    DSBUFFERDESC description = {};
    description.dwSize = sizeof description;
    description.dwFlags = slotBufferFlags;
    description.dwBufferBytes = reader->dataChunk.cksize;
    description.lpwfxFormat = reader->waveFormat;

    if (soundDevice.directSound == nullptr) return DSERR_UNINITIALIZED;
    if (!playableFormat(reader->waveFormat)) return DSERR_BADFORMAT;
    HRESULT result = soundDevice.directSound->CreateSoundBuffer(&description, &soundDevice.slotBuffers[slot], nullptr);
    if (FAILED(result)) {
        soundDevice.slotBuffers[slot] = nullptr;
        return result;
    }
    soundDevice.slotBufferBytes[slot] = description.dwBufferBytes;
    return S_OK;
}

HRESULT fillSoundBuffer(SoundSlotIndex slot) {
    WaveFileReader* reader = soundDevice.slotReaders[slot];
    const DWORD bufferBytes = soundDevice.slotBufferBytes[slot];
    // After a failed read the reader stands somewhere inside the data; start
    // from its first byte so the buffer gets the whole sound.
    if (reader->dataChunk.cksize != bufferBytes) reader->reset();

    const UINT wanted = reader->dataChunk.cksize;
    BYTE* staging = static_cast<BYTE*>(std::malloc(wanted ? wanted : 1));
    if (staging == nullptr) return E_OUTOFMEMORY;

    UINT copied = 0;
    HRESULT result = reader->read(wanted, staging, &copied);
    if (SUCCEEDED(result)) {
        reader->reset();
        void* region = nullptr;
        DWORD regionBytes = 0;
        result = soundDevice.slotBuffers[slot]->Lock(0, bufferBytes, &region, &regionBytes, nullptr, nullptr, 0);
        if (SUCCEEDED(result)) {
            DWORD count = copied < regionBytes ? copied : regionBytes;
            std::memcpy(region, staging, count);
            soundDevice.slotBuffers[slot]->Unlock(region, count, nullptr, 0);
            result = S_OK;
        }
    }
    std::free(staging);
    return result;
}

HRESULT loadSound(SoundSlotIndex slot, const char* path) {
    HRESULT result = createSoundBuffer(slot, path);
    if (FAILED(result)) return result;
    return fillSoundBuffer(slot);
}

HRESULT isSoundPlaying(SoundSlotIndex slot) {
    IDirectSoundBuffer* buffer = soundDevice.slotBuffers[slot];
    if (buffer == nullptr) return E_FAIL;
    return (bufferStatus(buffer, nullptr) & DSBSTATUS_PLAYING) ? 1 : 0;
}

HRESULT playSound(SoundSlotIndex slot, int32_t loop) {
    IDirectSoundBuffer* buffer = soundDevice.slotBuffers[slot];
    if (buffer == nullptr) return E_FAIL;
    HRESULT result = restoreSound(slot);
    if (FAILED(result)) return result;
    result = buffer->Play(0, 0, loop != 0 ? DSBPLAY_LOOPING : 0);
    return FAILED(result) ? result : S_OK;
}

void stopSound(SoundSlotIndex slot, int32_t rewind) {
    IDirectSoundBuffer* buffer = soundDevice.slotBuffers[slot];
    if (buffer == nullptr) return;
    buffer->Stop();
    if (rewind != 0) buffer->SetCurrentPosition(0);
}

HRESULT restoreSound(SoundSlotIndex slot) {
    IDirectSoundBuffer* buffer = soundDevice.slotBuffers[slot];
    if (buffer == nullptr) return S_OK;
    HRESULT result = S_OK;
    DWORD status = bufferStatus(buffer, &result);
    if (FAILED(result)) return result;
    if (!(status & DSBSTATUS_BUFFERLOST)) return S_OK;

    bool restored = false;
    for (int pass = 0; pass < maxRestorePasses && !restored; ++pass) {
        if (buffer->Restore() == DSERR_BUFFERLOST) Sleep(restoreWaitMs);
        restored = buffer->Restore() == DS_OK;
    }
    if (!restored) return DSERR_BUFFERLOST;
    return fillSoundBuffer(slot);
}

HRESULT releaseSound(SoundSlotIndex slot) {
    destroyReader(slot);
    releaseInterface(soundDevice.slotBuffers[slot]);
    return S_OK;
}
