#include "Framework/Scene/CurveFile.h"

#include <cstdint>
#include <cstring>

namespace {

float ReadFloat(const unsigned char* at)
{
    const uint32_t bits = uint32_t(at[0]) | uint32_t(at[1]) << 8 | uint32_t(at[2]) << 16 | uint32_t(at[3]) << 24;
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

void WriteFloat(std::vector<unsigned char>& out, float value)
{
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<unsigned char>(bits >> shift));
}

} // namespace

std::vector<CurveKey> DecodeCurveKeys(const unsigned char* bytes, size_t size)
{
    std::vector<CurveKey> keys(size / CurveKeySize);
    for (size_t i = 0; i < keys.size(); ++i) {
        const unsigned char* at = bytes + i * CurveKeySize;
        keys[i] = CurveKey{ReadFloat(at), ReadFloat(at + 4), ReadFloat(at + 8), ReadFloat(at + 12)};
    }
    return keys;
}

std::vector<unsigned char> EncodeCurveKeys(const std::vector<CurveKey>& keys)
{
    std::vector<unsigned char> out;
    out.reserve(keys.size() * CurveKeySize);
    for (const CurveKey& key : keys) {
        WriteFloat(out, key.time);
        WriteFloat(out, key.value);
        WriteFloat(out, key.inSlope);
        WriteFloat(out, key.outSlope);
    }
    return out;
}
