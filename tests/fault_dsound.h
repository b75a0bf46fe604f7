// A DirectSound that wraps the real one and fails, loses buffers or never
// restores them on command. It is put in place of the system's by patching
// a loaded module's import of DirectSoundCreate.
#pragma once

#include <windows.h>
#include <dsound.h>

#include <string>

struct DirectSoundFaults {
    HRESULT create = DS_OK;            // DirectSoundCreate
    HRESULT cooperativeLevel = DS_OK;  // SetCooperativeLevel
    HRESULT createBuffer = DS_OK;      // CreateSoundBuffer, every one
    HRESULT lock = DS_OK;
    HRESULT play = DS_OK;
    bool buffersLost = false;        // GetStatus reports every buffer lost ...
    int restoreFailures = 0;         // ... until Restore has failed this often; -1 never restores
};

struct DirectSoundCounts {
    int devicesLive = 0;
    int buffersLive = 0;
    int creates = 0;
    int createBuffers = 0;
    int locks = 0;
    int plays = 0;
    int restores = 0;
};

extern DirectSoundFaults directSoundFaults;
extern DirectSoundCounts directSoundCounts;

// Points the module's DirectSoundCreate import at the wrapper; false (and
// why) when the module has no such import.
bool injectDirectSoundFaults(HMODULE module, std::string& error);
