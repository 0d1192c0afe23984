#include "Demo/Capture/StillFile.h"

#include "Framework/FileSys/AtomicFile.h"
#include "Framework/FrameworkEx.h"

#include <stb/stb_image_write.h>

#include <vector>

void SaveStill(const GLImage& picture, const std::filesystem::path& path)
{
    // PNG wants red first; the read-back holds blue first.
    std::vector<uint8_t> rgba(picture.bgra.size());
    for (size_t i = 0; i + 3 < rgba.size(); i += 4) {
        rgba[i] = picture.bgra[i + 2];
        rgba[i + 1] = picture.bgra[i + 1];
        rgba[i + 2] = picture.bgra[i];
        rgba[i + 3] = 255;
    }
    AtomicFile output(path.string());
    const int width = static_cast<int>(picture.width);
    if (!stbi_write_png(output.TemporaryPath().c_str(), width, static_cast<int>(picture.height), 4, rgba.data(), width * 4))
        throw FrameworkEx("[SaveStill] \"" + path.string() + "\" cannot be written");
    output.Commit();
}
