#include "gauge_renderer.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <set>

#include "element_walk.h"

namespace {

constexpr double nightDimming = 0.3;

std::string windowsPath(const std::string& unixPath) {
    std::string path = "Z:" + unixPath;
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

// A module bitmap as 0x00RRGGBB pixels, top row first.
struct ModuleBitmap {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
};

bool decodeBitmap(const BYTE* bytes, DWORD size, ModuleBitmap& bitmap) {
    if (size < sizeof(BITMAPINFOHEADER)) return false;
    BITMAPINFOHEADER info;
    std::memcpy(&info, bytes, sizeof info);
    if (info.biCompression != BI_RGB || (info.biBitCount != 8 && info.biBitCount != 24)) return false;
    const bool bottomUp = info.biHeight > 0;
    bitmap.width = int(info.biWidth);
    bitmap.height = int(std::abs(info.biHeight));
    const int colours = info.biBitCount == 8 ? (info.biClrUsed ? int(info.biClrUsed) : 256) : 0;
    const auto* palette = reinterpret_cast<const RGBQUAD*>(bytes + info.biSize);
    const BYTE* pixels = bytes + info.biSize + colours * sizeof(RGBQUAD);
    const int stride = ((bitmap.width * info.biBitCount + 31) / 32) * 4;
    if (pixels + size_t(stride) * size_t(bitmap.height) > bytes + size) return false;
    bitmap.pixels.resize(size_t(bitmap.width) * size_t(bitmap.height));
    for (int y = 0; y < bitmap.height; ++y) {
        const BYTE* row = pixels + size_t(stride) * size_t(bottomUp ? bitmap.height - 1 - y : y);
        for (int x = 0; x < bitmap.width; ++x) {
            uint32_t rgb;
            if (info.biBitCount == 8) {
                const RGBQUAD c = palette[std::min<int>(row[x], colours - 1)];
                rgb = (uint32_t(c.rgbRed) << 16) | (uint32_t(c.rgbGreen) << 8) | c.rgbBlue;
            } else {
                rgb = (uint32_t(row[3 * x + 2]) << 16) | (uint32_t(row[3 * x + 1]) << 8) | row[3 * x];
            }
            bitmap.pixels[size_t(y) * size_t(bitmap.width) + size_t(x)] = rgb;
        }
    }
    return true;
}

bool loadModuleBitmap(HMODULE module, int32_t id, LANGID preferred, ModuleBitmap& bitmap) {
    const LANGID other = preferred == bitmapLanguageRussian ? bitmapLanguageEnglish : bitmapLanguageRussian;
    HRSRC found = nullptr;
    for (LANGID language : {preferred, other})
        if (!found) found = FindResourceExA(module, MAKEINTRESOURCEA(2), MAKEINTRESOURCEA(id), language);
    if (!found) found = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(2));
    if (!found) return false;
    const auto* bytes = static_cast<const BYTE*>(LockResource(LoadResource(module, found)));
    return bytes && decodeBitmap(bytes, SizeofResource(module, found), bitmap);
}

uint32_t dim(uint32_t rgb) {
    auto channel = [](uint32_t v) { return uint32_t(std::lround(double(v & 0xFF) * nightDimming)); };
    return (channel(rgb >> 16) << 16) | (channel(rgb >> 8) << 8) | channel(rgb);
}

// Everything one drawing needs: the canvas, a device context over it.
struct Canvas {
    HDC dc = nullptr;
    HBITMAP section = nullptr;
    HGDIOBJ previous = nullptr;
    uint32_t* bits = nullptr;
    int width = 0;
    int height = 0;
};

bool openCanvas(Canvas& canvas, int width, int height) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    canvas.dc = CreateCompatibleDC(nullptr);
    if (!canvas.dc) return false;
    void* bits = nullptr;
    canvas.section = CreateDIBSection(canvas.dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!canvas.section) {
        DeleteDC(canvas.dc);
        return false;
    }
    canvas.previous = SelectObject(canvas.dc, canvas.section);
    canvas.bits = static_cast<uint32_t*>(bits);
    canvas.width = width;
    canvas.height = height;
    std::fill(canvas.bits, canvas.bits + size_t(width) * size_t(height), 0u);
    return true;
}

void closeCanvas(Canvas& canvas) {
    SelectObject(canvas.dc, canvas.previous);
    DeleteObject(canvas.section);
    DeleteDC(canvas.dc);
}

void drawBitmap(Canvas& canvas, const ModuleBitmap& bitmap, int left, int top, int scale, bool dimmed) {
    GdiFlush();
    for (int y = 0; y < bitmap.height * scale; ++y) {
        const int cy = top + y;
        if (cy < 0 || cy >= canvas.height) continue;
        for (int x = 0; x < bitmap.width * scale; ++x) {
            const int cx = left + x;
            if (cx < 0 || cx >= canvas.width) continue;
            const uint32_t rgb = bitmap.pixels[size_t(y / scale) * size_t(bitmap.width) + size_t(x / scale)];
            if (rgb == 0) continue;  // pure black is transparent
            canvas.bits[size_t(cy) * size_t(canvas.width) + size_t(cx)] = dimmed ? dim(rgb) : rgb;
        }
    }
}

COLORREF colourOf(uint32_t bgr, bool dimmed) {
    const uint32_t rgb = ((bgr & 0xFF) << 16) | (bgr & 0xFF00) | ((bgr >> 16) & 0xFF);
    const uint32_t shown = dimmed ? dim(rgb) : rgb;
    return RGB((shown >> 16) & 0xFF, (shown >> 8) & 0xFF, shown & 0xFF);
}

// The largest font of the family whose text fits the box.
HFONT fittingFont(HDC dc, const std::string& family, const StringElement* e, const std::string& text, int scale) {
    const int boxWidth = e->widthPx * scale;
    // Seven-segment digits fill their whole em: leave the box a margin.
    for (int height = e->heightPx * scale * 4 / 5; height > 1; --height) {
        HFONT font = CreateFontA(-height, 0, 0, 0, e->fontWeight, 0, 0, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                 CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY, DEFAULT_PITCH, family.c_str());
        HGDIOBJ old = SelectObject(dc, font);
        SIZE size = {};
        GetTextExtentPoint32A(dc, text.c_str(), int(text.size()), &size);
        SelectObject(dc, old);
        if (size.cx <= boxWidth) return font;
        DeleteObject(font);
    }
    return nullptr;
}

void drawText(Canvas& canvas, GaugeHost& host, const StringElement* e, const RenderOptions& options, bool dimmed) {
    const std::string text = elementText(host, e);
    if (text.empty()) return;
    auto mapped = options.fonts.find(e->fontName);
    const std::string family = mapped != options.fonts.end() ? mapped->second.family : std::string(e->fontName);
    HFONT font = fittingFont(canvas.dc, family, e, text, options.scale);
    if (!font) return;
    HGDIOBJ old = SelectObject(canvas.dc, font);
    SetBkMode(canvas.dc, TRANSPARENT);
    SetTextColor(canvas.dc, colourOf(e->textColour, dimmed));
    const int s = options.scale;
    RECT box = {e->header.positionX * s, e->header.positionY * s, (e->header.positionX + e->widthPx) * s,
                (e->header.positionY + e->heightPx) * s};
    DrawTextA(canvas.dc, text.c_str(), int(text.size()), &box, e->textFormat);
    SelectObject(canvas.dc, old);
    DeleteObject(font);
    GdiFlush();
}

int iconImage(GaugeHost& host, const IconElement* icon) {
    auto found = host.iconResults.find(icon);
    const double result = found == host.iconResults.end() ? 0.0 : found->second;
    const double last = std::max(icon->imageCount - 1, 0);
    return int(std::clamp(std::isnan(result) ? 0.0 : std::round(result), 0.0, last));
}

// Each font file is added to the process once, however many drawings follow.
void loadFonts(const RenderOptions& options) {
    static std::set<std::string> loaded;
    for (const auto& [name, choice] : options.fonts) {
        if (choice.file.empty() || !loaded.insert(choice.file).second) continue;
        AddFontResourceExA(windowsPath(choice.file).c_str(), FR_PRIVATE, nullptr);
    }
}

}  // namespace

std::map<std::string, FontChoice> RenderOptions::defaultFonts() {
    return {
        {"Quartz", {"DSEG7 Classic", "/usr/share/fonts/truetype/dseg/DSEG7Classic-Regular.ttf"}},
        {"Arial Narrow", {"Liberation Sans Narrow", "/usr/share/fonts/truetype/liberation/LiberationSansNarrow-Regular.ttf"}},
    };
}

bool renderGauge(GaugeHost& host, const LoadedGauge& loaded, const RenderOptions& options, RenderedImage& image,
                 std::string& error) {
    ElementHeader* root = loaded.gauge->elementList[0];
    ModuleBitmap base;
    if (!root || !loadModuleBitmap(loaded.module, root->resourceId, options.language, base)) {
        error = "the gauge's first element has no bitmap to size the face by";
        return false;
    }
    const int scale = std::clamp(options.scale, 1, 32);
    Canvas canvas;
    if (!openCanvas(canvas, base.width * scale, base.height * scale)) {
        error = "cannot create a drawing surface";
        return false;
    }
    loadFonts(options);
    forEachElement(root, [&](ElementHeader* e) {
        if (e->imageFlags & imageFlagHidden) return;
        const bool dimmed = options.night && !(e->imageFlags & imageFlagBright);
        if (e->elementKind == elementString) {
            drawText(canvas, host, reinterpret_cast<StringElement*>(e), options, dimmed);
            return;
        }
        int32_t id = e->resourceId;
        if (e->elementKind == elementIcon) id += iconImage(host, reinterpret_cast<IconElement*>(e));
        ModuleBitmap bitmap;
        if (loadModuleBitmap(loaded.module, id, options.language, bitmap))
            drawBitmap(canvas, bitmap, e->positionX * scale, e->positionY * scale, scale, dimmed);
    });
    GdiFlush();
    image.width = canvas.width;
    image.height = canvas.height;
    image.pixels.assign(canvas.bits, canvas.bits + size_t(canvas.width) * size_t(canvas.height));
    for (uint32_t& pixel : image.pixels) pixel &= 0x00FFFFFF;
    closeCanvas(canvas);
    return true;
}
