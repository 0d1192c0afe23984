#include "Support/PostEffectsBefore.h"

#include "Framework/FileSys/ArchiveWriter.h"
#include "Framework/FileSys/FileSys.h"
#include "Platform/Fx/CompiledEffect.h"
#include "Platform/Fx/EffectParser.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace {

const char* const ShowEffectEntry = "OShaders\\PostEffects.fxo";
const char* const EarlierCode = QL_SOURCE_DIR "Tests/Support/PostEffectsBefore.fx";

std::string ReadText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::vector<unsigned char> Entry(const std::string& archivePath, const std::map<std::string, FileSys::Entry>& directory,
                                 const std::string& name)
{
    const auto found = directory.find(name);
    if (found == directory.end())
        throw std::runtime_error(archivePath + " has no entry " + name);
    std::vector<unsigned char> bytes(found->second.unpackedSize);
    FileSys::InflateEntry(archivePath, name, found->second, bytes.data());
    return bytes;
}

std::vector<unsigned char> EarlierEffect(const std::vector<unsigned char>& compiled, const std::string& commonHeader)
{
    fx::EffectDescription effect = fx::LoadCompiledEffect("PostEffects.fx", compiled);
    const auto include = [&](const std::string& name) -> std::optional<std::string> {
        if (name == "common.fxh")
            return commonHeader;
        return std::nullopt;
    };
    const fx::EffectDescription earlier = fx::ParseEffect("PostEffectsBefore.fx", ReadText(EarlierCode), include);
    for (const fx::ShaderBlock& block : earlier.shaders) {
        if (block.name == "FullScreen")
            continue; // common.fxh's, the same in both
        const auto own = std::find_if(effect.shaders.begin(), effect.shaders.end(),
                                      [&](const fx::ShaderBlock& shader) { return shader.name == block.name; });
        if (own == effect.shaders.end())
            throw std::runtime_error(std::string(EarlierCode) + ": the show's PostEffects.fx has no block " + block.name);
        *own = block;
    }
    return fx::SaveCompiledEffect(effect);
}

} // namespace

std::vector<unsigned char> ShowArchiveWithPostEffectsBefore(const std::string& archivePath, const std::string& entryName)
{
    const std::map<std::string, FileSys::Entry> directory = FileSys::ReadDirectory(archivePath);
    const std::vector<unsigned char> common = Entry(archivePath, directory, "Shaders\\common.fxh");
    const std::vector<unsigned char> earlier =
        EarlierEffect(Entry(archivePath, directory, ShowEffectEntry), std::string(common.begin(), common.end()));

    ArchiveWriter writer;
    writer.Add(entryName, earlier);
    writer.AddEntriesOf(archivePath, {entryName});
    return writer.Build();
}
