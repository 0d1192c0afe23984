#include "Demo/Capture/StillFile.h"

#include "Framework/FileSys/AtomicFile.h"
#include "Framework/FrameworkEx.h"

#include <stb/stb_image_write.h>

#include <vector>

void SaveStill(const ReadBackImage& picture, const std::filesystem::path& path)
{
    // PNG wants red first; the read-back holds blue first.
    std::vector<uint8_t> rgba(picture.bgra.size());
    for (size_t i = 0; i + 3 < rgba.size(); i += 4) {
        rgba[i] = picture.bgra[i + 2];
        rgba[i + 1] = picture.bgra[i + 1];
        rgba[i + 2] = picture.bgra[i];
        rgba[i + 3] = 255;
    }
    // Encoded in memory and written through the output, so that every write is checked (stb's
    // own file writer does not check them).
    std::vector<unsigned char> png;
    const auto append = [](void* context, void* data, int size) {
        auto& bytes = *static_cast<std::vector<unsigned char>*>(context);
        bytes.insert(bytes.end(), static_cast<unsigned char*>(data), static_cast<unsigned char*>(data) + size);
    };
    const int width = static_cast<int>(picture.width);
    if (!stbi_write_png_to_func(append, &png, width, static_cast<int>(picture.height), 4, rgba.data(), width * 4))
        throw FrameworkEx("[SaveStill] \"" + path.string() + "\" cannot be encoded");
    AtomicFile output(path.string());
    output.Write(png.data(), png.size());
    output.Commit();
}
