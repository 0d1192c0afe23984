// Image files made in memory for the tests: PNG with the tests' own writer, JPEG (and BMP and TGA,
// which the decoder refuses) with stb_image_write. Pixels are given top row first, channels in the
// file's order (grey, grey + alpha, RGB or RGBA).
#pragma once

#include <cstdint>
#include <vector>

using Bytes = std::vector<uint8_t>;

Bytes EncodePng(int width, int height, int channels, const Bytes& pixels);
Bytes EncodeBmp(int width, int height, int channels, const Bytes& pixels);
Bytes EncodeTga(int width, int height, int channels, const Bytes& pixels);
Bytes EncodeJpeg(int width, int height, int channels, const Bytes& pixels);

// A width x height RGBA image of one colour.
Bytes SolidRgba(int width, int height, uint8_t r, uint8_t g, uint8_t b, uint8_t a);
