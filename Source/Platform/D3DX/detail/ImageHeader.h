// What an image file says about itself before any of it is decoded: its kind, size and sample
// depth, read by this code alone, so that a decoder only ever sees files of a kind, size and depth
// it is meant to handle.
#pragma once

#include <cstddef>
#include <cstdint>

enum class ImageKind { Png, Jpeg };

struct ImageHeader {
    ImageKind kind;
    uint32_t width;
    uint32_t height;
    // Bits per sample: 1, 2, 4, 8 or 16 for PNG (a legal pairing with its colour type), 8 for JPEG.
    uint32_t bitDepth;
};

// Throws D3DXDataError naming the fault: a kind other than PNG or JPEG (named when it is one of the
// common ones), a truncated or malformed header, a side of 0, a depth the kind does not allow, or
// a JPEG that is not 8-bit Huffman-coded grey or colour.
ImageHeader ReadImageHeader(const uint8_t* data, size_t size);
