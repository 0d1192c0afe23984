// The binary animation curve file: a bare array of 16-byte little-endian records (time, value,
// in slope, out slope as floats). Shared by the loader and the curve compiler.
#pragma once

#include <cstddef>
#include <vector>

struct CurveKey {
    float time = 0.0f;     // seconds
    float value = 0.0f;
    float inSlope = 0.0f;  // the slope with which a segment arrives at this key
    float outSlope = 0.0f; // the slope with which the segment leaving this key starts
};

constexpr size_t CurveKeySize = 16;

// size / 16 keys in file order; trailing bytes are ignored.
std::vector<CurveKey> DecodeCurveKeys(const unsigned char* bytes, size_t size);
std::vector<unsigned char> EncodeCurveKeys(const std::vector<CurveKey>& keys);
