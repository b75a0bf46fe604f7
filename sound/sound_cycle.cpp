#include "sound_cycle.h"

#include <cmath>
#include <cstdio>

#include "gauge_module.h"
#include "sound_device.h"
#include "sound_slots.h"

namespace {

enum SlotRequest : int32_t { requestStop = 0, requestPlayOnce = 1, requestLoop = 2 };

SoundSlot& slotAt(int index) { return soundConfig.table->entries[index]; }

bool soundPlaying(int index) { return isSoundPlaying(SoundSlotIndex(index)) != 0; }

void writeVariableZero(SoundSlot& slot) {
    slot.variableId = hostPanel().lookupNamedVariable(slot.variableName);
    hostPanel().writeNamedVariable(slot.variableId, 0.0);
}

// The file is loaded only once it exists; until then every update tries again.
void lazyLoad(int index) {
    SoundSlot& slot = slotAt(index);
    std::FILE* file = std::fopen(slot.filePath, "r");
    if (file == nullptr) return;
    std::fclose(file);
    slot.loaded = 1;
    loadSound(SoundSlotIndex(index), slot.filePath);
}

void serveStop(int index) {
    SoundSlot& slot = slotAt(index);
    if (!slot.loaded) return;
    if (soundPlaying(index)) stopSound(SoundSlotIndex(index), 1);
    slot.playStarted = 0;
}

void servePlayOnce(int index) {
    SoundSlot& slot = slotAt(index);
    if (!slot.loaded) lazyLoad(index);
    if (!slot.loaded) return;
    if (!soundPlaying(index) && slot.playStarted) {
        writeVariableZero(slot);
        slot.playStarted = 0;
    } else if (!soundPlaying(index) && !slot.playStarted) {
        playSound(SoundSlotIndex(index), 0);
        slot.playStarted = 1;
    }
}

void serveLoop(int index) {
    SoundSlot& slot = slotAt(index);
    if (!slot.loaded) lazyLoad(index);
    if (!slot.loaded) return;
    if (!soundPlaying(index)) {
        playSound(SoundSlotIndex(index), 1);
        slot.playStarted = 1;
    }
}

void pollSlot(int index) {
    SoundSlot& slot = slotAt(index);
    slot.variableId = hostPanel().lookupNamedVariable(slot.variableName);
    slot.variableValue = slotValueFromVariable(hostPanel().readNamedVariable(slot.variableId));
    switch (slot.variableValue) {
        case requestStop: serveStop(index); break;
        case requestPlayOnce: servePlayOnce(index); break;
        case requestLoop: serveLoop(index); break;
        default: break;
    }
}

void stopPass() {
    SoundSlot& stop = slotAt(stopEntryIndex);
    stop.variableId = hostPanel().lookupNamedVariable(stop.variableName);
    if (!(hostPanel().readNamedVariable(stop.variableId) > 0.0)) return;
    for (int i = 0; i < soundConfig.soundCount; ++i) {
        SoundSlot& slot = slotAt(i);
        if (!slot.loaded || !soundPlaying(i)) continue;
        stopSound(SoundSlotIndex(i), 1);
        slot.playStarted = 0;
        writeVariableZero(slot);
    }
    hostPanel().writeNamedVariable(stop.variableId, 0.0);
}

void poll() {
    for (int i = 0; i < soundConfig.soundCount; ++i) pollSlot(i);
    stopPass();
}

void beforeUpdate(GaugeHeader* gauge) {
    // After a shutdown the tables are gone; a panel window that opens again
    // gets them afresh and configures anew. Without memory the gauge rests.
    if (soundConfig.table == nullptr && !allocateSoundTables()) return;
    if (!soundConfig.configured) configureSounds(gauge);
    poll();
}

void shutdown() {
    if (soundConfig.table != nullptr) {
        for (int i = 0; i < soundConfig.soundCount; ++i) {
            if (!slotAt(i).loaded) continue;
            if (soundPlaying(i)) stopSound(SoundSlotIndex(i), 0);
            releaseSound(SoundSlotIndex(i));
        }
    }
    closeDevice();
    releaseSoundTables();
}

}  // namespace

int32_t slotValueFromVariable(double value) {
    if (!(value > -2147483649.0 && value < 2147483648.0)) return INT32_MIN;
    return int32_t(value);
}

void HOST_CALL soundGaugeCallback(GaugeHeader* gauge, uint32_t serviceId, uint32_t) {
    switch (serviceId) {
        case serviceBeforeUpdate: beforeUpdate(gauge); break;
        case servicePanelOpened: openDevice(); break;
        case servicePanelClosed: shutdown(); break;
        default: break;
    }
}
