#include "Platform/Gfx/GLPicture.h"

#include <gtest/gtest.h>
#include <stb/stb_image_write.h>

D3DCOLOR PixelAt(const GLImage& image, UINT x, UINT y)
{
    const uint8_t* pixel = &image.bgra[(size_t{y} * image.width + x) * 4];
    return D3DCOLOR_ARGB(pixel[3], pixel[2], pixel[1], pixel[0]);
}

std::string SavePng(const GLImage& image, const std::string& name)
{
    std::vector<uint8_t> rgba(image.bgra.size());
    for (size_t i = 0; i < rgba.size(); i += 4) {
        rgba[i] = image.bgra[i + 2];
        rgba[i + 1] = image.bgra[i + 1];
        rgba[i + 2] = image.bgra[i];
        rgba[i + 3] = image.bgra[i + 3];
    }
    const std::string path = std::string(QL_GL_TEST_OUTPUT) + "/" + name;
    const int width = static_cast<int>(image.width);
    EXPECT_NE(stbi_write_png(path.c_str(), width, static_cast<int>(image.height), 4, rgba.data(), width * 4), 0)
        << path;
    return path;
}
