#include "Platform/Fx/detail/ByteReader.h"

#include "Platform/Fx/EffectError.h"

#include <cstring>

namespace fx::detail {

void ByteReader::Fail(const std::string& fault) const
{
    throw EffectError(name, 0, fault + " (at byte " + std::to_string(offset) + ")");
}

void ByteReader::Need(size_t count, const char* what) const
{
    if (bytes.size() - offset < count)
        Fail(std::string("compiled effect is cut short: ") + what + " needs " + std::to_string(count) + " bytes, " +
             std::to_string(bytes.size() - offset) + " are left");
}

uint8_t ByteReader::U8(const char* what)
{
    Need(1, what);
    return bytes[offset++];
}

uint32_t ByteReader::U32(const char* what)
{
    Need(4, what);
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = value << 8 | bytes[offset + i];
    offset += 4;
    return value;
}

float ByteReader::F32(const char* what)
{
    const uint32_t bits = U32(what);
    float value = 0.0f;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

std::string ByteReader::String(const char* what)
{
    const uint32_t size = U32(what);
    Need(size, what);
    std::string text(reinterpret_cast<const char*>(bytes.data() + offset), size);
    offset += size;
    return text;
}

uint32_t ByteReader::Count(size_t minimumBytes, const char* what)
{
    const uint32_t count = U32(what);
    if (count > (bytes.size() - offset) / minimumBytes)
        Fail(std::string("compiled effect claims ") + std::to_string(count) + " " + what + ", more than its " +
             std::to_string(bytes.size() - offset) + " remaining bytes can hold");
    return count;
}

bool ByteReader::Bool(const char* what)
{
    const uint8_t value = U8(what);
    if (value > 1)
        Fail(std::string(what) + " is " + std::to_string(value) + ", not 0 or 1");
    return value == 1;
}

} // namespace fx::detail
