// What every module shows the host: linkage, gauge header, the gauge routines'
// forwarding and the service ids it ignores.
#include <windows.h>

#include <cstring>

#include "gauge_test_support.h"

namespace {

struct ModuleFacts {
    const char* module;
    const char* gaugeName;
    uint32_t hostVersion;
    uint32_t headerVersion;
    uint32_t widthMm;
    bool hasMouseAreas;
};

const ModuleFacts moduleFacts[] = {
    {"TLO_sound", "xml_sound", 0x0900, 800, 20, false},
    {"Orlix", "D803", 0, 700, 76, true},
};

class ModuleFrame : public ::testing::TestWithParam<ModuleFacts> {};

TEST_P(ModuleFrame, LinkageAndHeaderHoldTheGivenValues) {
    const ModuleFacts& facts = GetParam();
    HostedGauge hosted(facts.module, "", false);
    const Linkage& linkage = *hosted.gauge.linkage;
    EXPECT_EQ(linkage.moduleId, 0x13u);
    EXPECT_EQ(linkage.moduleFlags, 0u);
    EXPECT_EQ(linkage.moduleVersion, 0u);
    EXPECT_EQ(linkage.hostVersion, facts.hostVersion);
    EXPECT_NE(linkage.initRoutine, nullptr);
    EXPECT_EQ(linkage.initRoutine, linkage.deinitRoutine);
    EXPECT_EQ(linkage.gaugeList[1], nullptr);

    const GaugeHeader& header = *linkage.gaugeList[0];
    EXPECT_STREQ(header.gaugeName, facts.gaugeName);
    EXPECT_EQ(header.headerVersion, facts.headerVersion);
    EXPECT_EQ(header.widthMm, facts.widthMm);
    EXPECT_EQ(header.reserved40, 0u);
    EXPECT_EQ(header.userData, 0u);
    EXPECT_EQ(header.mouseAreas != nullptr, facts.hasMouseAreas);
    EXPECT_NE(header.serviceCallback, nullptr);
    EXPECT_EQ(hosted.gauge.imports->listEnd.importId, 0u);
    EXPECT_EQ(hosted.gauge.imports->listEnd.tablePointer, nullptr);
    EXPECT_EQ(hosted.gauge.imports->panel.tablePointer, hostPanelTable());
}

TEST_P(ModuleFrame, GaugeRoutinesForwardTheRootElementAndTheirValue) {
    HostedGauge hosted(GetParam().module, "", false);
    GaugeHeader& header = *hosted.gauge.gauge;
    ElementHeader* root = header.elementList[0];
    hosted.host.calls.clear();
    header.queryRoutine();
    header.installRoutine(0xDEADBEEF);
    header.initializeRoutine();
    header.updateRoutine();
    header.generateRoutine(77);
    header.drawRoutine();
    header.killRoutine();

    const struct {
        const char* operation;
        double value;
    } expected[] = {{"query", 0},  {"install", double(0xDEADBEEF)}, {"initialize", 0}, {"update", 0},
                    {"generate", 77}, {"draw", 0}, {"kill", 0}};
    ASSERT_EQ(hosted.host.calls.size(), std::size(expected));
    for (size_t i = 0; i < std::size(expected); ++i) {
        SCOPED_TRACE(expected[i].operation);
        EXPECT_EQ(hosted.host.calls[i].operation, expected[i].operation);
        EXPECT_EQ(hosted.host.calls[i].value, expected[i].value);
        EXPECT_EQ(hosted.host.calls[i].element, root);
    }
}

// Ids the gauges do not act on must make no host call at all, before and
// after the gauge has configured itself.
TEST_P(ModuleFrame, IgnoredServiceIdsCallNothing) {
    ScratchFolder folder;
    HostedGauge hosted(GetParam().module);
    const uint32_t ignored[] = {0, 1, 2, 4, 5, 7, 8, 9, 11, 12, 13, 16, 17, 100, 0xFFFFFFFF};
    for (int round = 0; round < 2; ++round) {
        hosted.host.calls.clear();
        for (uint32_t id : ignored) hosted.service(id);
        EXPECT_TRUE(hosted.host.calls.empty()) << "round " << round << ": " << hosted.host.calls.front().operation;
        hosted.cycles(1);
    }
}

INSTANTIATE_TEST_SUITE_P(Modules, ModuleFrame, ::testing::ValuesIn(moduleFacts),
                         [](const auto& info) { return std::string(info.param.module); });

TEST(SoundGaugeFrame, HasOneBlackImageElement) {
    HostedGauge hosted("TLO_sound", "", false);
    GaugeHeader& header = *hosted.gauge.gauge;
    ASSERT_NE(header.elementList[0], nullptr);
    EXPECT_EQ(header.elementList[1], nullptr);
    const ElementHeader& image = *header.elementList[0];
    EXPECT_EQ(image.elementKind, elementStaticImage);
    EXPECT_EQ(image.resourceId, 256);
    EXPECT_EQ(image.positionX, 0);
    EXPECT_EQ(image.positionY, 0);
    EXPECT_EQ(image.gaugeHeader, &header);
    EXPECT_EQ(image.children, nullptr);
    EXPECT_EQ(image.failureList, nullptr);
    EXPECT_EQ(image.imageFlags, 0x83u);
}

TEST(SoundGaugeFrame, Bitmap256IsATenByTenBlackSquareWithAGreyPalette) {
    HostedGauge hosted("TLO_sound", "", false);
    HRSRC resource = FindResourceExA(hosted.gauge.module, MAKEINTRESOURCEA(2), MAKEINTRESOURCEA(256),
                                     MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
    ASSERT_NE(resource, nullptr);
    const auto* bytes = static_cast<const BYTE*>(LockResource(LoadResource(hosted.gauge.module, resource)));
    BITMAPINFOHEADER info;
    std::memcpy(&info, bytes, sizeof info);
    EXPECT_EQ(info.biWidth, 10);
    EXPECT_EQ(info.biHeight, 10);  // positive: bottom-up
    EXPECT_EQ(info.biBitCount, 8);
    EXPECT_EQ(info.biCompression, DWORD(BI_RGB));
    EXPECT_EQ(info.biXPelsPerMeter, 7874);
    EXPECT_EQ(info.biYPelsPerMeter, 7874);
    const RGBQUAD* palette = reinterpret_cast<const RGBQUAD*>(bytes + info.biSize);
    for (int i = 0; i < 256; ++i) {
        ASSERT_EQ(palette[i].rgbRed, i);
        ASSERT_EQ(palette[i].rgbGreen, i);
        ASSERT_EQ(palette[i].rgbBlue, i);
    }
    const BYTE* pixels = bytes + info.biSize + 256 * sizeof(RGBQUAD);
    const int stride = 12;
    for (int row = 0; row < 10; ++row) {
        for (int column = 0; column < 10; ++column) ASSERT_EQ(pixels[row * stride + column], 0);
    }
}

}  // namespace
