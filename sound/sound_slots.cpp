#include "sound_slots.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "gauge_module.h"

SoundConfig soundConfig = {0, maxSoundSlots, nullptr, nullptr, nullptr, nullptr};

namespace {

const char defaultIniPath[] = "./Gauges/vorn_xml_sound.ini";
const char defaultStopName[] = "vorn_stop_sounds";
constexpr DWORD soundCountCapacity = 5;
constexpr DWORD valueCapacity = 128;

// The table and its buffers exist from the moment the library loads.
const bool allocatedAtLoad = allocateSoundTables();

void copyText(char* target, const char* source) {
    std::strncpy(target, source, soundTextBytes - 1);
    target[soundTextBytes - 1] = '\0';
}

// A path too long for iniPath would be cut into the name of some other file;
// the gauge then reads the default file instead, as for an empty text.
const char* chooseIniPath(const char* parameterText) {
    if (parameterText == nullptr || parameterText[0] == '\0') return defaultIniPath;
    if (strnlen(parameterText, soundTextBytes) >= soundTextBytes) return defaultIniPath;
    return parameterText;
}

void readValue(const char* section, const char* key, const char* fallback, char* into, DWORD capacity) {
    GetPrivateProfileStringA(section, key, fallback, into, capacity, soundConfig.iniPath);
}

// Register, then look up: the id of the look-up is the one that stays.
int32_t registerVariable(const char* name) {
    hostPanel().registerNamedVariable(name);
    return hostPanel().lookupNamedVariable(name);
}

// A slot's text from the file, or the slot's default when the file gives none.
void readSlotText(const char* section, const char* keyFormat, const char* defaultFormat, int index, char* buffer,
                  char* target) {
    char key[16];
    std::snprintf(key, sizeof key, keyFormat, index);
    readValue(section, key, "", buffer, valueCapacity);
    if (buffer[0] != '\0') copyText(target, buffer);
    else std::snprintf(target, soundTextBytes, defaultFormat, index);
}

void configureSlot(int index) {
    SoundSlot& slot = soundConfig.table->entries[index];
    readSlotText("Sounds", "Sound%02d", "./Sound/vorn/vorn_xml_%02d.wav", index, soundConfig.soundValue, slot.filePath);
    readSlotText("LVars", "Lvar%02d", "vorn_xml_id_%02d", index, soundConfig.lvarValue, slot.variableName);
    slot.variableId = registerVariable(slot.variableName);
    slot.playStarted = 0;
    slot.loaded = 0;
}

void configureStopEntry() {
    SoundSlot& stop = soundConfig.table->entries[stopEntryIndex];
    readValue("Config", "LvarStop", defaultStopName, soundConfig.lvarValue, valueCapacity);
    copyText(stop.variableName, soundConfig.lvarValue[0] != '\0' ? soundConfig.lvarValue : defaultStopName);
    stop.variableId = registerVariable(stop.variableName);
}

}  // namespace

bool allocateSoundTables() {
    releaseSoundTables();
    soundConfig.table = static_cast<SoundSlotTable*>(std::calloc(1, sizeof(SoundSlotTable)));
    soundConfig.iniPath = static_cast<char*>(std::calloc(1, soundTextBytes));
    soundConfig.soundValue = static_cast<char*>(std::calloc(1, soundTextBytes));
    soundConfig.lvarValue = static_cast<char*>(std::calloc(1, soundTextBytes));
    soundConfig.configured = 0;
    soundConfig.soundCount = maxSoundSlots;
    if (soundConfig.table && soundConfig.iniPath && soundConfig.soundValue && soundConfig.lvarValue) return true;
    releaseSoundTables();
    return false;
}

void releaseSoundTables() {
    std::free(soundConfig.table);
    std::free(soundConfig.iniPath);
    std::free(soundConfig.soundValue);
    std::free(soundConfig.lvarValue);
    soundConfig.table = nullptr;
    soundConfig.iniPath = nullptr;
    soundConfig.soundValue = nullptr;
    soundConfig.lvarValue = nullptr;
}

int32_t parseSoundCount(const char* text) {
    const char* p = text;
    while (*p == ' ' || (*p >= '\t' && *p <= '\r')) ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = (*p++ == '-');
    int32_t value = 0;
    // The text is at most four characters, so the value cannot overflow.
    while (*p >= '0' && *p <= '9') value = value * 10 + (*p++ - '0');
    if (negative) value = -value;
    return value > maxSoundSlots ? maxSoundSlots : value;
}

void configureSounds(GaugeHeader* gauge) {
    std::strcpy(soundConfig.iniPath, chooseIniPath(gauge->parameterText));
    soundConfig.configured = 1;

    char countText[soundCountCapacity];
    readValue("Config", "MaxSounds", "100", countText, soundCountCapacity);
    soundConfig.soundCount = parseSoundCount(countText);

    for (int i = soundConfig.soundCount - 1; i >= 0; --i) configureSlot(i);
    configureStopEntry();
}
