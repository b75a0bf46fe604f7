// PNG output through the well-kept single-header writer.
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO_CHECK
#include <stb_image_write.h>

#include "gauge_renderer.h"

bool writePng(const RenderedImage& image, const std::string& path, std::string& error) {
    std::vector<uint8_t> rgb;
    rgb.reserve(image.pixels.size() * 3);
    for (uint32_t pixel : image.pixels) {
        rgb.push_back(uint8_t(pixel >> 16));
        rgb.push_back(uint8_t(pixel >> 8));
        rgb.push_back(uint8_t(pixel));
    }
    if (stbi_write_png(path.c_str(), image.width, image.height, 3, rgb.data(), image.width * 3)) return true;
    error = "cannot write " + path;
    return false;
}
