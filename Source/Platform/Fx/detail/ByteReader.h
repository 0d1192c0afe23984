// Bounds-checked little-endian reading of compiled effect data: every read first checks that the
// bytes are there, and every count is checked against the bytes left before anything is
// allocated for it. Faults throw EffectError naming the data and the byte offset.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace fx::detail {

class ByteReader {
public:
    ByteReader(std::span<const unsigned char> bytes, const std::string& name) : bytes(bytes), name(name) {}

    uint8_t U8(const char* what);
    uint32_t U32(const char* what);
    float F32(const char* what);
    std::string String(const char* what);
    // A count of items that take at least minimumBytes each.
    uint32_t Count(size_t minimumBytes, const char* what);
    // A byte that must be 0 or 1.
    bool Bool(const char* what);

    size_t Offset() const { return offset; }
    bool AtEnd() const { return offset == bytes.size(); }
    [[noreturn]] void Fail(const std::string& fault) const;

private:
    void Need(size_t count, const char* what) const;

    std::span<const unsigned char> bytes;
    const std::string& name;
    size_t offset = 0;
};

} // namespace fx::detail
