// The sound gauge's slot table and its configuration from the INI file.
#pragma once

#include <cstdint>

#include "host_panel.h"

constexpr int maxSoundSlots = 100;
constexpr int stopEntryIndex = 100;  // the table's last entry: the stop variable
constexpr int soundTextBytes = 130;

struct SoundSlot {
    int32_t loaded;
    int32_t playStarted;
    int32_t variableValue;
    char filePath[soundTextBytes];
    char variableName[soundTextBytes];
    int32_t variableId;
};

struct SoundSlotTable {
    SoundSlot entries[maxSoundSlots + 1];
};

// Module-wide configuration state; the heap parts are null until allocated
// and again after they have been released.
struct SoundConfig {
    int32_t configured;
    int32_t soundCount;
    SoundSlotTable* table;
    char* iniPath;
    char* soundValue;  // receives [Sounds] values
    char* lvarValue;   // receives [LVars] values and LvarStop
};

extern SoundConfig soundConfig;

// Allocates the table and the text buffers in their load state; false (and
// nothing held) when memory cannot be had.
bool allocateSoundTables();
void releaseSoundTables();

// Reads the INI file named by the gauge's parameter text (or the default
// file), fills the table and registers every slot variable and the stop
// variable with the host.
void configureSounds(GaugeHeader* gauge);

// "MaxSounds" as the gauge reads it: decimal with optional sign, no digits
// giving 0, at most 100.
int32_t parseSoundCount(const char* text);
