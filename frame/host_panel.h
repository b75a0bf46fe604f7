// The host's records and panel function table, in the host's 32-bit layout.
// Every offset and size the host relies on is asserted below; a record that
// drifts by one byte would make the simulator read garbage from the module.
#pragma once

#include <cstddef>
#include <cstdint>

#if !defined(_WIN32) || defined(_WIN64)
#error "gauge modules and their host are 32-bit Windows code"
#endif

// The calling convention of every routine exchanged with the host.
#define HOST_CALL __stdcall

struct GaugeHeader;
struct ElementHeader;
struct StringElement;
struct IconElement;
struct ModuleVariable;

// Service ids the gauges act on; every other id is ignored.
enum ServiceId : uint32_t {
    serviceAfterInstall = 3,
    serviceBeforeUpdate = 6,
    serviceBeforeDraw = 10,
    servicePanelOpened = 14,
    servicePanelClosed = 15,
};

// Bits of ElementHeader::imageFlags.
constexpr uint32_t imageFlagHidden = 0x40000000;  // not drawn while set
constexpr uint32_t imageFlagBright = 0x4;         // drawn lit while set

// ElementHeader::elementKind
enum ElementKind : int32_t {
    elementStaticImage = 0,
    elementString = 2,
    elementIcon = 4,
};

// MouseArea::areaKind
enum MouseAreaKind : int32_t {
    mouseListEnd = 0,
    mouseGroupBegin = 1,
    mouseArea = 2,
    mouseGroupEnd = 3,
};

// MouseArea::eventFlags
constexpr uint32_t mouseLeftSingle = 0x20000000;
constexpr uint32_t mouseRepeatWhileHeld = 0x00200000;
constexpr uint32_t mouseRightSingle = 0x80000000;

// MouseArea::cursor
constexpr int32_t cursorNone = -1;
constexpr int32_t cursorHand = 5;

// ImportTable entry through which the host hands over its panel table.
constexpr uint32_t panelTableImportId = 15;

// A click point handed to mouse handlers, in gauge pixels.
struct PixelPoint {
    int32_t x;
    int32_t y;
};

using PlainRoutine = void(HOST_CALL*)();
using ValueRoutine = void(HOST_CALL*)(uint32_t value);
using ServiceCallback = void(HOST_CALL*)(GaugeHeader* gauge, uint32_t serviceId, uint32_t extra);
using StringCallback = double(HOST_CALL*)(StringElement* element);
using IconCallback = double(HOST_CALL*)(IconElement* element);
using MouseHandler = int32_t(HOST_CALL*)(PixelPoint* clickPoint, uint32_t eventFlags);

#pragma pack(push, 4)

struct ModuleVariable {
    int32_t varId;  // host variable number; 0 means none
    uint8_t host4[8];
    double varValue;  // filled by the host
    uint8_t host20[8];
};

struct FailureList {
    int32_t failureKey;
    int32_t failureAction;
};

struct ElementHeader {
    int32_t elementKind;
    int32_t resourceId;
    int32_t positionX;
    int32_t positionY;
    uint8_t host16[16];
    GaugeHeader* gaugeHeader;
    uint32_t host36;
    ElementHeader** children;  // null-terminated, or null
    const FailureList* failureList;
    uint32_t imageFlags;
    uint32_t reserved52;
    uint32_t reserved56;
};

struct StaticImageElement {
    ElementHeader header;
    uint8_t host60[36];
};

struct StringElement {
    ElementHeader header;
    ModuleVariable sources[3];
    uint8_t host144[40];
    char* textBuffer;  // host storage of charCount + 1 bytes
    uint32_t host188;
    int32_t widthPx;
    int32_t heightPx;
    uint8_t host200[8];
    uint32_t textColour;  // 0x00BBGGRR
    uint32_t backColour;
    uint32_t highlightColour;
    uint8_t host220[28];
    char fontName[32];
    int32_t fontWeight;
    uint32_t fontCharset;
    uint32_t textFormat;  // flags of the Windows text-drawing function
    int32_t charCount;
    uint8_t host296[16];
    StringCallback textCallback;
};

struct IconElement {
    ElementHeader header;
    ModuleVariable source;
    uint8_t host88[24];
    int32_t imageCount;
    uint8_t host116[16];
    IconCallback iconCallback;  // or null
};

struct MouseArea {
    int32_t areaKind;
    int32_t x, y, width, height;
    int32_t cursor;
    uint32_t helpId;
    uint32_t eventFlags;
    uint32_t eventId;
    MouseHandler handler;  // or null
    uint32_t handlerData;
};

struct GaugeHeader {
    uint32_t headerVersion;
    const char* gaugeName;
    ElementHeader** elementList;  // null-terminated; entry 0 is the root
    PlainRoutine queryRoutine;
    ValueRoutine installRoutine;
    PlainRoutine initializeRoutine;
    PlainRoutine updateRoutine;
    ValueRoutine generateRoutine;
    PlainRoutine drawRoutine;
    PlainRoutine killRoutine;
    uint32_t reserved40;
    uint32_t widthMm;
    uint8_t host48[32];
    const MouseArea* mouseAreas;  // or null
    ServiceCallback serviceCallback;
    uint32_t userData;
    const char* parameterText;  // filled by the host; may be empty
    uint8_t host96[108];
};

// How many bytes of GaugeHeader the host reads for each header version.
constexpr size_t gaugeHeaderBytesV700 = 116;
constexpr size_t gaugeHeaderBytesV800 = 204;

struct Linkage {
    uint32_t moduleId;
    PlainRoutine initRoutine;
    PlainRoutine deinitRoutine;
    uint32_t moduleFlags;
    uint32_t moduleVersion;
    uint32_t hostVersion;
    GaugeHeader* gaugeList[2];  // the module's gauge, then null
};

struct HostPanelTable;

struct ImportEntry {
    uint32_t importId;
    HostPanelTable* tablePointer;
};

struct ImportTable {
    ImportEntry panel;       // importId 15; the host fills tablePointer
    ImportEntry listEnd;     // all zero
};

// The host's panel function table as the gauges see it. Only the named
// entries are ever called; the others keep the table's positions.
using ElementListOp = void(HOST_CALL*)(ElementHeader* root);
using ElementListValueOp = void(HOST_CALL*)(ElementHeader* root, uint32_t value);
using SendKeyEventOp = void(HOST_CALL*)(uint32_t eventId, uint32_t value);
using ModuleVariableOp = void(HOST_CALL*)(ModuleVariable* variable);
using NamedVariableNameOp = int32_t(HOST_CALL*)(const char* name);
using ReadNamedVariableOp = double(HOST_CALL*)(int32_t id);
using WriteNamedVariableOp = void(HOST_CALL*)(int32_t id, double value);
using UnusedHostEntry = void*;

struct HostPanelTable {
    UnusedHostEntry unused0[24];
    ElementListOp queryElementList;
    ElementListValueOp installElementList;
    ElementListOp initializeElementList;
    ElementListOp updateElementList;
    ElementListValueOp generateElementList;
    ElementListOp drawElementList;
    UnusedHostEntry unused120;
    ElementListOp killElementList;
    UnusedHostEntry unused128[4];
    SendKeyEventOp sendKeyEvent;
    UnusedHostEntry unused148;
    ModuleVariableOp initializeModuleVariable;
    UnusedHostEntry unused156;
    ModuleVariableOp refreshModuleVariable;
    UnusedHostEntry unused164[10];
    NamedVariableNameOp lookupNamedVariable;
    NamedVariableNameOp registerNamedVariable;
    ReadNamedVariableOp readNamedVariable;
    UnusedHostEntry unused216;
    WriteNamedVariableOp writeNamedVariable;
};

#pragma pack(pop)

static_assert(sizeof(void*) == 4, "host records hold 4-byte addresses");

static_assert(sizeof(ModuleVariable) == 28);
static_assert(offsetof(ModuleVariable, varId) == 0);
static_assert(offsetof(ModuleVariable, varValue) == 12);

static_assert(sizeof(FailureList) == 8);

static_assert(sizeof(ElementHeader) == 60);
static_assert(offsetof(ElementHeader, elementKind) == 0);
static_assert(offsetof(ElementHeader, resourceId) == 4);
static_assert(offsetof(ElementHeader, positionX) == 8);
static_assert(offsetof(ElementHeader, positionY) == 12);
static_assert(offsetof(ElementHeader, gaugeHeader) == 32);
static_assert(offsetof(ElementHeader, children) == 40);
static_assert(offsetof(ElementHeader, failureList) == 44);
static_assert(offsetof(ElementHeader, imageFlags) == 48);
static_assert(offsetof(ElementHeader, reserved52) == 52);
static_assert(offsetof(ElementHeader, reserved56) == 56);

static_assert(sizeof(StaticImageElement) == 96);

static_assert(sizeof(StringElement) == 316);
static_assert(offsetof(StringElement, sources) == 60);
static_assert(offsetof(StringElement, sources) + sizeof(ModuleVariable) == 88);
static_assert(offsetof(StringElement, sources) + 2 * sizeof(ModuleVariable) == 116);
static_assert(offsetof(StringElement, textBuffer) == 184);
static_assert(offsetof(StringElement, widthPx) == 192);
static_assert(offsetof(StringElement, heightPx) == 196);
static_assert(offsetof(StringElement, textColour) == 208);
static_assert(offsetof(StringElement, backColour) == 212);
static_assert(offsetof(StringElement, highlightColour) == 216);
static_assert(offsetof(StringElement, fontName) == 248);
static_assert(offsetof(StringElement, fontWeight) == 280);
static_assert(offsetof(StringElement, fontCharset) == 284);
static_assert(offsetof(StringElement, textFormat) == 288);
static_assert(offsetof(StringElement, charCount) == 292);
static_assert(offsetof(StringElement, textCallback) == 312);

static_assert(sizeof(IconElement) == 136);
static_assert(offsetof(IconElement, source) == 60);
static_assert(offsetof(IconElement, imageCount) == 112);
static_assert(offsetof(IconElement, iconCallback) == 132);

static_assert(sizeof(MouseArea) == 44);
static_assert(offsetof(MouseArea, areaKind) == 0);
static_assert(offsetof(MouseArea, x) == 4);
static_assert(offsetof(MouseArea, y) == 8);
static_assert(offsetof(MouseArea, width) == 12);
static_assert(offsetof(MouseArea, height) == 16);
static_assert(offsetof(MouseArea, cursor) == 20);
static_assert(offsetof(MouseArea, helpId) == 24);
static_assert(offsetof(MouseArea, eventFlags) == 28);
static_assert(offsetof(MouseArea, eventId) == 32);
static_assert(offsetof(MouseArea, handler) == 36);
static_assert(offsetof(MouseArea, handlerData) == 40);

static_assert(sizeof(GaugeHeader) == gaugeHeaderBytesV800);
static_assert(offsetof(GaugeHeader, headerVersion) == 0);
static_assert(offsetof(GaugeHeader, gaugeName) == 4);
static_assert(offsetof(GaugeHeader, elementList) == 8);
static_assert(offsetof(GaugeHeader, queryRoutine) == 12);
static_assert(offsetof(GaugeHeader, installRoutine) == 16);
static_assert(offsetof(GaugeHeader, initializeRoutine) == 20);
static_assert(offsetof(GaugeHeader, updateRoutine) == 24);
static_assert(offsetof(GaugeHeader, generateRoutine) == 28);
static_assert(offsetof(GaugeHeader, drawRoutine) == 32);
static_assert(offsetof(GaugeHeader, killRoutine) == 36);
static_assert(offsetof(GaugeHeader, reserved40) == 40);
static_assert(offsetof(GaugeHeader, widthMm) == 44);
static_assert(offsetof(GaugeHeader, host48) == 48);
static_assert(offsetof(GaugeHeader, mouseAreas) == 80);
static_assert(offsetof(GaugeHeader, serviceCallback) == 84);
static_assert(offsetof(GaugeHeader, userData) == 88);
static_assert(offsetof(GaugeHeader, parameterText) == 92);
static_assert(offsetof(GaugeHeader, host96) == 96);
static_assert(gaugeHeaderBytesV700 > offsetof(GaugeHeader, parameterText));

static_assert(sizeof(Linkage) == 32);
static_assert(offsetof(Linkage, moduleId) == 0);
static_assert(offsetof(Linkage, initRoutine) == 4);
static_assert(offsetof(Linkage, deinitRoutine) == 8);
static_assert(offsetof(Linkage, moduleFlags) == 12);
static_assert(offsetof(Linkage, moduleVersion) == 16);
static_assert(offsetof(Linkage, hostVersion) == 20);
static_assert(offsetof(Linkage, gaugeList) == 24);

static_assert(sizeof(ImportTable) == 16);
static_assert(offsetof(ImportTable, panel) == 0);
static_assert(offsetof(ImportTable, listEnd) == 8);

static_assert(offsetof(HostPanelTable, queryElementList) == 96);
static_assert(offsetof(HostPanelTable, installElementList) == 100);
static_assert(offsetof(HostPanelTable, initializeElementList) == 104);
static_assert(offsetof(HostPanelTable, updateElementList) == 108);
static_assert(offsetof(HostPanelTable, generateElementList) == 112);
static_assert(offsetof(HostPanelTable, drawElementList) == 116);
static_assert(offsetof(HostPanelTable, unused120) == 120);
static_assert(offsetof(HostPanelTable, killElementList) == 124);
static_assert(offsetof(HostPanelTable, sendKeyEvent) == 144);
static_assert(offsetof(HostPanelTable, initializeModuleVariable) == 152);
static_assert(offsetof(HostPanelTable, refreshModuleVariable) == 160);
static_assert(offsetof(HostPanelTable, lookupNamedVariable) == 204);
static_assert(offsetof(HostPanelTable, registerNamedVariable) == 208);
static_assert(offsetof(HostPanelTable, readNamedVariable) == 212);
static_assert(offsetof(HostPanelTable, writeNamedVariable) == 220);
static_assert(sizeof(HostPanelTable) == 224);
