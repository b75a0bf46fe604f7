// The records through which the host finds the gauge "xml_sound": one
// invisible image element that exists only to receive the service calls.
#include "gauge_module.h"
#include "sound_cycle.h"

namespace {

constexpr int32_t blankBitmapId = 256;
constexpr uint32_t blankImageFlags = 0x83;

extern GaugeHeader soundGaugeHeader;

StaticImageElement blankImage = {
    .header = {
        .elementKind = elementStaticImage,
        .resourceId = blankBitmapId,
        .gaugeHeader = &soundGaugeHeader,
        .imageFlags = blankImageFlags,
    },
};

ElementHeader* soundElementList[] = {&blankImage.header, nullptr};

GaugeHeader soundGaugeHeader = {
    .headerVersion = 800,
    .gaugeName = "xml_sound",
    .elementList = soundElementList,
    GAUGE_ROUTINES,
    .widthMm = 20,
    .mouseAreas = nullptr,
    .serviceCallback = soundGaugeCallback,
};

}  // namespace

extern "C" {
Linkage moduleLinkage = {
    .moduleId = 0x13,
    .initRoutine = moduleNoOp,
    .deinitRoutine = moduleNoOp,
    .hostVersion = 0x0900,
    .gaugeList = {&soundGaugeHeader, nullptr},
};

ImportTable moduleImportTable = MODULE_IMPORT_TABLE;
}
