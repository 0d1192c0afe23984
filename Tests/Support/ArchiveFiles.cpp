#include "Support/ArchiveFiles.h"

#include "Platform/Fx/CompiledEffect.h"
#include "Platform/Fx/EffectParser.h"

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

std::vector<unsigned char> Tga(unsigned width, unsigned height, const std::function<RgbPixel(unsigned, unsigned)>& pixel)
{
    // Uncompressed true colour, 32 bits, top-left origin with 8 alpha bits.
    std::vector<unsigned char> file = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                       static_cast<unsigned char>(width & 0xFF),
                                       static_cast<unsigned char>(width >> 8),
                                       static_cast<unsigned char>(height & 0xFF),
                                       static_cast<unsigned char>(height >> 8),
                                       32, 0x28};
    for (unsigned y = 0; y < height; ++y)
        for (unsigned x = 0; x < width; ++x) {
            const RgbPixel rgb = pixel(x, y);
            file.insert(file.end(), {rgb[2], rgb[1], rgb[0], 255});
        }
    return file;
}

std::vector<unsigned char> SolidTga(unsigned width, unsigned height, unsigned char r, unsigned char g, unsigned char b)
{
    return Tga(width, height, [&](unsigned, unsigned) { return RgbPixel{r, g, b}; });
}
