// The binary ".track" file: a little-endian key count, then packed 9-byte records
// (row u32, value f32, interpolation i8). Shared by the loader and the track compiler.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct TrackRecord {
    uint32_t row = 0;
    float value = 0.0f;
    int8_t type = 0;
};

constexpr size_t TrackHeaderSize = 4;
constexpr size_t TrackRecordSize = 9;

// The records in file order. A count that claims more records than the bytes hold stops at the
// last whole record; bytes after the counted records are ignored.
std::vector<TrackRecord> DecodeTrackRecords(const unsigned char* bytes, size_t size);

std::vector<unsigned char> EncodeTrackRecords(const std::vector<TrackRecord>& records);
