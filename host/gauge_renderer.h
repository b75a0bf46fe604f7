// Draws a gauge's element tree as the simulator would: the module's own
// bitmaps with pure black transparent, icons by their callback's result,
// string elements' texts in their boxes and fonts, hidden elements skipped.
#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "gauge_host.h"

// A font the host draws a requested face name with: a family, and the file
// to load it from when the system does not have it.
struct FontChoice {
    std::string family;
    std::string file;
};

struct RenderOptions {
    int scale = 1;
    bool night = false;  // elements without the bright bit are drawn dimmed
    // Bitmap language tried first; the other one when it is missing.
    LANGID language = MAKELANGID(LANG_RUSSIAN, SUBLANG_DEFAULT);
    std::map<std::string, FontChoice> fonts = defaultFonts();

    static std::map<std::string, FontChoice> defaultFonts();
};

// Pixels as 0x00RRGGBB, top row first.
struct RenderedImage {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;

    uint32_t at(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
};

constexpr LANGID bitmapLanguageRussian = MAKELANGID(LANG_RUSSIAN, SUBLANG_DEFAULT);
constexpr LANGID bitmapLanguageEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);

bool renderGauge(GaugeHost& host, const LoadedGauge& loaded, const RenderOptions& options, RenderedImage& image,
                 std::string& error);
bool writePng(const RenderedImage& image, const std::string& path, std::string& error);
