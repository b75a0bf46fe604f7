// gaugehost's drawing of the chronometer: pixels that must hold in known
// states, not a picture of the whole face.
#include "chronometer_panel.h"
#include "gauge_renderer.h"

namespace {


constexpr uint32_t rgb(uint8_t r, uint8_t g, uint8_t b) { return (uint32_t(r) << 16) | (uint32_t(g) << 8) | b; }

RenderedImage render(ChronometerPanel& p, RenderOptions options = {}) {
    RenderedImage image;
    std::string error;
    EXPECT_TRUE(renderGauge(p.hosted.host, p.hosted.gauge, options, image, error)) << error;
    return image;
}

// Pixels in the lower display's text box that are not the display's colour.
int inkIn(const RenderedImage& image, int scale, uint32_t background) {
    int ink = 0;
    for (int y = 34 * scale; y < 50 * scale; ++y)
        for (int x = 24 * scale; x < 66 * scale; ++x) ink += image.at(x, y) != background;
    return ink;
}

TEST(Render, FaceHasTheDisplayColoursAndTransparentCorners) {
    ChronometerPanel p;
    const RenderedImage image = render(p);
    ASSERT_EQ(image.width, 76);
    ASSERT_EQ(image.height, 76);
    EXPECT_EQ(image.at(0, 0), 0u) << "pure black corners stay transparent";
    EXPECT_EQ(image.at(12, 20), rgb(105, 114, 84)) << "unlit LCD in the window";
    EXPECT_EQ(image.at(30, 31), rgb(28, 28, 27)) << "the divider row of bitmap 2";

}

TEST(Render, PanelLightsLightTheDisplayAmber) {
    ChronometerPanel p;
    p.setVar(panelLightsVar, 1.0);
    p.cycles(1);
    EXPECT_EQ(render(p).at(12, 20), rgb(165, 109, 52));
    p.setVar(panelLightsVar, 0.0);
    p.cycles(1);
    EXPECT_EQ(render(p).at(12, 20), rgb(105, 114, 84));
}

TEST(Render, HiddenTextsAreNotDrawn) {
    ChronometerPanel p(false);
    const uint32_t lcd = rgb(105, 114, 84);
    EXPECT_EQ(inkIn(render(p), 1, lcd), 0) << "before the first cycle every lower text is hidden";
    p.cycles(1);
    EXPECT_GT(inkIn(render(p), 1, lcd), 20) << "UT is drawn";
}

TEST(Render, ScaleAndLanguageAndNight) {
    ChronometerPanel p;
    RenderOptions options;
    options.scale = 3;
    options.language = bitmapLanguageEnglish;
    const RenderedImage english = render(p, options);
    ASSERT_EQ(english.width, 228);
    EXPECT_EQ(english.at(12 * 3 + 1, 20 * 3 + 1), rgb(166, 202, 240));

    options.night = true;
    options.scale = 1;
    options.language = bitmapLanguageRussian;
    p.setVar(panelLightsVar, 1.0);
    p.cycles(1);
    const RenderedImage night = render(p, options);
    EXPECT_EQ(night.at(12, 20), rgb(165, 109, 52)) << "the lit backing carries the bright bit";
    EXPECT_NE(night.at(38, 3), render(p).at(38, 3)) << "the bezel has none and is dimmed";
    p.setVar(panelLightsVar, 0.0);
    p.cycles(1);
    EXPECT_NE(render(p, options).at(12, 20), rgb(105, 114, 84)) << "unlit at night, the display is dim";
}

}  // namespace
