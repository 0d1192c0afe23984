#include "Support/ArchiveFiles.h"

#include "Platform/Fx/CompiledEffect.h"
#include "Platform/Fx/EffectParser.h"

#include <zlib.h>

#include <stdexcept>

std::vector<unsigned char> CompileEffect(const std::string& source, const std::map<std::string, std::string>& includes)
{
    const auto include = [&](const std::string& name) -> std::optional<std::string> {
        const auto found = includes.find(name);
        if (found == includes.end())
            return std::nullopt;
        return found->second;
    };
    return fx::SaveCompiledEffect(fx::ParseEffect("effect.fx", source, include));
}

namespace {

void AppendBigEndian32(std::vector<unsigned char>& out, uint32_t value)
{
    out.insert(out.end(), {static_cast<unsigned char>(value >> 24), static_cast<unsigned char>(value >> 16),
                           static_cast<unsigned char>(value >> 8), static_cast<unsigned char>(value)});
}

void AppendChunk(std::vector<unsigned char>& out, const char* type, const std::vector<unsigned char>& data)
{
    AppendBigEndian32(out, static_cast<uint32_t>(data.size()));
    const size_t typeAt = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    AppendBigEndian32(out, static_cast<uint32_t>(crc32(0, out.data() + typeAt, static_cast<uInt>(out.size() - typeAt))));
}

} // namespace

std::vector<unsigned char> EncodePngRows(unsigned width, unsigned height, int colourType, int bitDepth,
                                         const std::vector<unsigned char>& rows)
{
    const size_t rowBytes = rows.size() / height;
    std::vector<unsigned char> filtered; // filter type 0 (none) in front of every row
    for (unsigned y = 0; y < height; ++y) {
        filtered.push_back(0);
        filtered.insert(filtered.end(), rows.begin() + std::ptrdiff_t(y * rowBytes),
                        rows.begin() + std::ptrdiff_t((y + 1) * rowBytes));
    }
    uLongf packedSize = compressBound(filtered.size());
    std::vector<unsigned char> packed(packedSize);
    if (compress(packed.data(), &packedSize, filtered.data(), filtered.size()) != Z_OK)
        throw std::runtime_error("the test image could not be compressed");
    packed.resize(packedSize);

    std::vector<unsigned char> header;
    AppendBigEndian32(header, width);
    AppendBigEndian32(header, height);
    header.insert(header.end(), {static_cast<unsigned char>(bitDepth), static_cast<unsigned char>(colourType), 0, 0, 0});
    std::vector<unsigned char> file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    AppendChunk(file, "IHDR", header);
    AppendChunk(file, "IDAT", packed);
    AppendChunk(file, "IEND", {});
    return file;
}

std::vector<unsigned char> Png(unsigned width, unsigned height, const std::function<RgbPixel(unsigned, unsigned)>& pixel)
{
    std::vector<unsigned char> rows;
    for (unsigned y = 0; y < height; ++y)
        for (unsigned x = 0; x < width; ++x) {
            const RgbPixel rgb = pixel(x, y);
            rows.insert(rows.end(), rgb.begin(), rgb.end());
        }
    return EncodePngRows(width, height, 2, 8, rows);
}

std::vector<unsigned char> SolidPng(unsigned width, unsigned height, unsigned char r, unsigned char g, unsigned char b)
{
    return Png(width, height, [&](unsigned, unsigned) { return RgbPixel{r, g, b}; });
}
