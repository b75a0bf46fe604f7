// The chronometer's face as the host reads it: element records, string
// fields, failure list, mouse areas, time variables and bitmaps.
#include <windows.h>

#include <cstring>

#include "chronometer_panel.h"

namespace {

struct ElementFacts {
    const char* name;
    int32_t kind;
    int32_t resourceId;
    int32_t x, y;
    bool hasFailureList;
    uint32_t flagsAtLoad;
    int children;
};

// Parents first, in the order the tree nests them.
const ElementFacts elementFacts[] = {
    {"baseImage", elementStaticImage, 1, 0, 0, false, 0x3, 1},
    {"displayBacking", elementIcon, 2, 9, 17, true, 0x7, 1},
    {"bezelImage", elementIcon, 4, 0, 0, false, 0x83, 1},
    {"clockText", elementString, -1, 24, 34, true, 0x40000003, 1},
    {"flightTimeText", elementString, -1, 24, 34, true, 0x40000003, 1},
    {"elapsedTimeText", elementString, -1, 24, 34, true, 0x40000003, 3},
    {"upperText", elementString, -1, 25, 19, true, 0x3, 0},
    {"timeModeLabel", elementString, -1, 10, 33, true, 0x40000003, 0},
    {"timerModeLabel", elementString, -1, 10, 42, true, 0x40000003, 0},
};

int childCount(const ElementHeader* e) {
    int count = 0;
    if (e->children)
        while (e->children[count]) ++count;
    return count;
}

TEST(ChronometerFaceRecords, TreeAndElementHeaders) {
    HostedGauge hosted("Orlix", "", false);
    GaugeHeader* gauge = hosted.gauge.gauge;
    ASSERT_EQ(gauge->elementList[1], nullptr);
    std::vector<ElementHeader*> order;
    ElementHeader* e = gauge->elementList[0];
    for (int depth = 0; depth < 6; ++depth, e = e->children[0]) order.push_back(e);
    for (int i = 0; i < 3; ++i) order.push_back(order[5]->children[i]);
    ASSERT_EQ(order.size(), std::size(elementFacts));
    const FailureList* failures = order[1]->failureList;
    for (size_t i = 0; i < order.size(); ++i) {
        const ElementFacts& f = elementFacts[i];
        SCOPED_TRACE(f.name);
        EXPECT_EQ(order[i]->elementKind, f.kind);
        EXPECT_EQ(order[i]->resourceId, f.resourceId);
        EXPECT_EQ(order[i]->positionX, f.x);
        EXPECT_EQ(order[i]->positionY, f.y);
        EXPECT_EQ(order[i]->failureList, f.hasFailureList ? failures : nullptr);
        EXPECT_EQ(order[i]->imageFlags, f.flagsAtLoad);
        EXPECT_EQ(order[i]->gaugeHeader, gauge);
        EXPECT_EQ(childCount(order[i]), f.children);
        EXPECT_EQ(order[i]->reserved52 | order[i]->reserved56, 0u);
    }
    ASSERT_NE(failures, nullptr);
    EXPECT_EQ(failures[0].failureKey, 20);
    EXPECT_EQ(failures[0].failureAction, 3);
    EXPECT_EQ(failures[1].failureKey | failures[1].failureAction, 0);

    const auto* backing = reinterpret_cast<IconElement*>(order[1]);
    const auto* bezel = reinterpret_cast<IconElement*>(order[2]);
    EXPECT_EQ(backing->source.varId, 10);
    EXPECT_EQ(backing->imageCount, 3);
    EXPECT_NE(backing->iconCallback, nullptr);
    EXPECT_EQ(bezel->source.varId, 0);
    EXPECT_EQ(bezel->imageCount, 1);
    EXPECT_EQ(bezel->iconCallback, nullptr);
}

struct StringFacts {
    Face face;
    int32_t width, height, charCount;
    const char* font;
    uint32_t highlight;
    int32_t var1, var2, var3;
};

TEST(ChronometerFaceRecords, StringFields) {
    const StringFacts facts[] = {
        {Face::upperText, 35, 13, 5, "Quartz", 0x050505, 753, 341, 0},
        {Face::timeModeLabel, 18, 9, 3, "Arial Narrow", 0x050505, 0, 0, 0},
        {Face::timerModeLabel, 18, 9, 3, "Arial Narrow", 0x050505, 0, 0, 0},
        {Face::elapsedTimeText, 42, 16, 5, "Quartz", 0x080808, 336, 557, 1},
        {Face::flightTimeText, 42, 16, 5, "Quartz", 0x080808, 336, 60, 1},
        {Face::clockText, 42, 16, 5, "Quartz", 0x000000, 769, 773, 1},
    };
    ChronometerPanel p(false);
    for (const StringFacts& f : facts) {
        const StringElement* e = p.element(f.face);
        SCOPED_TRACE(f.font);
        EXPECT_EQ(e->widthPx, f.width);
        EXPECT_EQ(e->heightPx, f.height);
        EXPECT_EQ(e->charCount, f.charCount);
        EXPECT_STREQ(e->fontName, f.font);
        EXPECT_EQ(e->highlightColour, f.highlight);
        EXPECT_EQ(e->textColour, 0x050505u);
        EXPECT_EQ(e->backColour, 0u);
        EXPECT_EQ(e->fontWeight, 400);
        EXPECT_EQ(e->fontCharset, 1u);
        EXPECT_EQ(e->textFormat, 0x25u);
        EXPECT_EQ(e->sources[0].varId, f.var1);
        EXPECT_EQ(e->sources[1].varId, f.var2);
        EXPECT_EQ(e->sources[2].varId, f.var3);
        EXPECT_NE(e->textCallback, nullptr);
    }
}

TEST(ChronometerFaceRecords, MouseAreas) {
    const MouseArea expected[] = {
        {1, 0, 0, 0, 0, -1, 43798, 0},
        {2, 32, 2, 11, 9, 5, 0, 0x20000000},
        {2, 20, 60, 11, 10, 5, 0, 0x20000000},
        {2, 47, 60, 11, 10, 5, 0, 0x20200000},
        {2, 28, 32, 56, 20, 5, 0, 0x80000000},
        {3, 0, 0, 0, 0, -1, 0, 0},
        {0, 0, 0, 0, 0, -1, 0, 0},
    };
    HostedGauge hosted("Orlix", "", false);
    const MouseArea* areas = hosted.gauge.gauge->mouseAreas;
    for (size_t i = 0; i < std::size(expected); ++i) {
        SCOPED_TRACE(i + 1);
        const MouseArea& a = areas[i];
        const MouseArea& x = expected[i];
        EXPECT_EQ(a.areaKind, x.areaKind);
        EXPECT_EQ(a.x, x.x);
        EXPECT_EQ(a.y, x.y);
        EXPECT_EQ(a.width, x.width);
        EXPECT_EQ(a.height, x.height);
        EXPECT_EQ(a.cursor, x.cursor);
        EXPECT_EQ(a.helpId, x.helpId);
        EXPECT_EQ(a.eventFlags, x.eventFlags);
        EXPECT_EQ(a.eventId, 0u);
        EXPECT_EQ(a.handlerData, 0u);
        EXPECT_EQ(a.handler != nullptr, x.areaKind == mouseArea);
    }
}

TEST(ChronometerFaceRecords, UniversalTimeReachesTheDisplayThroughTheTimeVariables) {
    HostedGauge hosted("Orlix", "", false);
    setClockTime(hosted.host.variables.clock, 23, 59, 0);
    openPanel(hosted.host, hosted.gauge);
    hosted.cycles(1);
    // UT 23:59 reaches the display through variables 6 and 7.
    const auto* clock = reinterpret_cast<StringElement*>(
        hosted.gauge.gauge->elementList[0]->children[0]->children[0]->children[0]);
    EXPECT_EQ(elementText(hosted.host, clock), "23:59");
}

struct BitmapFacts {
    int id;
    LONG width, height;
    COLORREF window;  // a pixel inside the display window
    int x, y;
};

COLORREF pixelAt(const BYTE* bitmap, int x, int y) {
    BITMAPINFOHEADER info;
    std::memcpy(&info, bitmap, sizeof info);
    const auto* palette = reinterpret_cast<const RGBQUAD*>(bitmap + info.biSize);
    const int colours = info.biClrUsed ? int(info.biClrUsed) : 256;
    const BYTE* pixels = bitmap + info.biSize + colours * sizeof(RGBQUAD);
    const int stride = (int(info.biWidth) + 3) & ~3;
    const RGBQUAD c = palette[pixels[(info.biHeight - 1 - y) * stride + x]];
    return RGB(c.rgbRed, c.rgbGreen, c.rgbBlue);
}

TEST(ChronometerFaceRecords, BitmapsInBothLanguages) {
    const struct {
        WORD language;
        BitmapFacts bitmaps[5];
    } sets[] = {
        {MAKELANGID(LANG_RUSSIAN, SUBLANG_DEFAULT),
         {{1, 76, 76, RGB(105, 114, 84), 30, 30}, {1, 76, 76, RGB(0, 0, 0), 2, 2},
          {2, 59, 34, RGB(28, 28, 27), 30, 14}, {3, 59, 34, RGB(165, 109, 52), 30, 8},
          {4, 76, 76, RGB(0, 0, 0), 38, 30}}},
        {MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US),
         {{1, 76, 76, RGB(166, 202, 240), 30, 30}, {1, 76, 76, RGB(0, 0, 0), 2, 2},
          {2, 59, 34, RGB(166, 202, 240), 30, 8}, {3, 59, 34, RGB(166, 202, 240), 30, 8},
          {4, 76, 76, RGB(0, 0, 0), 38, 30}}},
    };
    HostedGauge hosted("Orlix", "", false);
    for (const auto& set : sets) {
        for (const BitmapFacts& b : set.bitmaps) {
            SCOPED_TRACE(::testing::Message() << "bitmap " << b.id << " language " << set.language);
            HRSRC found = FindResourceExA(hosted.gauge.module, MAKEINTRESOURCEA(2), MAKEINTRESOURCEA(b.id), set.language);
            ASSERT_NE(found, nullptr);
            const auto* bytes = static_cast<const BYTE*>(LockResource(LoadResource(hosted.gauge.module, found)));
            BITMAPINFOHEADER info;
            std::memcpy(&info, bytes, sizeof info);
            EXPECT_EQ(info.biWidth, b.width);
            EXPECT_EQ(info.biHeight, b.height);
            EXPECT_EQ(info.biBitCount, 8);
            EXPECT_EQ(pixelAt(bytes, b.x, b.y), b.window);
        }
    }
}

}  // namespace
