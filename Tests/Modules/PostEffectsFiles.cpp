#include "PostEffectsFiles.h"

#include "Support/ArchiveFiles.h"

#include "sync/trackfile.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace {

const std::filesystem::path Shaders = std::filesystem::path(QL_SOURCE_DIR) / "Data" / "Shaders";

std::string ReadSource(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path.string());
    return std::string(std::istreambuf_iterator<char>(in), {});
}

} // namespace

std::vector<unsigned char> CompiledShowEffect(const std::string& fileName)
{
    std::map<std::string, std::string> includes;
    for (const auto& entry : std::filesystem::directory_iterator(Shaders))
        if (entry.path().extension() == ".fxh")
            includes[entry.path().filename().string()] = ReadSource(entry.path());
    return CompileEffect(ReadSource(Shaders / fileName), includes);
}

std::map<std::string, std::vector<unsigned char>> StillCameraTracks()
{
    std::map<std::string, std::vector<unsigned char>> tracks;
    for (const char* track : {"CamZOffset", "ShakeAmplitude", "ShakeSpeed", "ActiveCam"})
        tracks[std::string("Data\\sync_") + track + ".track"] = EncodeTrackRecords({{0, 0.0f, 0}});
    return tracks;
}
