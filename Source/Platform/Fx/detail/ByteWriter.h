// Little-endian writing of the compiled effect's fields.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace fx::detail {

class ByteWriter {
public:
    void U8(uint8_t value) { bytes.push_back(value); }
    void U32(uint32_t value)
    {
        for (int shift = 0; shift < 32; shift += 8)
            bytes.push_back(static_cast<unsigned char>(value >> shift));
    }
    void F32(float value)
    {
        uint32_t bits = 0;
        std::memcpy(&bits, &value, sizeof bits);
        U32(bits);
    }
    void String(const std::string& text)
    {
        U32(static_cast<uint32_t>(text.size()));
        bytes.insert(bytes.end(), text.begin(), text.end());
    }
    void Raw(const char* text, size_t size) { bytes.insert(bytes.end(), text, text + size); }

    std::vector<unsigned char> bytes;
};

} // namespace fx::detail
