#include "clock_face.h"

#include "clock_buttons.h"
#include "clock_service.h"
#include "clock_state.h"
#include "display_text.h"
#include "gauge_module.h"
#include "time_displays.h"
#include "upper_display.h"

namespace {

// Host variable numbers the face's elements read.
enum FaceVariable : int32_t {
    noVariable = 0,
    tickCount = 1,
    localHours = 3,
    localMinutes = 4,
    zuluHours = 6,
    zuluMinutes = 7,
    panelLights = 10,
    flightTimerHold = 60,
    displayResult = 336,
    outsideAirCelsius = 341,
    timeSource = 557,
    busVolts = 753,
    clockPower = 769,
    clockFetched = 773,
};

constexpr uint32_t rgb(uint8_t r, uint8_t g, uint8_t b) { return r | (g << 8) | (b << 16); }

constexpr uint32_t textFlagsCentred = 0x25;  // centre, vertical centre, single line
constexpr int32_t normalWeight = 400;
constexpr uint32_t defaultCharset = 1;
constexpr uint32_t lcdInk = rgb(5, 5, 5);
constexpr uint32_t shownFlags = 0x3;
constexpr uint32_t hiddenFlags = imageFlagHidden | 0x3;

extern GaugeHeader clockGaugeHeader;

const FailureList displayFailures[] = {{20, 3}, {0, 0}};

ModuleVariable source(int32_t varId) { return ModuleVariable{.varId = varId}; }

ElementHeader header(ElementKind kind, int32_t resourceId, int32_t x, int32_t y, ElementHeader** children,
                     const FailureList* failures, uint32_t flags) {
    return ElementHeader{.elementKind = kind, .resourceId = resourceId, .positionX = x, .positionY = y,
                         .gaugeHeader = &clockGaugeHeader, .children = children, .failureList = failures,
                         .imageFlags = flags};
}

StringElement text(int32_t x, int32_t y, ElementHeader** children, uint32_t flags, int32_t width, int32_t height,
                   int32_t charCount, const char* font, uint32_t highlight, int32_t var1, int32_t var2, int32_t var3,
                   StringCallback callback) {
    StringElement e{.header = header(elementString, -1, x, y, children, displayFailures, flags),
                    .sources = {source(var1), source(var2), source(var3)},
                    .widthPx = width, .heightPx = height,
                    .textColour = lcdInk, .backColour = rgb(0, 0, 0), .highlightColour = highlight,
                    .fontWeight = normalWeight, .fontCharset = defaultCharset, .textFormat = textFlagsCentred,
                    .charCount = charCount, .textCallback = callback};
    for (int i = 0; font[i] != '\0' && i < 31; ++i) e.fontName[i] = font[i];
    return e;
}

StringElement upperText = text(25, 19, nullptr, shownFlags, 35, 13, 5, "Quartz", lcdInk,
                               busVolts, outsideAirCelsius, noVariable, updateUpperText);
StringElement timeModeLabel = text(10, 33, nullptr, hiddenFlags, 18, 9, 3, "Arial Narrow", lcdInk,
                                   noVariable, noVariable, noVariable, updateTimeModeLabel);
StringElement timerModeLabel = text(10, 42, nullptr, hiddenFlags, 18, 9, 3, "Arial Narrow", lcdInk,
                                    noVariable, noVariable, noVariable, updateTimerModeLabel);
ElementHeader* elapsedTimeChildren[] = {&upperText.header, &timeModeLabel.header, &timerModeLabel.header, nullptr};

StringElement elapsedTimeText = text(24, 34, elapsedTimeChildren, hiddenFlags, 42, 16, 5, "Quartz", rgb(8, 8, 8),
                                     displayResult, timeSource, tickCount, updateElapsedTimeText);
ElementHeader* flightTimeChildren[] = {&elapsedTimeText.header, nullptr};

StringElement flightTimeText = text(24, 34, flightTimeChildren, hiddenFlags, 42, 16, 5, "Quartz", rgb(8, 8, 8),
                                    displayResult, flightTimerHold, tickCount, updateFlightTimeText);
ElementHeader* clockTextChildren[] = {&flightTimeText.header, nullptr};

StringElement clockText = text(24, 34, clockTextChildren, hiddenFlags, 42, 16, 5, "Quartz", rgb(0, 0, 0),
                               clockPower, clockFetched, tickCount, updateClockText);
ElementHeader* bezelChildren[] = {&clockText.header, nullptr};

IconElement bezelImage = {.header = header(elementIcon, 4, 0, 0, bezelChildren, nullptr, 0x83),
                          .source = source(noVariable), .imageCount = 1, .iconCallback = nullptr};
ElementHeader* displayBackingChildren[] = {&bezelImage.header, nullptr};

IconElement displayBacking = {.header = header(elementIcon, 2, 9, 17, displayBackingChildren, displayFailures, 0x7),
                              .source = source(panelLights), .imageCount = 3, .iconCallback = updateBacklight};
ElementHeader* baseImageChildren[] = {&displayBacking.header, nullptr};

StaticImageElement baseImage = {.header = header(elementStaticImage, 1, 0, 0, baseImageChildren, nullptr, 0x3)};
ElementHeader* rootList[] = {&baseImage.header, nullptr};

constexpr uint32_t helpChronometer = 43798;

MouseArea area(int32_t kind, int32_t x, int32_t y, int32_t w, int32_t h, int32_t cursor, uint32_t help,
               uint32_t flags, MouseHandler handler) {
    return MouseArea{kind, x, y, w, h, cursor, help, flags, 0, handler, 0};
}

const MouseArea clockMouseAreas[] = {
    area(mouseGroupBegin, 0, 0, 0, 0, cursorNone, helpChronometer, 0, nullptr),
    area(mouseArea, 32, 2, 11, 9, cursorHand, 0, mouseLeftSingle, onOatVoltClick),
    area(mouseArea, 20, 60, 11, 10, cursorHand, 0, mouseLeftSingle, onSelClick),
    area(mouseArea, 47, 60, 11, 10, cursorHand, 0, mouseLeftSingle | mouseRepeatWhileHeld, onCtrlClick),
    area(mouseArea, 28, 32, 56, 20, cursorHand, 0, mouseRightSingle, onSetModeClick),
    area(mouseGroupEnd, 0, 0, 0, 0, cursorNone, 0, 0, nullptr),
    area(mouseListEnd, 0, 0, 0, 0, cursorNone, 0, 0, nullptr),
};

GaugeHeader clockGaugeHeader = {
    .headerVersion = 700,
    .gaugeName = "D803",
    .elementList = rootList,
    GAUGE_ROUTINES,
    .widthMm = 76,
    .mouseAreas = clockMouseAreas,
    .serviceCallback = clockGaugeCallback,
};

// The labels keep their last text in the modes they do not name.
double modeLabel(StringElement* e, const char* evenMode, const char* oddMode, uint8_t firstMode) {
    const double result = zeroFlag(e->sources[2].varValue);
    if (clockState.lowerMode == firstMode) writeDisplayText(e, "%2s", evenMode);
    if (clockState.lowerMode == firstMode + 1) writeDisplayText(e, "%3s", oddMode);
    return result;
}

}  // namespace

ModuleVariable clockTimeVariables[clockTimeVariableCount] = {
    source(localHours), source(localMinutes), source(zuluHours), source(zuluMinutes)};

double HOST_CALL updateTimeModeLabel(StringElement* e) { return modeLabel(e, "UT", "LT", lowerUt); }
double HOST_CALL updateTimerModeLabel(StringElement* e) { return modeLabel(e, "FT", "ET", lowerFt); }

extern "C" {
Linkage moduleLinkage = {
    .moduleId = 0x13,
    .initRoutine = moduleNoOp,
    .deinitRoutine = moduleNoOp,
    .hostVersion = 0,
    .gaugeList = {&clockGaugeHeader, nullptr},
};

ImportTable moduleImportTable = MODULE_IMPORT_TABLE;
}
