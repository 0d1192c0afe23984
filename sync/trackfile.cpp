#include "sync/trackfile.h"

#include <algorithm>
#include <cstring>

namespace {

uint32_t ReadU32(const unsigned char* at)
{
    return uint32_t(at[0]) | uint32_t(at[1]) << 8 | uint32_t(at[2]) << 16 | uint32_t(at[3]) << 24;
}

void WriteU32(std::vector<unsigned char>& out, uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<unsigned char>(value >> shift));
}

} // namespace

std::vector<TrackRecord> DecodeTrackRecords(const unsigned char* bytes, size_t size)
{
    std::vector<TrackRecord> records;
    if (size < TrackHeaderSize)
        return records;
    const size_t claimed = ReadU32(bytes);
    const size_t held = (size - TrackHeaderSize) / TrackRecordSize;
    const size_t count = std::min(claimed, held);
    records.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        const unsigned char* at = bytes + TrackHeaderSize + i * TrackRecordSize;
        TrackRecord record;
        record.row = ReadU32(at);
        const uint32_t bits = ReadU32(at + 4);
        std::memcpy(&record.value, &bits, sizeof bits);
        record.type = static_cast<int8_t>(at[8]);
        records.push_back(record);
    }
    return records;
}

std::vector<unsigned char> EncodeTrackRecords(const std::vector<TrackRecord>& records)
{
    std::vector<unsigned char> out;
    out.reserve(TrackHeaderSize + records.size() * TrackRecordSize);
    WriteU32(out, static_cast<uint32_t>(records.size()));
    for (const TrackRecord& record : records) {
        WriteU32(out, record.row);
        uint32_t bits = 0;
        std::memcpy(&bits, &record.value, sizeof bits);
        WriteU32(out, bits);
        out.push_back(static_cast<unsigned char>(record.type));
    }
    return out;
}
